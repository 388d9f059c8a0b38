#include "cli/Cli.h"

#include "cli/Commands.h"
#include "cli/ConsoleUi.h"

#include <QDir>

int runCli(const QStringList &argsIn, const QString &defaultRoot, QTextStream &out, QTextStream &err)
{
    QStringList args = argsIn;
    QString root = defaultRoot;
    if (!args.isEmpty() && args.first() == QLatin1String("--root")) {
        if (args.size() < 2) {
            err << "uso: tarvido-cli [--root CARTELLA] COMANDO ..." << Qt::endl;
            return 2;
        }
        root = args.at(1);
        args.remove(0, 2);
    }
    root = QDir(root).absolutePath() + QLatin1Char('/');
    const auto commands = allCommands();
    if (args.isEmpty()) {
        err << "uso: tarvido-cli [--root CARTELLA] COMANDO ...\ncomandi:" << Qt::endl;
        for (const auto &c : commands)
            err << "  " << c->name() << ' ' << c->usage() << Qt::endl;
        return 2;
    }
    const QString name = args.takeFirst();
    for (const auto &c : commands) {
        if (c->name() == name) {
            ConsoleUi console(err);
            Ui *previous = &ui();
            setUi(&console);
            CliContext context{root, out, err};
            int rc = 1;
            try {
                rc = c->execute(args, context);
            } catch (const std::exception &e) {
                err << QString::fromUtf8(e.what()) << Qt::endl;
                rc = 1;
            }
            setUi(previous);
            out.flush();
            err.flush();
            return rc;
        }
    }
    err << "comando sconosciuto: " << name << Qt::endl;
    return 2;
}
