#include "cli/Cli.h"

#include <QCoreApplication>
#include <QGuiApplication>

int main(int argc, char **argv)
{
    // Printouts render with the GUI module's fonts; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    QTextStream out(stdout);
    QTextStream err(stderr);
    return runCli(args, QCoreApplication::applicationDirPath(), out, err);
}
