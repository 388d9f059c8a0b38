#include "app/gui/TarvidoApp.h"

#include "app/gui/TdlgAboutBox.h"
#include "app/gui/Tfrmmain.h"
#include "data/Tdm.h"
#include "data/gui/QtUi.h"
#include "data/gui/TdlgTableRepairProgress.h"

#include <QApplication>
#include <QDateTime>
#include <QLabel>
#include <QProxyStyle>
#include <QTextStream>
#include <QTimer>

namespace {

// Tooltips show after a second and stay for a minute.
class TarvidoStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget, QStyleHintReturn *returnData) const override
    {
        if (hint == SH_ToolTip_WakeUpDelay)
            return 1000;
        if (hint == SH_ToolTip_FallAsleepDelay)
            return 60000;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

int runTarvido(int argc, char **argv)
{
    QApplication app(argc, argv);
    // For the start-up benchmark: prints when the splash box and the main window are painted
    // (milliseconds since the epoch), skips the start-up waits and ends once the window is up.
    const bool measure = QCoreApplication::arguments().contains(QStringLiteral("--misura-avvio"));
    auto stamp = [](const char *what) {
        QTextStream(stdout) << what << ' ' << QDateTime::currentMSecsSinceEpoch() << Qt::endl;
    };
    QApplication::setApplicationName(QStringLiteral("Tarvido"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tarvido"));
    QApplication::setStyle(new TarvidoStyle);
    QtUi qtUi;
    setUi(&qtUi);

    auto *splash = new TdlgAboutBox;
    splash->ver->setText(QStringLiteral("Versione: %1").arg(QLatin1String(ProgramVersion)));
    splash->lChiudi->hide();
    splash->show();
    splash->repaint();
    QApplication::processEvents();
    if (measure)
        stamp("splash");

    Tdm::repairObserverFactory = [] { return std::make_unique<TdlgTableRepairProgress>(); };
    int rc = 0;
    {
        Tdm data(QCoreApplication::applicationDirPath());
        dm = &data;
        {
            Tfrmmain main;
            main.setSplash(splash);
            if (measure) {
                main.setStartupWait(0);
                QTimer::singleShot(0, &main, [&] {
                    main.repaint();
                    stamp("finestra");
                    QCoreApplication::exit(0);
                });
            }
            main.showMaximized();
            rc = app.exec();
        }
        dm = nullptr;
    }
    return rc;
}
