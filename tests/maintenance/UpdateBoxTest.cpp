#include "data/Globals.h"
#include "data/Tdm.h"
#include "maintenance/RunOnExit.h"
#include "maintenance/Updater.h"
#include "maintenance/gui/ServiceActions.h"
#include "maintenance/gui/TdlgUpdateBox.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/Printers.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/Shots.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const QString infoPath = QStringLiteral("/swupdates/Tarvido/release.inf");

QByteArray sha(const QByteArray &data)
{
    return QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex();
}

// Notes how deep the hourglass is at each message, so the order "cursor first, then message" shows.
class CursorAtMessage final : public Ui
{
public:
    explicit CursorAtMessage(ScriptedUi &inner) : m_inner(inner), m_previous(&ui()) { setUi(this); }
    ~CursorAtMessage() override { setUi(m_previous); }
    QList<int> depths;

    void showMessage(const QString &text) override
    {
        depths << m_inner.busyDepth;
        m_inner.showMessage(text);
    }
    void messageBox(const QString &c, const QString &t, Icon i) override { m_inner.messageBox(c, t, i); }
    bool askYesNo(const QString &c, const QString &t, Icon i, bool d) override
    {
        depths << m_inner.busyDepth;
        return m_inner.askYesNo(c, t, i, d);
    }
    bool askOkCancel(const QString &c, const QString &t, Icon i) override { return m_inner.askOkCancel(c, t, i); }
    void showError(const QString &t) override { m_inner.showError(t); }
    QString openFileName(const QString &c, const QString &f, const QString &x) override { return m_inner.openFileName(c, f, x); }
    QString saveFileName(const QString &c, const QString &f, const QString &x) override { return m_inner.saveFileName(c, f, x); }
    void setBusy(bool busy) override { m_inner.setBusy(busy); }
    void processEvents() override { m_inner.processEvents(); }
    bool openUrl(const QUrl &url) override { return m_inner.openUrl(url); }
    void previewReport(const Report &report) override { m_inner.previewReport(report); }

private:
    ScriptedUi &m_inner;
    Ui *m_previous;
};

struct UpdateBoxFixture : ::testing::Test
{
    ScriptedUi sui;
    CursorAtMessage cursor{sui};
    LoopbackHttpServer server;
    ProgramFolder folder;
    QTemporaryDir downloads;
    std::unique_ptr<Tdm> data;
    QWidget mainWindow;

    void SetUp() override
    {
        UpdateStarted = false;
        configure(server.base());
        data = std::make_unique<Tdm>(folder.path(), false);
        dm = data.get();
        mainWindow.show();
    }
    void TearDown() override
    {
        RunOnExit::cancel();
        UpdateStarted = false;
        data.reset();
        dm = nullptr;
    }
    void configure(const QString &serverAddress)
    {
        QFile ini(folder.file("TARVIDO.INI"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        if (!serverAddress.isEmpty())
            ini.write("[AGGIORNAMENTI]\r\nSERVER=" + serverAddress.toUtf8() + "\r\n");
    }
    std::unique_ptr<TdlgUpdateBox> dialog()
    {
        auto dlg = std::make_unique<TdlgUpdateBox>(&mainWindow);
        dlg->aup1()->setInfoTimeout(800);
        dlg->aup1()->setHttpsProbeTimeout(800);
        dlg->aup1()->setStallTimeout(800);
        dlg->aup1()->setDownloadFolder(downloads.path());
        dlg->show();
        return dlg;
    }
    static QPushButton *button(QWidget *dlg, const char *name) { return dlg->findChild<QPushButton *>(QLatin1String(name)); }
    // Clicks "Avvia Verifica" and waits until the check has ended.
    void check(TdlgUpdateBox *dlg)
    {
        QSignalSpy done(dlg->aup1(), &Updater::finished);
        QTest::mouseClick(button(dlg, "bVerifica"), Qt::LeftButton);
        ASSERT_TRUE(done.wait(10000)) << "the check did not end";
    }
};

TEST_F(UpdateBoxFixture, ControlsAndTexts)
{
    auto dlg = dialog();
    EXPECT_EQ(dlg->windowTitle(), "Aggiornamento via Internet");
    auto *label = dlg->findChild<QLabel *>("Label1");
    ASSERT_TRUE(label);
    EXPECT_EQ(label->text(), "Il programma proverà a contattare il Server Ilvant degli aggiornamenti per vedere se esiste una "
                             "versione più aggiornata del software.");
    EXPECT_EQ(button(dlg.get(), "bVerifica")->text(), "Avvia Verifica");
    EXPECT_EQ(button(dlg.get(), "buscita")->text(), "Uscita");
    auto *bar = dlg->findChild<QProgressBar *>("ProgressBar1");
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 100);
    QTest::qWait(50);
    saveShot(dlg.get(), "update-dialog");
    QTest::mouseClick(button(dlg.get(), "buscita"), Qt::LeftButton);
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
    EXPECT_FALSE(dlg->isVisible());
}

TEST_F(UpdateBoxFixture, EachOutcomeShowsItsMessageAfterTheCursorIsBack)
{
    struct Case
    {
        const char *name;
        std::function<void()> serve;
        QString message;
    };
    const Case cases[] = {
        {"no update", [&] { server.file(infoPath, "[Tarvido]\nVersion=8.9\n"); },
         "Al momento nessun aggiornamento è disponibile per questo prodotto."},
        {"no info file", [&] {},
         "Nessuna informazione di aggiornamento è stata trovata sul server. Si consiglia di riprovare più tardi"},
        {"unreachable", [&] { configure(QStringLiteral("http://127.0.0.1:%1").arg(LoopbackHttpServer::closedPort())); },
         "Impossibile connettersi al server degli aggiornamenti. Si consiglia di riprovare più tardi"},
        {"slow server", [&] { server.route(infoPath, {200, {}, {}, LoopbackHttpServer::Mode::Silent, 50}); },
         "Impossibile connettersi al server degli aggiornamenti. Si consiglia di riprovare più tardi"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        server.clearRoutes();
        configure(server.base());
        c.serve();
        sui.clear();
        cursor.depths.clear();
        sui.maxBusyDepth = 0;
        auto dlg = dialog();
        check(dlg.get());
        EXPECT_EQ(sui.texts(), QStringList{c.message});
        EXPECT_EQ(cursor.depths, QList<int>{0});
        EXPECT_EQ(sui.maxBusyDepth, 1);
        EXPECT_EQ(sui.busyDepth, 0);
        EXPECT_TRUE(dlg->isVisible());
        // The dialog stays usable: the check runs again.
        check(dlg.get());
        EXPECT_EQ(sui.texts(), (QStringList{c.message, c.message}));
        EXPECT_EQ(sui.busyDepth, 0);
    }
    EXPECT_FALSE(UpdateStarted);
}

TEST_F(UpdateBoxFixture, SecondClickWhileCheckingStartsNothing)
{
    server.route(infoPath, {200, {}, {}, LoopbackHttpServer::Mode::Silent, 50});
    auto dlg = dialog();
    QSignalSpy done(dlg->aup1(), &Updater::finished);
    QTest::mouseClick(button(dlg.get(), "bVerifica"), Qt::LeftButton);
    QTest::qWait(200);
    QTest::mouseClick(button(dlg.get(), "bVerifica"), Qt::LeftButton);
    QTest::mouseClick(button(dlg.get(), "bVerifica"), Qt::LeftButton);
    ASSERT_TRUE(done.wait(10000));
    QTest::qWait(200);
    EXPECT_EQ(done.size(), 1);
    EXPECT_EQ(server.count(infoPath), 1);
    EXPECT_EQ(sui.maxBusyDepth, 1);
    EXPECT_EQ(sui.busyDepth, 0);
    EXPECT_EQ(sui.texts().size(), 1);
}

TEST_F(UpdateBoxFixture, NoServerConfiguredSaysSoWithoutChecking)
{
    configure(QString());
    auto dlg = dialog();
    QTest::mouseClick(button(dlg.get(), "bVerifica"), Qt::LeftButton);
    EXPECT_EQ(sui.texts(), QStringList{Updater::notConfiguredMessage()});
    EXPECT_FALSE(dlg->aup1()->isRunning());
    EXPECT_EQ(sui.maxBusyDepth, 0);
}

TEST_F(UpdateBoxFixture, DeclinedQuestionLeavesEverythingAsItWas)
{
    server.file("/swupdates/Tarvido/setup.exe", "x");
    server.file(infoPath, "[Tarvido]\nVersion=8.15\nMessage=Correzioni al tracciato\n[File1]\nURL=setup.exe\nSHA256=" + sha("x") + "\n");
    sui.answers.enqueue(false);
    auto dlg = dialog();
    check(dlg.get());
    ASSERT_EQ(sui.texts("question").size(), 1);
    EXPECT_TRUE(sui.texts("question").first().contains("Correzioni al tracciato"));
    EXPECT_EQ(cursor.depths, QList<int>{0}) << "the question comes with the normal cursor";
    EXPECT_TRUE(sui.texts("message").isEmpty());
    EXPECT_EQ(server.count("/swupdates/Tarvido/setup.exe"), 0);
    EXPECT_FALSE(UpdateStarted);
    EXPECT_EQ(sui.busyDepth, 0);
    EXPECT_TRUE(RunOnExit::pending().isEmpty());
}

TEST_F(UpdateBoxFixture, RejectedChecksumAbortsAndResetsTheBar)
{
    server.file("/swupdates/Tarvido/setup.exe", "a setup that someone swapped");
    server.file(infoPath, "[Tarvido]\nVersion=8.15\n[File1]\nURL=setup.exe\nSHA256=" + sha("the real setup") + "\n");
    sui.answers.enqueue(true);
    auto dlg = dialog();
    check(dlg.get());
    EXPECT_EQ(sui.texts("message"), QStringList{"Operazione di aggiornamento interrotta"});
    EXPECT_EQ(dlg->findChild<QProgressBar *>("ProgressBar1")->value(), 0);
    EXPECT_TRUE(UpdateStarted) << "set when the download began";
    EXPECT_TRUE(RunOnExit::pending().isEmpty()) << "nothing unverified is run";
    EXPECT_FALSE(QFile::exists(downloads.filePath("setup.exe")));
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_TRUE(mainWindow.isVisible());
}

TEST_F(UpdateBoxFixture, VerifiedDownloadHandsOverAndClosesTheMainWindow)
{
    // The "setup program" leaves a mark when it runs.
    const QByteArray setup = "#!/bin/sh\necho eseguito > \"$(dirname \"$0\")/eseguito.txt\"\n";
    server.file("/swupdates/Tarvido/setup.sh", setup);
    server.file(infoPath, "[Tarvido]\nVersion=8.15\nMessage=Nuova versione\n[File1]\nURL=setup.sh\nSHA256=" + sha(setup) + "\n");
    sui.answers.enqueue(true);
    int barAtEnd = -1;
    QTimer::singleShot(0, [&] {
        auto *dlg = qobject_cast<TdlgUpdateBox *>(QApplication::activeModalWidget());
        ASSERT_TRUE(dlg);
        dlg->aup1()->setDownloadFolder(downloads.path());
        QObject::connect(dlg->aup1(), &Updater::filesReady, [&, dlg] { barAtEnd = dlg->findChild<QProgressBar *>("ProgressBar1")->value(); });
        QTest::mouseClick(button(dlg, "bVerifica"), Qt::LeftButton);
    });
    ServiceActions::Aggiornamento(&mainWindow); // returns when the dialog has closed
    QTRY_VERIFY_WITH_TIMEOUT(!mainWindow.isVisible(), 2000);
    EXPECT_FALSE(mainWindow.isVisible());
    EXPECT_TRUE(UpdateStarted);
    EXPECT_EQ(barAtEnd, 100);
    EXPECT_TRUE(sui.texts("message").isEmpty());
    EXPECT_EQ(sui.busyDepth, 0);
    const QString installer = downloads.filePath("setup.sh");
    EXPECT_EQ(RunOnExit::pending(), installer);
#ifdef Q_OS_UNIX
    ASSERT_TRUE(RunOnExit::runPending()) << QFile::permissions(installer).toInt();
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(downloads.filePath("eseguito.txt")), 5000);
#endif
    EXPECT_TRUE(RunOnExit::pending().isEmpty());
}

} // namespace
