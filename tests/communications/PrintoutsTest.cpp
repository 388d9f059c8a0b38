#include "communications/Communications.h"
#include "applicants/gui/TfrmRichPers.h"
#include "communications/Printouts.h"
#include "communications/gui/TdlgDenunce.h"
#include "data/Report.h"
#include "data/Tdm.h"
#include "data/gui/ReportPreview.h"
#include "tests/support/Printers.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/Shots.h"

#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString pdfText(const Report &report)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("stampa.pdf");
    report.exportPdf(pdf);
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    if (!p.waitForFinished(30000))
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
}

QStringList names(const QList<std::pair<QString, QVariant>> &variables)
{
    QStringList out;
    for (const auto &v : variables)
        out << v.first;
    return out;
}

struct PrintFixture : ::testing::Test
{
    ScriptedUi sui;
    ProgramFolder folder;
    std::unique_ptr<Tdm> data;
    TDatiEnte savedEnte;
    qint64 roma = 0, milano = 0;
    qint64 rossi = 0, acme = 0;

    void SetUp() override
    {
        savedEnte = DatiEnte;
        data = std::make_unique<Tdm>(folder.path(), false);
        dm = data.get();
        DatiEnte.Denominazione = "COMUNE DI PROVA";
        roma = sql().scalar("SELECT ID FROM COMUNI WHERE CODICE = 'H501'").toLongLong();
        milano = sql().scalar("SELECT ID FROM COMUNI WHERE CODICE = 'F205'").toLongLong();
        ASSERT_GT(roma, 0);
        ASSERT_GT(milano, 0);
        sql().exec("INSERT INTO RICHIEDENTI (TIPO_RICHIEDENTE, PERS_CF, PERS_COGNOME, PERS_NOME, PERS_SESSO, "
                   "PERS_DNASCITA, ID_COMUNE, PROV) VALUES ('P', 'RSSMRA71C05H501Z', 'ROSSI', 'MARIO', 'M', "
                   "'1971-03-05', ?, 'RM')",
                   {roma});
        rossi = sql().lastInsertId();
        sql().exec("INSERT INTO RICHIEDENTI (TIPO_RICHIEDENTE, PERS_CF, DENOMINAZIONE, ID_COMUNE_SEDE, PROV_SEDE) "
                   "VALUES ('A', '01234567890', 'ACME SRL', ?, 'MI')",
                   {milano});
        acme = sql().lastInsertId();
    }
    void TearDown() override
    {
        data.reset();
        dm = nullptr;
        DatiEnte = savedEnte;
    }
    Connection &sql() { return data->Database1.connection(); }
    qint64 addCommunication(int anno, int progressivo, const QString &stato)
    {
        sql().exec("INSERT INTO DENUNCE (ANNO, PROGRESSIVO, DESCRIZIONE, STATO) VALUES (?,?,?,?)",
                   {anno, progressivo, Communications::description(progressivo, anno), stato});
        const qint64 id = sql().lastInsertId();
        data->ttDENUNCE->refresh();
        data->ttDENUNCE->moveToKey(id);
        return id;
    }
    qint64 addRequest(qint64 denuncia, const QVariant &richiedente, const QString &codice, const QString &numero,
                      const QVariant &inizio, const QVariant &fine)
    {
        sql().exec("INSERT INTO RICHIESTE (ID_DENUNCIA, ID_RICHIEDENTE, CODICE, NUMERO, DATA_INIZIO, DATA_FINE, "
                   "DATA_CREAZIONE, NUM_TRASM, PADRE) VALUES (?,?,?,?,?,?,'2010-02-01',1,0)",
                   {denuncia, richiedente, codice, numero, inizio, fine});
        return sql().lastInsertId();
    }
};

} // namespace

TEST(Printouts, StatesArePrintedWithTheirOwnLabels)
{
    const struct
    {
        const char *stato;
        const char *label;
    } cases[] = {{"A", "Aperta"}, {"C", "File Creato"}, {"T", "Trasmessa"}, {"X", ""}, {"", ""}, {"c", ""}};
    for (const auto &c : cases)
        EXPECT_EQ(Printouts::stateLabel(c.stato), c.label) << c.stato;
}

TEST_F(PrintFixture, CommunicationPrintsItsVariablesAndEveryRequestWithItsApplicant)
{
    folder.addDelivered("delivered/denuncia.html");
    const qint64 other = addCommunication(2010, 1, "C");
    addRequest(other, rossi, "09", "1", "2010-01-01", "2010-01-02");
    const qint64 id = addCommunication(2010, 2, "C");
    const qint64 r1 = addRequest(id, rossi, "01", "000123", "2010-01-15", "2010-12-31");
    const qint64 r2 = addRequest(id, acme, "07", "4567", "2010-03-01", "1899-12-30");
    const qint64 r3 = addRequest(id, QVariant(), "12", "89", QVariant(), QVariant());

    ASSERT_TRUE(Printouts::PrintCommunication()) << sui.texts().join('\n').toStdString();
    ASSERT_EQ(sui.reports.size(), 1);
    const Report &report = sui.reports.first();
    EXPECT_EQ(report.name(), "denuncia");
    EXPECT_EQ(names(report.variables()),
              (QStringList{"ENTE", "NOME_DENUNCIA", "ANNUALITA", "PROGRESSIVO", "STATO"}));
    EXPECT_EQ(report.variable("ENTE"), "COMUNE DI PROVA");
    EXPECT_EQ(report.variable("NOME_DENUNCIA"), "Comunicazione n. 2 / 2010");
    EXPECT_EQ(report.variable("ANNUALITA"), QVariant(qlonglong(2010)));
    EXPECT_EQ(report.variable("PROGRESSIVO"), QVariant(qlonglong(2)));
    EXPECT_EQ(report.variable("STATO"), "File Creato");

    const ReportData &rows = report.data();
    EXPECT_EQ(rows.fields(),
              (QStringList{"ID_RICHIESTA", "ID_RICHIEDENTE", "ID_DENUNCIA", "CODICE", "NUMERO", "DATA_INIZIO",
                           "DATA_FINE", "DATA_CREAZIONE", "NUM_TRASM", "PADRE", "lkCodFisRich", "lkCognomeRich",
                           "lkNomeRich", "lkSessoRich", "lkDnascitaRich", "lkCOMUNE", "lkDenominazione",
                           "lkComune_Sede", "NOMINATIVO"}));
    ASSERT_EQ(rows.rowCount(), 3);
    EXPECT_EQ(rows.value(0, "ID_RICHIESTA").toLongLong(), r1);
    EXPECT_EQ(rows.value(1, "ID_RICHIESTA").toLongLong(), r2);
    EXPECT_EQ(rows.value(2, "ID_RICHIESTA").toLongLong(), r3);
    EXPECT_EQ(rows.value(0, "NUMERO"), "000123");
    EXPECT_EQ(rows.value(0, "DATA_INIZIO"), QVariant(QDate(2010, 1, 15)));
    EXPECT_EQ(rows.value(0, "DATA_CREAZIONE"), QVariant(QDate(2010, 2, 1)));
    EXPECT_EQ(rows.value(0, "NUM_TRASM").toInt(), 1);
    EXPECT_EQ(rows.value(0, "lkCodFisRich"), "RSSMRA71C05H501Z");
    EXPECT_EQ(rows.value(0, "lkNomeRich"), "MARIO");
    EXPECT_EQ(rows.value(0, "lkSessoRich"), "M");
    EXPECT_EQ(rows.value(0, "lkDnascitaRich"), QVariant(QDate(1971, 3, 5)));
    EXPECT_EQ(rows.value(0, "lkCOMUNE"), "ROMA");
    EXPECT_TRUE(rows.value(0, "lkComune_Sede").isNull());
    EXPECT_EQ(rows.value(0, "NOMINATIVO"), "ROSSI MARIO");
    EXPECT_EQ(rows.value(1, "lkDenominazione"), "ACME SRL");
    EXPECT_EQ(rows.value(1, "lkComune_Sede"), "MILANO");
    EXPECT_TRUE(rows.value(1, "lkCognomeRich").isNull());
    EXPECT_EQ(rows.value(1, "NOMINATIVO"), "ACME SRL");
    for (const QString &f : rows.fields().mid(10))
        EXPECT_TRUE(rows.value(2, f).isNull()) << f.toStdString(); // no applicant chosen

    const QString text = pdfText(report);
    for (const char *expected : {"COMUNE DI PROVA", "Comunicazione n. 2 / 2010", "Annualità: 2010",
                                 "Numero progressivo: 2", "Stato: File Creato", "ROSSI MARIO", "RSSMRA71C05H501Z",
                                 "ACME SRL", "01234567890", "000123", "15/01/2010", "31/12/2010", "01/03/2010",
                                 "Pagina 1 di 1", "Stampato il"})
        EXPECT_TRUE(text.contains(expected)) << expected << "\n" << text.toStdString();
    EXPECT_FALSE(text.contains("30/12/1899"));
    EXPECT_FALSE(text.contains("Creata"));

    ReportPreview preview(report);
    preview.resize(900, 700);
    preview.show();
    saveShot(&preview, "anteprima_denuncia");
}

TEST_F(PrintFixture, EmptyCommunicationIsStillPreviewedAndNoOldVariableSurvives)
{
    folder.addDelivered("delivered/denuncia.html");
    addCommunication(2011, 1, "A");
    Report report("denuncia");
    report.setVariable("VECCHIA", "X");
    Printouts::fillCommunication(report, *data);
    EXPECT_FALSE(names(report.variables()).contains("VECCHIA"));
    EXPECT_EQ(report.variable("STATO"), "Aperta");

    ASSERT_TRUE(Printouts::PrintCommunication());
    ASSERT_EQ(sui.reports.size(), 1);
    EXPECT_EQ(sui.reports.first().data().rowCount(), 0);
    EXPECT_EQ(sui.reports.first().variable("NOME_DENUNCIA"), "Comunicazione n. 1 / 2011");
    const QString text = pdfText(sui.reports.first());
    EXPECT_TRUE(text.contains("Comunicazione n. 1 / 2011"));
    EXPECT_TRUE(text.contains("Stato: Aperta"));
    EXPECT_TRUE(text.contains("Richieste: 0"));
    EXPECT_TRUE(text.contains("Pagina 1 di 1"));
}

TEST_F(PrintFixture, MissingTemplatesAreNamed)
{
    addCommunication(2011, 1, "T");
    EXPECT_FALSE(Printouts::PrintCommunication());
    EXPECT_FALSE(Printouts::PrintRichiedenti());
    EXPECT_TRUE(sui.reports.isEmpty());
    EXPECT_EQ(sui.texts(),
              (QStringList{"Il modello di stampa \"" + QDir::toNativeSeparators(folder.file("denuncia.html"))
                               + "\" non è stato trovato.",
                           "Il modello di stampa \"" + QDir::toNativeSeparators(folder.file("richiedenti.html"))
                               + "\" non è stato trovato."}));
}

TEST_F(PrintFixture, RegisterPrintsEveryApplicantInKeyOrder)
{
    folder.addDelivered("delivered/richiedenti.html");
    sql().exec("INSERT INTO RICHIEDENTI (TIPO_RICHIEDENTE, PERS_CF, PERS_COGNOME, PERS_NOME, ID_COMUNE) "
               "VALUES ('P', 'BNCLCU80A01Z999X', 'BIANCHI', NULL, 999999)");
    ASSERT_TRUE(Printouts::PrintRichiedenti());
    ASSERT_EQ(sui.reports.size(), 1);
    const Report &report = sui.reports.first();
    EXPECT_EQ(report.name(), "richiedenti");
    EXPECT_EQ(names(report.variables()), QStringList{"ENTE"});
    EXPECT_EQ(report.variable("ENTE"), "COMUNE DI PROVA");
    const ReportData &rows = report.data();
    EXPECT_EQ(rows.fields().mid(0, 13),
              (QStringList{"ID_RICHIEDENTE", "TIPO_RICHIEDENTE", "PERS_CF", "PERS_COGNOME", "PERS_NOME", "PERS_SESSO",
                           "PERS_DNASCITA", "ID_COMUNE", "DENOMINAZIONE", "ID_COMUNE_SEDE", "BELFIORE", "PROV",
                           "PROV_SEDE"}));
    ASSERT_EQ(rows.rowCount(), 3);
    EXPECT_EQ(rows.value(0, "ID_RICHIEDENTE").toLongLong(), rossi);
    EXPECT_EQ(rows.value(1, "ID_RICHIEDENTE").toLongLong(), acme);
    EXPECT_EQ(rows.value(0, "CDENOM"), "ROSSI MARIO");
    EXPECT_EQ(rows.value(0, "lkCOMUNE"), "ROMA");
    EXPECT_EQ(rows.value(0, "LUOGO"), "ROMA");
    EXPECT_EQ(rows.value(0, "PROV_LUOGO"), "RM");
    EXPECT_EQ(rows.value(0, "PERS_DNASCITA"), QVariant(QDate(1971, 3, 5)));
    EXPECT_EQ(rows.value(1, "CDENOM"), "ACME SRL");
    EXPECT_EQ(rows.value(1, "lkComune_sede"), "MILANO");
    EXPECT_EQ(rows.value(1, "LUOGO"), "MILANO");
    EXPECT_EQ(rows.value(1, "PROV_LUOGO"), "MI");
    EXPECT_EQ(rows.value(2, "CDENOM"), "BIANCHI "); // surname, one blank, no name
    EXPECT_TRUE(rows.value(2, "lkCOMUNE").isNull()); // no such municipality

    const QString text = pdfText(report);
    for (const char *expected : {"COMUNE DI PROVA", "Anagrafica Richiedenti", "Richiedenti in archivio: 3",
                                 "ROSSI MARIO", "RSSMRA71C05H501Z", "05/03/1971", "ROMA", "ACME SRL", "01234567890",
                                 "MILANO", "BIANCHI", "Pagina 1 di 1"})
        EXPECT_TRUE(text.contains(expected)) << expected << "\n" << text.toStdString();

    ReportPreview preview(report);
    preview.resize(900, 700);
    preview.show();
    saveShot(&preview, "anteprima_richiedenti");
}

TEST_F(PrintFixture, StampaButtonsOfTheWindowsOpenTheirPreviews)
{
    folder.addDelivered("delivered/denuncia.html");
    folder.addDelivered("delivered/richiedenti.html");
    const qint64 id = addCommunication(2012, 1, "T");
    addRequest(id, acme, "07", "4567", "2012-03-01", "2012-04-01");
    {
        TdlgDenunce w;
        w.show();
        auto *stampa = w.findChild<QToolButton *>("bStampa");
        ASSERT_TRUE(stampa && stampa->isEnabled());
        QTest::mouseClick(stampa, Qt::LeftButton);
    }
    {
        TfrmRichPers w;
        w.show();
        auto *stampa = w.findChild<QPushButton *>("bStampa");
        ASSERT_TRUE(stampa && stampa->isEnabled());
        QTest::mouseClick(stampa, Qt::LeftButton);
    }
    EXPECT_TRUE(sui.texts("error").isEmpty()) << sui.texts("error").join('\n').toStdString();
    ASSERT_EQ(sui.reports.size(), 2);
    EXPECT_EQ(sui.reports.at(0).name(), "denuncia");
    EXPECT_EQ(sui.reports.at(0).variable("STATO"), "Trasmessa");
    EXPECT_EQ(sui.reports.at(0).data().rowCount(), 1);
    EXPECT_EQ(sui.reports.at(1).name(), "richiedenti");
    EXPECT_EQ(sui.reports.at(1).data().rowCount(), 2);
}
