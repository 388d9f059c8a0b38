// Lays out the table files of a data folder: missing working tables empty, missing reference
// tables filled from the delivered lists. Existing files are left as they are.
#include "data/Schema.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() != 3) {
        err << "uso: tarvido-mkdata CARTELLA_DATI CARTELLA_RISORSE" << Qt::endl;
        return 2;
    }
    try {
        const QStringList created = Schema::layOutDataFolder(args.at(1), args.at(2));
        for (const QString &f : created)
            QTextStream(stdout) << "creato " << f << Qt::endl;
    } catch (const std::exception &e) {
        err << QString::fromUtf8(e.what()) << Qt::endl;
        return 1;
    }
    return 0;
}
