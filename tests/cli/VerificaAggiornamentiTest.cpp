#include "cli/Cli.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/Printers.h"
#include "tests/support/ProgramFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString infoPath = QStringLiteral("/swupdates/Tarvido/release.inf");

QByteArray sha(const QByteArray &data)
{
    return QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex();
}

struct VerificaAggiornamenti : ::testing::Test
{
    LoopbackHttpServer server;
    ProgramFolder folder;
    QTemporaryDir target;

    struct Result
    {
        int rc;
        QString out, err;
    };

    void configure(const QString &address)
    {
        QFile ini(folder.file("TARVIDO.INI"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write("[ENTE]\r\nDENOMINAZIONE=COMUNE DI PROVA\r\n[AGGIORNAMENTI]\r\nSERVER=" + address.toUtf8() + "\r\n");
    }
    void SetUp() override { configure(server.base()); }

    Result run(QStringList args)
    {
        QString out, err;
        QTextStream o(&out), e(&err);
        args.prepend(QStringLiteral("verifica-aggiornamenti"));
        args.prepend(folder.path());
        args.prepend(QStringLiteral("--root"));
        const int rc = runCli(args, QStringLiteral("/nonexistent"), o, e);
        return {rc, out, err};
    }

    void publish(const QByteArray &setup, const QByteArray &published)
    {
        server.file("/swupdates/Tarvido/setup.exe", setup);
        server.file("/swupdates/Tarvido/tabelle.zip", "tabelle");
        server.file(infoPath, "[Tarvido]\nVersion=8.20\nMessage=Nuovo tracciato\n[File1]\nURL=setup.exe\nSHA256=" + sha(published)
                                  + "\n[File2]\nURL=tabelle.zip\nSHA256=" + sha("tabelle") + "\n");
    }
};

TEST_F(VerificaAggiornamenti, ReportsTheOutcome)
{
    server.file(infoPath, "[Tarvido]\nVersion=8.9\n");
    Result r = run({});
    EXPECT_EQ(r.rc, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "Al momento nessun aggiornamento è disponibile per questo prodotto.\n");

    publish("setup", "setup");
    r = run({});
    EXPECT_EQ(r.rc, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "Aggiornamento disponibile: versione 8.20\nMessaggio: Nuovo tracciato\n"
                     "File: " + server.base() + "/swupdates/Tarvido/setup.exe\n"
                     "File: " + server.base() + "/swupdates/Tarvido/tabelle.zip\n");
    EXPECT_EQ(server.count("/swupdates/Tarvido/setup.exe"), 0) << "without --scarica nothing is downloaded";

    server.clearRoutes();
    r = run({});
    EXPECT_EQ(r.rc, 1);
    EXPECT_TRUE(r.err.startsWith("Nessuna informazione di aggiornamento è stata trovata sul server.")) << r.err.toStdString();

    configure(QStringLiteral("http://127.0.0.1:%1").arg(LoopbackHttpServer::closedPort()));
    r = run({});
    EXPECT_EQ(r.rc, 1);
    EXPECT_TRUE(r.err.startsWith("Impossibile connettersi al server degli aggiornamenti.")) << r.err.toStdString();
}

TEST_F(VerificaAggiornamenti, DownloadsAndVerifiesIntoTheFolder)
{
    publish("setup", "setup");
    const QString dir = target.filePath("nuova/cartella");
    const Result r = run({"--scarica", dir});
    EXPECT_EQ(r.rc, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "Aggiornamento disponibile: versione 8.20\nMessaggio: Nuovo tracciato\n" + QDir::toNativeSeparators(dir + "/setup.exe")
                         + "\n" + QDir::toNativeSeparators(dir + "/tabelle.zip") + "\n");
    QFile f(dir + "/setup.exe");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "setup");
}

TEST_F(VerificaAggiornamenti, ChecksumMismatchLeavesNothing)
{
    publish("setup swapped on the way", "setup");
    const Result r = run({"--scarica", target.path()});
    EXPECT_EQ(r.rc, 1);
    EXPECT_TRUE(r.err.startsWith("Operazione di aggiornamento interrotta\n(SHA-256 di setup.exe")) << r.err.toStdString();
    EXPECT_TRUE(QDir(target.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
}

TEST_F(VerificaAggiornamenti, UsageAndMissingServer)
{
    EXPECT_EQ(run({"--scarica"}).rc, 2);
    EXPECT_EQ(run({"altro"}).rc, 2);
    EXPECT_EQ(run({"--forza"}).rc, 2);
    QFile::remove(folder.file("TARVIDO.INI"));
    const Result r = run({});
    EXPECT_EQ(r.rc, 1);
    EXPECT_TRUE(r.err.contains("sezione AGGIORNAMENTI, chiave SERVER")) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(folder.file("TARVIDO.INI")));
}

} // namespace
