#include "cli/Cli.h"
#include "data/Database.h"
#include "tests/support/Printers.h"
#include "tests/support/ProgramFolder.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct CliRun
{
    int rc;
    QString out, err;
};

CliRun run(const QStringList &args, const QString &root = QString())
{
    QString out, err;
    QTextStream o(&out), e(&err);
    const int rc = runCli(args, root.isEmpty() ? QStringLiteral("/nonexistent") : root, o, e);
    return {rc, out, err};
}

} // namespace

TEST(AdminTool, InfoListsEveryOpenTableWithItsRows)
{
    ProgramFolder folder;
    QFile::remove(folder.dataPath() + "PROVVEDIMENTI.DAT");
    const CliRun r = run({"--root", folder.path(), "info"});
    EXPECT_EQ(r.rc, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "DENUNCE.DAT 0\nRICHIESTE.DAT 0\nRICHIEDENTI.DAT 0\nCOMUNI.DAT 13670\n");
    EXPECT_FALSE(QFile::exists(folder.path() + "TARVIDO.INI")); // never writes the settings
}

TEST(AdminTool, UsageErrorsExitWithTwo)
{
    EXPECT_EQ(run({}).rc, 2);
    EXPECT_EQ(run({"sconosciuto"}).rc, 2);
    EXPECT_EQ(run({"--root"}).rc, 2);
    EXPECT_EQ(run({"info", "extra"}).rc, 2);
    EXPECT_EQ(run({"importa-comuni"}).rc, 2);
}

TEST(AdminTool, ImportaReplacesAReferenceTableKeepingKnownMunicipalities)
{
    ProgramFolder folder;
    QTemporaryDir tmp;
    const QString csv = tmp.filePath("comuni.csv");
    {
        QFile f(csv);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("CODICE;NOME;PROV;CAP;ATTIVO\nH501;ROMA;RM;00100;1\nZ999;NUOVO;XX;;1\n");
    }
    qint64 romaBefore = 0;
    {
        SingleFileDatabase db(folder.dataPath() + "COMUNI.DAT", SingleFileDatabase::ReadOnly);
        romaBefore = db.connection().scalar("SELECT ID FROM COMUNI WHERE NOME='ROMA' AND PROV='RM'").toLongLong();
    }
    const CliRun r = run({"--root", folder.path(), "importa-comuni", csv});
    EXPECT_EQ(r.rc, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "COMUNI.DAT 2\n");
    SingleFileDatabase db(folder.dataPath() + "COMUNI.DAT", SingleFileDatabase::ReadOnly);
    EXPECT_EQ(db.connection().scalar("SELECT count(*) FROM COMUNI").toInt(), 2);
    EXPECT_EQ(db.connection().scalar("SELECT ID FROM COMUNI WHERE NOME='ROMA'").toLongLong(), romaBefore);
    EXPECT_GT(db.connection().scalar("SELECT ID FROM COMUNI WHERE NOME='NUOVO'").toLongLong(), romaBefore);

    const QString prov = tmp.filePath("prov.csv");
    {
        QFile f(prov);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("CODICE;DESCRIZIONE\nZZ;PROVA\n");
    }
    EXPECT_EQ(run({"--root", folder.path(), "importa-provvedimenti", prov}).rc, 0);
    // A file without the needed columns changes nothing and fails.
    EXPECT_EQ(run({"--root", folder.path(), "importa-provvedimenti", csv}).rc, 1);
    SingleFileDatabase p(folder.dataPath() + "PROVVEDIMENTI.DAT", SingleFileDatabase::ReadOnly);
    EXPECT_EQ(p.connection().scalar("SELECT group_concat(CODICE) FROM PROVVEDIMENTI").toString(), "ZZ");
}
