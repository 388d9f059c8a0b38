#include "maintenance/UpdateInfo.h"
#include "maintenance/Updater.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/Printers.h"
#include "tests/support/ScriptedUi.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString infoPath = QStringLiteral("/swupdates/Tarvido/release.inf");

QByteArray sha(const QByteArray &data)
{
    return QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex();
}

struct UpdaterFixture : ::testing::Test
{
    ScriptedUi sui;
    LoopbackHttpServer server;
    QTemporaryDir downloads;
    Updater updater;
    QStringList events;

    void SetUp() override
    {
        updater.setInfoFileUrl(Updater::infoFileUrlFor(server.base()));
        updater.setDownloadFolder(downloads.path() + QStringLiteral("/agg"));
        updater.setInfoTimeout(800);
        updater.setHttpsProbeTimeout(800);
        updater.setStallTimeout(800);
        QObject::connect(&updater, &Updater::beginUpgrade, [this](const QString &v, const QString &) { events << "begin " + v; });
        QObject::connect(&updater, &Updater::noUpdateAvailable, [this] { events << "noUpdate"; });
        QObject::connect(&updater, &Updater::noInfoFile, [this] { events << "noInfoFile"; });
        QObject::connect(&updater, &Updater::hostUnreachable, [this] { events << "unreachable"; });
        QObject::connect(&updater, &Updater::aborted, [this] { events << "aborted"; });
        QObject::connect(&updater, &Updater::upgradeDeclined, [this] { events << "declined"; });
        QObject::connect(&updater, &Updater::fileStart, [this](const QUrl &u, int, int) { events << "file " + u.fileName(); });
        QObject::connect(&updater, &Updater::filesReady, [this](const QStringList &p) { events << QStringLiteral("ready %1").arg(p.size()); });
    }

    // Runs one check to its end and returns its outcome.
    Updater::Outcome run()
    {
        QSignalSpy done(&updater, &Updater::finished);
        EXPECT_TRUE(updater.start());
        EXPECT_TRUE(done.wait(15000)) << "the check did not end";
        EXPECT_EQ(done.size(), 1);
        EXPECT_FALSE(updater.isRunning());
        return updater.outcome();
    }

    QStringList downloadedNames() const
    {
        return QDir(downloads.path() + QStringLiteral("/agg")).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    void publish(const QString &version, const QByteArray &files = {})
    {
        server.file(infoPath, "[Tarvido]\r\nVersion=" + version.toUtf8() + "\r\nMessage=Nuove tabelle dei comuni\r\n" + files);
    }
};

TEST(UpdateInfoTest, VersionsCompareAsNumbers)
{
    struct Case
    {
        const char *a, *b;
        int expected;
    };
    const Case cases[] = {
        {"8.9", "8.14", -1}, {"8.14", "8.14", 0}, {"8.14.0", "8.14", 0}, {"8.15", "8.14", 1},
        {"9", "8.14", 1},    {"8.14.1", "8.14", 1}, {"10.0", "9.99", 1}, {" 8.20 ", "8.14", 1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(UpdateInfo::compareVersions(QString::fromLatin1(c.a), QString::fromLatin1(c.b)), c.expected) << c.a << " vs " << c.b;
    for (const char *bad : {"", "8.", ".8", "8,15", "8.1a", "v9", "8..1", "-9"})
        EXPECT_FALSE(UpdateInfo::compareVersions(QString::fromLatin1(bad), QStringLiteral("8.14"))) << bad;
}

TEST(UpdateInfoTest, FilesResolveAgainstTheInfoFileFolderAndNeedAChecksum)
{
    const QUrl from(QStringLiteral("http://h:81/swupdates/Tarvido/release.inf"));
    const QByteArray hash = QByteArray(64, 'a');
    const auto info = UpdateInfo::parse("; commento\n[Tarvido]\nVersion = 8.20\nMessage=Riga 1\\nRiga 2\n"
                                        "[File1]\nURL=setup.exe\nSHA256=" + hash + "\n"
                                        "[File2]\nurl=https://altro/x/dati.zip\nsha256=" + hash.toUpper() + "\n",
                                        from);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->version(), "8.20");
    EXPECT_EQ(info->message(), "Riga 1\rRiga 2");
    ASSERT_EQ(info->files().size(), 2);
    EXPECT_EQ(info->files().at(0).url.toString(), "http://h:81/swupdates/Tarvido/setup.exe");
    EXPECT_EQ(info->files().at(0).fileName, "setup.exe");
    EXPECT_EQ(info->files().at(1).url.toString(), "https://altro/x/dati.zip");
    EXPECT_EQ(info->files().at(1).sha256, QByteArray(32, char(0xaa)));
    EXPECT_TRUE(info->installable());

    // A list that cannot be verified or stored safely is not installable.
    for (const QByteArray &bad : {QByteArray("[File1]\nURL=setup.exe\n"), QByteArray("[File1]\nURL=setup.exe\nSHA256=abc\n"),
                                  "[File1]\nURL=ftp://h/setup.exe\nSHA256=" + hash + "\n",
                                  "[File1]\nURL=a/setup.exe\nSHA256=" + hash + "\n[File2]\nURL=b/setup.exe\nSHA256=" + hash + "\n",
                                  QByteArray()}) {
        const auto i = UpdateInfo::parse("[Tarvido]\nVersion=9\n" + bad, from);
        ASSERT_TRUE(i) << bad.constData();
        EXPECT_FALSE(i->installable()) << bad.constData();
    }
    for (const QByteArray &bad : {QByteArray("<html>404</html>"), QByteArray("[Tarvido]\nMessage=x\n"), QByteArray("[Altro]\nVersion=9\n"),
                                  QByteArray("[Tarvido]\nVersion=nove\n"), QByteArray("[Tarvido\nVersion=9\n")})
        EXPECT_FALSE(UpdateInfo::parse(bad, from)) << bad.constData();
}

TEST(UpdateInfoTest, ServerAddressGivesTheInfoFileUrl)
{
    EXPECT_EQ(Updater::infoFileUrlFor("http://127.0.0.1:8080").toString(), "http://127.0.0.1:8080/swupdates/Tarvido/release.inf");
    EXPECT_EQ(Updater::infoFileUrlFor(" https://agg.example.it/ ").toString(), "https://agg.example.it/swupdates/Tarvido/release.inf");
    EXPECT_EQ(Updater::infoFileUrlFor("agg.example.it").toString(), "http://agg.example.it/swupdates/Tarvido/release.inf");
}

// Every way a check ends without a download, with the event the program sees.
TEST_F(UpdaterFixture, ChecksThatFindNoUpdate)
{
    const QByteArray file1 = "[File1]\nURL=setup.exe\nSHA256=" + QByteArray(64, '0') + "\n";
    struct Case
    {
        const char *name;
        std::function<void()> serve;
        Updater::Outcome outcome;
        const char *event;
    };
    const Case cases[] = {
        {"same version", [&] { publish("8.14", file1); }, Updater::Outcome::NoUpdate, "noUpdate"},
        {"lower version", [&] { publish("8.13", file1); }, Updater::Outcome::NoUpdate, "noUpdate"},
        {"8.9 is older than 8.14", [&] { publish("8.9", file1); }, Updater::Outcome::NoUpdate, "noUpdate"},
        {"no info file", [&] {}, Updater::Outcome::NoInfoFile, "noInfoFile"},
        {"server error", [&] { server.route(infoPath, {500, "guasto", {}, LoopbackHttpServer::Mode::Normal, 50}); },
         Updater::Outcome::NoInfoFile, "noInfoFile"},
        {"malformed", [&] { server.file(infoPath, "<html><body>Benvenuti</body></html>"); }, Updater::Outcome::NoInfoFile, "noInfoFile"},
        {"newer version without files", [&] { publish("9.0"); }, Updater::Outcome::NoInfoFile, "noInfoFile"},
        {"huge", [&] { server.file(infoPath, "[Tarvido]\nVersion=9\n" + QByteArray(4 * 1024 * 1024, ';')); },
         Updater::Outcome::NoInfoFile, "noInfoFile"},
        {"redirect loop", [&] { server.redirect(infoPath, infoPath); }, Updater::Outcome::NoInfoFile, "noInfoFile"},
        {"silent server", [&] { server.route(infoPath, {200, {}, {}, LoopbackHttpServer::Mode::Silent, 50}); },
         Updater::Outcome::HostUnreachable, "unreachable"},
        {"endless trickle", [&] { server.route(infoPath, {200, {}, {}, LoopbackHttpServer::Mode::Drip, 20}); },
         Updater::Outcome::HostUnreachable, "unreachable"},
        {"connection dropped", [&] { server.route(infoPath, {200, "[Tarvido]\nVersion=9.0\n" + file1, {}, LoopbackHttpServer::Mode::Drop, 50}); },
         Updater::Outcome::HostUnreachable, "unreachable"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        server.clearRoutes();
        events.clear();
        c.serve();
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(run(), c.outcome);
        // Bounded: the https attempt and the plain attempt, each within its time limit.
        EXPECT_LT(clock.elapsed(), 5000);
        EXPECT_EQ(events, QStringList{QString::fromLatin1(c.event)});
        EXPECT_TRUE(sui.shown.isEmpty()) << "no question without a newer version";
        EXPECT_TRUE(downloadedNames().isEmpty());
    }
    EXPECT_EQ(server.count("/swupdates/Tarvido/setup.exe"), 0);
}

TEST_F(UpdaterFixture, ClosedPortIsUnreachable)
{
    updater.setInfoFileUrl(Updater::infoFileUrlFor(QStringLiteral("http://127.0.0.1:%1").arg(LoopbackHttpServer::closedPort())));
    EXPECT_EQ(run(), Updater::Outcome::HostUnreachable);
    EXPECT_EQ(events, QStringList{"unreachable"});
    // The check can be repeated.
    EXPECT_EQ(run(), Updater::Outcome::HostUnreachable);
}

TEST_F(UpdaterFixture, SecondStartWhileRunningStartsNothing)
{
    publish("8.14");
    QSignalSpy done(&updater, &Updater::finished);
    ASSERT_TRUE(updater.start());
    EXPECT_FALSE(updater.start());
    EXPECT_FALSE(updater.start());
    ASSERT_TRUE(done.wait(10000));
    QTest::qWait(100);
    EXPECT_EQ(done.size(), 1);
    EXPECT_EQ(server.count(infoPath), 1);
    EXPECT_EQ(events, QStringList{"noUpdate"});
    // Once ended, a new check runs.
    EXPECT_EQ(run(), Updater::Outcome::NoUpdate);
    EXPECT_EQ(server.count(infoPath), 2);
}

TEST_F(UpdaterFixture, DownloadsAndVerifiesEveryListedFile)
{
    const QByteArray setup = "#!/bin/sh\necho setup\n";
    const QByteArray data = QByteArray(300000, 'd');
    server.file("/swupdates/Tarvido/setup.sh", setup);
    server.file("/altrove/dati.zip", data);
    publish("8.15", "[File1]\nURL=setup.sh\nSHA256=" + sha(setup) + "\n[File2]\nURL=" + server.base().toUtf8()
                        + "/altrove/dati.zip\nSHA256=" + sha(data) + "\n");
    QList<int> current;
    QObject::connect(&updater, &Updater::progress, [&](int c, int) { current << c; });
    sui.answers.enqueue(true);

    EXPECT_EQ(run(), Updater::Outcome::Downloaded);
    EXPECT_EQ(events, (QStringList{"begin 8.15", "file setup.sh", "file dati.zip", "ready 2"}));
    ASSERT_EQ(sui.texts("question").size(), 1);
    EXPECT_TRUE(sui.texts("question").first().contains("8.15"));
    EXPECT_TRUE(sui.texts("question").first().contains("Nuove tabelle dei comuni"));
    EXPECT_EQ(downloadedNames(), (QStringList{"dati.zip", "setup.sh"}));
    const QString folder = downloads.path() + QStringLiteral("/agg/");
    EXPECT_EQ(updater.downloadedFiles(), (QStringList{folder + "setup.sh", folder + "dati.zip"}));
    QFile f(folder + "dati.zip");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), data);
    ASSERT_FALSE(current.isEmpty());
    EXPECT_EQ(current.last(), 100);
    EXPECT_TRUE(std::is_sorted(current.begin() + current.lastIndexOf(0), current.end()));
}

TEST_F(UpdaterFixture, ABadDownloadAbandonsTheUpgradeAndLeavesNothing)
{
    const QByteArray setup = "setup program";
    server.file("/swupdates/Tarvido/setup.exe", setup);
    server.file("/swupdates/Tarvido/dati.zip", "substituted on the way");
    struct Case
    {
        const char *name;
        QByteArray file2;
    };
    const Case cases[] = {
        {"checksum differs", "[File2]\nURL=dati.zip\nSHA256=" + sha("the published archive") + "\n"},
        {"file missing on the server", "[File2]\nURL=manca.zip\nSHA256=" + sha("x") + "\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        events.clear();
        publish("8.15", "[File1]\nURL=setup.exe\nSHA256=" + sha(setup) + "\n" + c.file2);
        sui.answers.enqueue(true);
        EXPECT_EQ(run(), Updater::Outcome::Aborted);
        EXPECT_EQ(events.last(), "aborted");
        EXPECT_FALSE(events.contains("ready 2"));
        // The verified setup program goes too: nothing of a half upgrade remains.
        EXPECT_TRUE(downloadedNames().isEmpty()) << downloadedNames().join(' ').toStdString();
        EXPECT_TRUE(updater.downloadedFiles().isEmpty());
    }
}

TEST_F(UpdaterFixture, DeclinedUpgradeDownloadsNothing)
{
    server.file("/swupdates/Tarvido/setup.exe", "x");
    publish("8.15", "[File1]\nURL=setup.exe\nSHA256=" + sha("x") + "\n");
    sui.answers.enqueue(false);
    EXPECT_EQ(run(), Updater::Outcome::Declined);
    EXPECT_EQ(events, (QStringList{"begin 8.15", "declined"}));
    EXPECT_EQ(server.count("/swupdates/Tarvido/setup.exe"), 0);
}

TEST_F(UpdaterFixture, SlowDownloadEndsAsAborted)
{
    server.route("/swupdates/Tarvido/setup.exe", {200, {}, {}, LoopbackHttpServer::Mode::Silent, 50});
    publish("8.15", "[File1]\nURL=setup.exe\nSHA256=" + sha("x") + "\n");
    sui.answers.enqueue(true);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(run(), Updater::Outcome::Aborted);
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_TRUE(downloadedNames().isEmpty());
}

} // namespace

namespace {

// A server that speaks only https, configured with an http address: the check goes over https,
// and so do the files, also those listed with an absolute http address of the same host.
TEST(UpdaterHttpsTest, PrefersHttpsWhenTheServerOffersIt)
{
    ScriptedUi sui;
    LoopbackHttpServer server(LoopbackHttpServer::Transport::Tls);
    QTemporaryDir downloads;
    const QByteArray setup = "setup over https";
    const QByteArray tables = "tables over https";
    server.file("/swupdates/Tarvido/setup.exe", setup);
    server.file("/dati/tabelle.zip", tables);
    server.file(infoPath, "[Tarvido]\nVersion=8.15\n[File1]\nURL=setup.exe\nSHA256=" + sha(setup) + "\n[File2]\nURL=" + server.base().toUtf8()
                              + "/dati/tabelle.zip\nSHA256=" + sha(tables) + "\n");
    Updater updater;
    updater.setInfoFileUrl(Updater::infoFileUrlFor(server.base()));
    updater.setDownloadFolder(downloads.path());
    updater.setAskUpgrade(false);
    updater.setInfoTimeout(3000);
    updater.addCaCertificates({LoopbackHttpServer::certificate()});
    QStringList urls;
    QObject::connect(&updater, &Updater::fileStart, [&](const QUrl &u, int, int) { urls << u.toString(); });
    QSignalSpy done(&updater, &Updater::finished);
    ASSERT_TRUE(updater.start());
    ASSERT_TRUE(done.wait(15000));
    EXPECT_EQ(updater.outcome(), Updater::Outcome::Downloaded) << updater.detail().toStdString();
    EXPECT_EQ(updater.usedInfoFileUrl().scheme(), "https");
    const QString https = QStringLiteral("https://127.0.0.1:%1").arg(server.port());
    EXPECT_EQ(urls, (QStringList{https + "/swupdates/Tarvido/setup.exe", https + "/dati/tabelle.zip"}));

    // Not trusted (a certificate nobody vouches for): no https, and plain http finds no server.
    Updater untrusting;
    untrusting.setInfoFileUrl(Updater::infoFileUrlFor(server.base()));
    untrusting.setInfoTimeout(3000);
    QSignalSpy done2(&untrusting, &Updater::finished);
    ASSERT_TRUE(untrusting.start());
    ASSERT_TRUE(done2.wait(15000));
    EXPECT_EQ(untrusting.outcome(), Updater::Outcome::HostUnreachable);
}

} // namespace
