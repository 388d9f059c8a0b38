#include "communications/TransmissionFile.h"
#include "tests/communications/TransmissionData.h"
#include "tests/support/Printers.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/ScriptedUi.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace TransmissionData;

namespace {

const QString Earlier = QStringLiteral("RISULTATO DI UNA CREAZIONE PRECEDENTE\r\n");

struct Bar : TransmissionProgress
{
    int maximum = -1;
    int value = -1;
    void setMaximum(int m) override { maximum = m; }
    void setValue(int v) override { value = v; }
};

struct TransmissionFileFixture : ::testing::Test
{
    ScriptedUi sui;
    std::unique_ptr<ProgramFolder> folder;
    std::unique_ptr<Tdm> data;
    TDatiEnte savedEnte = DatiEnte;

    void SetUp() override
    {
        folder = std::make_unique<ProgramFolder>();
        folder->addDelivered("delivered/problemi.html");
        data = std::make_unique<Tdm>(folder->path(), false);
        dm = data.get();
        setEnte();
    }
    void TearDown() override
    {
        data.reset();
        folder.reset();
        dm = nullptr;
        DatiEnte = savedEnte;
    }
    QString outputFolder() const { return folder->path() + "Trasmissioni"; }
    QString filePath(const QString &name = "TARVIDO_2008_1.txt") const { return outputFolder() + "/" + name; }
    QStringList outputFiles() const { return QDir(outputFolder()).entryList(QDir::Files | QDir::Hidden | QDir::System); }

    // A communication with one correct request, in state "T" with the file of an earlier run.
    qint64 transmitted()
    {
        const qint64 d = addDenuncia(*data, 2008, 1, "T", filePath());
        addRichiesta(*data, d, addPerson(*data, "ROSSI", "MARIO", "M", QDate(1971, 3, 5), roma(*data)));
        writeFile(filePath(), Earlier.toLatin1());
        return d;
    }
    void expectUnchanged(qint64 denuncia)
    {
        data->ttDENUNCE->refresh();
        ASSERT_EQ(data->ttDENUNCE->key(), denuncia);
        EXPECT_EQ(data->ttDENUNCE->text("STATO"), "T");
        EXPECT_EQ(data->ttDENUNCE->text("NOME_FILE"), filePath());
        EXPECT_EQ(readFile(filePath()), Earlier.toLatin1());
        EXPECT_EQ(outputFiles(), QStringList{"TARVIDO_2008_1.txt"}); // no temporary file left behind
    }
};

TEST_F(TransmissionFileFixture, WholeFileMatchesTheFixture)
{
    const qint64 d = addDenuncia(*data, 2008, 1);
    addRichiesta(*data, d, addPerson(*data, "ROSSI", "NICCOLÒ", "M", QDate(1971, 3, 5), roma(*data)), "01", "123",
                 QDate(2008, 1, 15), QDate(2008, 12, 31));
    addRichiesta(*data, d, addCompany(*data, "01234567890", "ALFA SERVIZI S.R.L.", castelvecchio(*data)), "02", "12A",
                 QDate(), QDate());
    addRichiesta(*data, d, addPerson(*data, "BIANCHI", "ANNA", "F", QDate(), castelvecchio(*data)), "03", "",
                 QDate(2008, 2, 1), QDate());
    // Another communication's request is not written.
    addRichiesta(*data, addDenuncia(*data, 2008, 2), addCompany(*data, "99999999999", "ALTRA", roma(*data)));
    select(*data, d);
    ASSERT_FALSE(QDir(outputFolder()).exists());

    Bar bar;
    ASSERT_TRUE(CreateTransmissionFile(&bar));

    QByteArray expected = readFile(ProgramFolder::sourceDir() + "/tests/communications/fixtures/TARVIDO_2008_1.txt");
    ASSERT_FALSE(expected.isEmpty());
    expected.replace("GGMMAAAA", QDate::currentDate().toString("ddMMyyyy").toLatin1());
    EXPECT_EQ(readFile(filePath()), expected);
    EXPECT_EQ(bar.maximum, 3);
    EXPECT_EQ(bar.value, 3);

    const QString shown = QDir::toNativeSeparators(filePath());
    EXPECT_EQ(data->ttDENUNCE->text("STATO"), "C");
    EXPECT_EQ(data->ttDENUNCE->text("NOME_FILE"), shown);
    ASSERT_EQ(sui.shown.size(), 2) << sui.texts().join(" | ").toStdString();
    EXPECT_EQ(sui.shown[0].kind, "message");
    EXPECT_EQ(sui.shown[0].text, "Il file è stato creato correttamente nella posizione: \r" + shown
                                     + "\rAdesso sarà aperta la cartella che contiene il file.");
    EXPECT_EQ(sui.shown[1].kind, "open");
    EXPECT_EQ(sui.shown[1].text, outputFolder() + "|File di testo (*.txt)");
    EXPECT_EQ(sui.busyDepth, 0);
}

TEST_F(TransmissionFileFixture, RewritingReplacesTheFileAndMovesTToC)
{
    const qint64 d = transmitted();
    select(*data, d);
    ASSERT_TRUE(CreateTransmissionFile());
    const QByteArray first = readFile(filePath());
    EXPECT_EQ(first.size(), 3 * 202);
    EXPECT_TRUE(first.startsWith("000123456789"));
    EXPECT_EQ(data->ttDENUNCE->text("STATO"), "C");
    EXPECT_EQ(outputFiles(), QStringList{"TARVIDO_2008_1.txt"});

    sui.clear();
    ASSERT_TRUE(CreateTransmissionFile());
    EXPECT_EQ(readFile(filePath()), first); // same data, same day: the same bytes
    EXPECT_TRUE(sui.texts("message").value(0).contains(QDir::toNativeSeparators(filePath())));
}

TEST_F(TransmissionFileFixture, ConsistencyProblemsAskAndNoStops)
{
    const qint64 d = transmitted();
    addPerson(*data, "VERDI", "LUCA", "M", QDate(1980, 1, 1), roma(*data), QString("VRDLCU80A01H501A"));
    select(*data, d);

    EXPECT_FALSE(CreateTransmissionFile());
    ASSERT_EQ(sui.shown.size(), 3) << sui.texts().join(" | ").toStdString();
    EXPECT_EQ(sui.shown[0].text.left(43), "Da controlli effettuati sui dati inseriti, ");
    EXPECT_EQ(sui.shown[1].kind, "report");
    EXPECT_EQ(sui.shown[2].kind, "question");
    EXPECT_EQ(sui.shown[2].caption, "Problemi rilevati");
    EXPECT_EQ(sui.shown[2].text, "Si vuole continuare lo stesso ?");
    EXPECT_EQ(sui.shown[2].icon, Ui::Icon::None);
    EXPECT_TRUE(sui.shown[2].defaultNo);
    expectUnchanged(d);

    // "Yes" writes the file as usual.
    sui.clear();
    sui.answers.enqueue(true);
    EXPECT_TRUE(CreateTransmissionFile());
    EXPECT_EQ(readFile(filePath()).size(), 3 * 202);
    EXPECT_EQ(data->ttDENUNCE->text("STATO"), "C");
}

TEST_F(TransmissionFileFixture, RefusalsAndFailuresChangeNothing)
{
    struct Case
    {
        const char *what;
        std::function<void(TransmissionFileFixture &, qint64)> arrange;
        QStringList texts;
    };
    const QString missing = "Richiedente non trovato in archivio";
    const Case cases[] = {
        {"applicant of the second of three requests missing",
         [](TransmissionFileFixture &f, qint64 d) {
             addRichiesta(*f.data, d, 9999);
             addRichiesta(*f.data, d, addCompany(*f.data, "01234567890", "ALFA", roma(*f.data)));
         },
         {missing}},
        {"applicant of an unknown type",
         [](TransmissionFileFixture &f, qint64 d) {
             addRichiesta(*f.data, d, addApplicant(*f.data, "X", "01234567890", "ALFA", roma(*f.data)));
         },
         {"Tipo richiedente non riconosciuto"}},
        {"public body's data incomplete", [](TransmissionFileFixture &, qint64) {
             DatiEnte.Denominazione = "   ";
             DatiEnte.Belfiore = "";
         },
         {"Sono stati rilevati i seguenti problemi:\rDenominazione Ente non valida\rCodice belfiore del Comune non "
          "valido\r",
          "Operazione annullata"}},
        {"codice fiscale of the body of 10 characters", [](TransmissionFileFixture &, qint64) {
             DatiEnte.CodiceFiscale = "0012345678";
         },
         {"Sono stati rilevati i seguenti problemi:\rCodice Fiscale Ente non valido\r", "Operazione annullata"}},
        {"Cap with a sign", [](TransmissionFileFixture &, qint64) { DatiEnte.Cap = "+0185"; },
         {"Si è verificato un errore durante la creazione del file."}},
        {"empty Cap", [](TransmissionFileFixture &, qint64) { DatiEnte.Cap = ""; },
         {"Si è verificato un errore durante la creazione del file."}},
        {"Cap of six digits", [](TransmissionFileFixture &, qint64) { DatiEnte.Cap = "123456"; },
         {"Impossibile creare il file: il CAP dell'ente (123456) non sta nelle 5 cifre del tracciato."}},
        {"character outside Windows-1252", [](TransmissionFileFixture &, qint64) { DatiEnte.Citta = "PROVA Ω"; },
         {"Si è verificato un errore durante la creazione del file."}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        const qint64 d = transmitted();
        c.arrange(*this, d);
        select(*data, d);
        EXPECT_FALSE(CreateTransmissionFile());
        EXPECT_EQ(sui.texts(), c.texts);
        EXPECT_EQ(sui.busyDepth, 0);
        expectUnchanged(d);
        sui.clear();
    }
}

TEST_F(TransmissionFileFixture, LimitsOfTheNumericFieldsAreRefusedBeforeWriting)
{
    const qint64 d = addDenuncia(*data, 2008, 1000, "A");
    addRichiesta(*data, d, addPerson(*data, "ROSSI", "MARIO", "M", QDate(1971, 3, 5), roma(*data)));
    select(*data, d);
    EXPECT_FALSE(CreateTransmissionFile());
    EXPECT_EQ(sui.texts(), QStringList{"Impossibile creare il file: il numero della comunicazione (1000) non sta nelle "
                                       "3 cifre del tracciato."});
    EXPECT_EQ(data->ttDENUNCE->text("STATO"), "A");
    EXPECT_FALSE(QFile::exists(filePath("TARVIDO_2008_1000.txt")));
    EXPECT_TRUE(outputFiles().isEmpty());
}

TEST_F(TransmissionFileFixture, CommunicationWithoutRequests)
{
    // The consistency check runs first, with its question.
    addPerson(*data, "VERDI", "LUCA", "M", QDate(1980, 1, 1), roma(*data), QString("VRDLCU80A01H501A"));
    const qint64 d = addDenuncia(*data, 2008, 1);
    select(*data, d);
    sui.answers.enqueue(true);
    EXPECT_FALSE(CreateTransmissionFile());
    ASSERT_EQ(sui.shown.size(), 4);
    EXPECT_EQ(sui.shown[2].kind, "question");
    EXPECT_EQ(sui.shown[3].text, "Non vi sono richieste da trasmettere nella comunicazione corrente");
    EXPECT_FALSE(QDir(outputFolder()).exists());
    EXPECT_EQ(data->ttDENUNCE->text("STATO"), "A");
}

TEST_F(TransmissionFileFixture, SelectedRequestWithoutApplicant)
{
    const qint64 d = addDenuncia(*data, 2008, 1);
    addRichiesta(*data, d, 0);
    addRichiesta(*data, d, addPerson(*data, "ROSSI", "MARIO", "M", QDate(1971, 3, 5), roma(*data)));
    select(*data, d);
    DatiEnte.Belfiore = " H501 "; // spaces around four characters pass
    EXPECT_FALSE(CreateTransmissionFile());
    EXPECT_EQ(sui.texts(), (QStringList{"Sono stati rilevati i seguenti problemi:\rDati richiedente mancanti\r",
                                        "Operazione annullata"}));

    // Standing on the second request, the checks pass and the first request's missing applicant stops writing.
    sui.clear();
    data->ttRICHIESTE->next();
    EXPECT_FALSE(CreateTransmissionFile());
    EXPECT_EQ(sui.texts(), QStringList{"Richiedente non trovato in archivio"});
    EXPECT_FALSE(QFile::exists(filePath()));
    EXPECT_TRUE(outputFiles().isEmpty());
}

TEST_F(TransmissionFileFixture, FolderOrFileThatCannotBeCreated)
{
    const qint64 d = transmitted();
    select(*data, d);
    // The output folder is in the way of a file: stop without a message.
    QDir(outputFolder()).removeRecursively();
    writeFile(outputFolder(), "x");
    EXPECT_FALSE(CreateTransmissionFile());
    EXPECT_TRUE(sui.shown.isEmpty());

    // The file's name is taken by a folder: the default error display, nothing changed.
    QFile::remove(outputFolder());
    QDir().mkpath(filePath());
    const bool ok = guarded([] { CreateTransmissionFile(); });
    EXPECT_FALSE(ok);
    ASSERT_EQ(sui.texts("error").size(), 1);
    EXPECT_TRUE(sui.texts("error").first().startsWith("Impossibile creare il file \"" + QDir::toNativeSeparators(filePath())));
    EXPECT_EQ(data->ttDENUNCE->text("STATO"), "T");
}

} // namespace
