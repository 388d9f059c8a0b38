#include "app/gui/TarvidoApp.h"

#include "data/Tdm.h"
#include "data/gui/QtUi.h"

#include <QApplication>
#include <QDir>

int runTarvido(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvido"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tarvido"));
    QtUi qtUi;
    setUi(&qtUi);
    Tdm data(QCoreApplication::applicationDirPath());
    dm = &data;
    const int rc = 0;
    dm = nullptr;
    return rc;
}
