#include "cli/Cli.h"
#include "tests/communications/TransmissionData.h"
#include "tests/support/Printers.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/ScriptedUi.h"

#include <QProcess>

#include <gtest/gtest.h>

using namespace TransmissionData;

namespace {

struct CliRun
{
    int rc;
    QString out, err;
};

struct TransmissionCommands : ::testing::Test
{
    ScriptedUi sui; // whatever the commands leave installed is put back
    ProgramFolder folder;
    TDatiEnte savedEnte = DatiEnte;

    void SetUp() override
    {
        folder.addDelivered("delivered/problemi.html");
        writeFile(folder.file("TARVIDO.INI"),
                  "[ENTE]\r\nDENOMINAZIONE=COMUNE DI PROVA\r\nINDIRIZZO=PIAZZA DEL MUNICIPIO 1\r\nCAP=00185\r\n"
                  "CITTA=PROVA\r\nPROVINCIA=RM\r\nCODICEFISCALE=00123456789\r\nBELFIORE=H501\r\n");
        Tdm data(folder.path(), false);
        const qint64 d = addDenuncia(data, 2008, 1);
        addRichiesta(data, d, addPerson(data, "ROSSI", "MARIO", "M", QDate(1971, 3, 5), roma(data)));
        addRichiesta(data, d, addCompany(data, "01234567890", "ALFA", roma(data)));
        addDenuncia(data, 2008, 2);
        // Stored as a man's code: a woman's is expected.
        addPerson(data, "VERDI", "LUCA", "F", QDate(1980, 1, 1), roma(data),
                  computedCf(data, "VERDI", "LUCA", "M", QDate(1980, 1, 1), roma(data)));
        addPerson(data, "NERI", "ANNA", "F", QDate(), roma(data), QString("NRENNA00A41H501X"));
    }
    void TearDown() override { DatiEnte = savedEnte; }

    CliRun run(const QStringList &args)
    {
        QString out, err;
        QTextStream o(&out), e(&err);
        const int rc = runCli(QStringList{"--root", folder.path()} + args, folder.path(), o, e);
        return {rc, out, err};
    }
    QString state(int progressivo)
    {
        Tdm data(folder.path(), false);
        return db(data).scalar("SELECT STATO || '|' || coalesce(NOME_FILE, '') FROM DENUNCE WHERE PROGRESSIVO = ?",
                               {progressivo}).toString();
    }
};

TEST_F(TransmissionCommands, VerificaCfListsProblems)
{
    const CliRun r = run({"verifica-cf"});
    EXPECT_EQ(r.rc, 1);
    Tdm data(folder.path(), false);
    const QString stored = computedCf(data, "VERDI", "LUCA", "M", QDate(1980, 1, 1), roma(data));
    EXPECT_EQ(r.out, "VERDI;LUCA;" + stored + ";F;01/01/1980\nNERI;ANNA;NRENNA00A41H501X;F;\n");

    db(data).exec("DELETE FROM RICHIEDENTI WHERE PERS_COGNOME IN ('VERDI', 'NERI')");
    const CliRun clean = run({"verifica-cf"});
    EXPECT_EQ(clean.rc, 0);
    EXPECT_EQ(clean.out, "");
    EXPECT_EQ(run({"verifica-cf", "x"}).rc, 2);
}

TEST_F(TransmissionCommands, CreaFileAsksAboutProblemsAndPrintsThePath)
{
    const CliRun refused = run({"crea-file", "2008", "1"});
    EXPECT_EQ(refused.rc, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_TRUE(refused.err.contains("Si vuole continuare lo stesso ? No")) << refused.err.toStdString();
    EXPECT_EQ(state(1), "A|");
    EXPECT_FALSE(QFile::exists(folder.file("Trasmissioni/TARVIDO_2008_1.txt")));

    const CliRun done = run({"crea-file", "2008", "1", "--continua"});
    EXPECT_EQ(done.rc, 0) << done.err.toStdString();
    const QString path = QDir::toNativeSeparators(folder.file("Trasmissioni/TARVIDO_2008_1.txt"));
    EXPECT_EQ(done.out, path + "\n");
    EXPECT_EQ(state(1), "C|" + path);
    const QByteArray file = readFile(path);
    EXPECT_EQ(file.size(), 4 * 202);
    EXPECT_EQ(file.mid(3 * 202 + 151, 7), "0000002");

    const CliRun empty = run({"crea-file", "2008", "2", "--continua"});
    EXPECT_EQ(empty.rc, 1);
    EXPECT_TRUE(empty.err.contains("Non vi sono richieste da trasmettere nella comunicazione corrente"));

    const CliRun missing = run({"crea-file", "2008", "9"});
    EXPECT_EQ(missing.rc, 1);
    EXPECT_EQ(missing.err, "Comunicazione 9 dell'anno 2008 non trovata.\n");

    EXPECT_EQ(run({"crea-file", "2008"}).rc, 2);
    EXPECT_EQ(run({"crea-file", "2008", "uno"}).rc, 2);
    EXPECT_EQ(run({"crea-file", "2008", "1", "--altro"}).rc, 2);
}

TEST_F(TransmissionCommands, StampaProblemiWritesAPdf)
{
    const QString pdf = folder.file("problemi.pdf");
    const CliRun r = run({"stampa-problemi", "--pdf", pdf});
    EXPECT_EQ(r.rc, 0) << r.err.toStdString();
    QProcess p;
    p.start("pdftotext", {pdf, "-"});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_TRUE(text.contains("VERDI"));
    EXPECT_TRUE(text.contains("NRENNA00A41H501X"));
    EXPECT_FALSE(text.contains("ROSSI"));

    QFile::remove(folder.file("problemi.html"));
    const CliRun missing = run({"stampa-problemi", "--pdf", pdf});
    EXPECT_EQ(missing.rc, 1);
    EXPECT_TRUE(missing.err.contains("problemi.html\" non è stato trovato."));
    EXPECT_EQ(run({"stampa-problemi"}).rc, 2);
    EXPECT_EQ(run({"stampa-problemi", "--pdf"}).rc, 2);
}

} // namespace
