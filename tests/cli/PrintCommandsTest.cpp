#include "cli/Cli.h"
#include "data/Tdm.h"
#include "tests/support/Printers.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/ScriptedUi.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

struct CliRun
{
    int rc;
    QString out, err;
};

struct PrintCommands : ::testing::Test
{
    ScriptedUi sui;
    ProgramFolder folder;
    TDatiEnte savedEnte = DatiEnte;

    void SetUp() override
    {
        folder.addDelivered("delivered/denuncia.html");
        folder.addDelivered("delivered/richiedenti.html");
        QFile ini(folder.file("TARVIDO.INI"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[ENTE]\r\nDENOMINAZIONE=COMUNE DI PROVA\r\n");
        ini.close();
        Tdm data(folder.path(), false);
        Connection &c = data.Database1.connection();
        c.exec("INSERT INTO RICHIEDENTI (TIPO_RICHIEDENTE, PERS_CF, PERS_COGNOME, PERS_NOME) "
               "VALUES ('P', 'RSSMRA71C05H501Z', 'ROSSI', 'MARIO')");
        const qint64 rossi = c.lastInsertId();
        c.exec("INSERT INTO RICHIEDENTI (TIPO_RICHIEDENTE, PERS_CF, DENOMINAZIONE) VALUES ('A', '01234567890', "
               "'ACME SRL')");
        for (int p = 1; p <= 2; ++p)
            c.exec("INSERT INTO DENUNCE (ANNO, PROGRESSIVO, DESCRIZIONE, STATO) VALUES (2008, ?, ?, ?)",
                   {p, QString("Comunicazione n. %1 / 2008").arg(p), p == 1 ? "T" : "A"});
        c.exec("INSERT INTO RICHIESTE (ID_DENUNCIA, ID_RICHIEDENTE, CODICE, NUMERO, DATA_INIZIO) "
               "SELECT ID_DENUNCIA, ?, '05', '0042', '2008-04-01' FROM DENUNCE WHERE PROGRESSIVO = 1",
               {rossi});
    }
    void TearDown() override { DatiEnte = savedEnte; }

    CliRun run(const QStringList &args)
    {
        QString out, err;
        QTextStream o(&out), e(&err);
        const int rc = runCli(QStringList{"--root", folder.path()} + args, folder.path(), o, e);
        return {rc, out, err};
    }
    QString pdfText(const QString &pdf)
    {
        QProcess p;
        p.start("pdftotext", {"-layout", pdf, "-"});
        if (!p.waitForFinished(30000))
            return QString();
        // Compatibility forms undo the typographic ligatures ("ﬁ").
        return QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
    }
};

} // namespace

TEST_F(PrintCommands, StampaComunicazioneRendersTheCommunication)
{
    const QString pdf = folder.file("comunicazione.pdf");
    const CliRun r = run({"stampa-comunicazione", "2008", "1", "--pdf", pdf});
    ASSERT_EQ(r.rc, 0) << r.err.toStdString();
    const QString text = pdfText(pdf);
    for (const char *expected : {"COMUNE DI PROVA", "Comunicazione n. 1 / 2008", "Stato: Trasmessa", "ROSSI MARIO",
                                 "RSSMRA71C05H501Z", "0042", "01/04/2008", "Pagina 1 di 1"})
        EXPECT_TRUE(text.contains(expected)) << expected << "\n" << text.toStdString();

    // An empty communication still prints.
    ASSERT_EQ(run({"stampa-comunicazione", "2008", "2", "--pdf", pdf}).rc, 0);
    EXPECT_TRUE(pdfText(pdf).contains("Stato: Aperta"));

    const CliRun missing = run({"stampa-comunicazione", "2008", "3", "--pdf", pdf});
    EXPECT_EQ(missing.rc, 1);
    EXPECT_EQ(missing.err.trimmed(), "Comunicazione 3 dell'anno 2008 non trovata.");

    for (const QStringList &bad : {QStringList{"stampa-comunicazione", "2008", "1"},
                                   QStringList{"stampa-comunicazione", "2008", "--pdf", pdf},
                                   QStringList{"stampa-comunicazione", "2008", "x", "--pdf", pdf},
                                   QStringList{"stampa-comunicazione", "2008", "1", "--pdf"},
                                   QStringList{"stampa-comunicazione", "2008", "1", "--pdf", pdf, "--altro"}})
        EXPECT_EQ(run(bad).rc, 2) << bad.join(' ').toStdString();

    QFile::remove(folder.file("denuncia.html"));
    const CliRun noTemplate = run({"stampa-comunicazione", "2008", "1", "--pdf", pdf});
    EXPECT_EQ(noTemplate.rc, 1);
    EXPECT_TRUE(noTemplate.err.contains("denuncia.html\" non è stato trovato.")) << noTemplate.err.toStdString();
}

TEST_F(PrintCommands, StampaRichiedentiRendersTheRegister)
{
    const QString pdf = folder.file("richiedenti.pdf");
    const CliRun r = run({"stampa-richiedenti", "--pdf", pdf});
    ASSERT_EQ(r.rc, 0) << r.err.toStdString();
    const QString text = pdfText(pdf);
    for (const char *expected : {"COMUNE DI PROVA", "Anagrafica Richiedenti", "ROSSI MARIO", "ACME SRL",
                                 "01234567890", "Pagina 1 di 1"})
        EXPECT_TRUE(text.contains(expected)) << expected << "\n" << text.toStdString();

    EXPECT_EQ(run({"stampa-richiedenti"}).rc, 2);
    EXPECT_EQ(run({"stampa-richiedenti", "--pdf", pdf, "in-piu"}).rc, 2);
    const CliRun unwritable = run({"stampa-richiedenti", "--pdf", folder.file("manca/r.pdf")});
    EXPECT_EQ(unwritable.rc, 1);
    EXPECT_FALSE(unwritable.err.isEmpty());
}
