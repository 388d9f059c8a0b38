#include "applicants/RequestEntry.h"
#include "tests/applicants/RichiestaTestSupport.h"

namespace {

const QString Heading = "I seguenti campi sono stati omessi o sono errati:\r";

struct RichiestaFixture : RegisterFixture
{
    ScriptedApplicantDialogs dialogs;
    ScriptedSelection selection;
    std::unique_ptr<RequestEntry> entry;
    TableCursor *r = nullptr;
    qint64 denuncia = 0;

    void SetUp() override
    {
        RegisterFixture::SetUp();
        denuncia = communication();
        r = dm->ttRICHIESTE;
        entry = std::make_unique<RequestEntry>(dialogs, selection);
    }
    // "Nuova" of the communication window, then the dialog opens.
    void nuova()
    {
        Communications::BeginNewRequest();
        entry->open();
    }
    void modifica()
    {
        ASSERT_TRUE(Communications::BeginEditRequest());
        entry->open();
    }
    qint64 applicantOfRequest() { return r->integer("ID_RICHIEDENTE"); }
    // A complete request, ready to save without questions.
    void fill(qint64 richiedente)
    {
        r->setFieldValue("ID_RICHIEDENTE", richiedente);
        r->setFieldValue("CODICE", "03");
        r->setFieldValue("DATA_INIZIO", QDate(2018, 1, 1));
        r->setFieldValue("DATA_FINE", QDate(2018, 12, 31));
    }
};

} // namespace

TEST_F(RichiestaFixture, CodeOfWrongLengthIsRefusedWithoutSearching)
{
    const qint64 id = person("RSSMRA80A01H501U", "ROSSI", "MARIO");
    request(id, "01");
    modifica();
    for (const QString &typed : {QString(), QString("RSSMRA80A01H501"), QString("1234567890"), QString("123456789012"),
                                 QString("   ")}) {
        sui.clear();
        EXPECT_FALSE(entry->autosearchRich(typed)) << typed.toStdString();
        EXPECT_EQ(sui.texts("message"), QStringList{"Il Codice Fiscale del Richiedente inserito non è valido"});
    }
    EXPECT_TRUE(dialogs.calls.isEmpty());
    EXPECT_EQ(applicantOfRequest(), id);
    EXPECT_EQ(count("RICHIEDENTI"), 1);
}

TEST_F(RichiestaFixture, KnownCodeIsFoundExactlyAndShownAtOnce)
{
    const qint64 id = person("RSSMRA80A01H501U", "ROSSI", "MARIO");
    sql().exec("UPDATE RICHIEDENTI SET PERS_DNASCITA = '1980-01-01', ID_COMUNE = (SELECT ID FROM COMUNI WHERE CODICE = 'H501' AND NOME = 'ROMA')");
    const qint64 az = company("01234567890", "ACME S.R.L.");
    nuova();
    EXPECT_TRUE(entry->autosearchRich("RSSMRA80A01H501U"));
    EXPECT_EQ(applicantOfRequest(), id);
    RequestEntry::Applicant a = RequestEntry::applicant();
    EXPECT_EQ(a.cognome, "ROSSI");
    EXPECT_EQ(a.nome, "MARIO");
    EXPECT_EQ(a.comuneNascita, "ROMA");
    EXPECT_EQ(a.nascita, QDate(1980, 1, 1));
    EXPECT_EQ(a.sesso, "M");
    EXPECT_EQ(a.codiceFiscale, "RSSMRA80A01H501U");

    EXPECT_TRUE(entry->autosearchRich("01234567890"));
    EXPECT_EQ(applicantOfRequest(), az);
    a = RequestEntry::applicant();
    EXPECT_EQ(a.denominazione, "ACME S.R.L.");
    EXPECT_EQ(a.cognome, "");
    EXPECT_TRUE(dialogs.calls.isEmpty());
    EXPECT_TRUE(sui.shown.isEmpty());
}

TEST_F(RichiestaFixture, UnknownCodeOpensTheDialogOfItsKindWithTheCodeFilledIn)
{
    // 11 characters: the non-natural person, saved: the request gets it.
    dialogs.steps << [] {
        dm->ttRICHIEDENTI->setFieldValue("DENOMINAZIONE", "ACME S.R.L.");
        return true;
    };
    nuova();
    EXPECT_TRUE(entry->autosearchRich("01234567890"));
    EXPECT_EQ(dialogs.calls, QStringList{"azienda"});
    EXPECT_EQ(dialogs.codesSeen, QStringList{"01234567890"});
    const qint64 az = sql().scalar("SELECT ID_RICHIEDENTE FROM RICHIEDENTI WHERE PERS_CF = '01234567890'").toLongLong();
    ASSERT_GT(az, 0);
    EXPECT_EQ(applicantOfRequest(), az);
    EXPECT_EQ(RequestEntry::applicant().denominazione, "ACME S.R.L.");

    // 16 characters: the natural person; cancelled, the request keeps its applicant.
    dialogs.steps << [] { return false; };
    EXPECT_FALSE(entry->autosearchRich("VRDGPP70A01F205X"));
    EXPECT_EQ(dialogs.calls, QStringList({"azienda", "persona"}));
    EXPECT_EQ(dialogs.codesSeen.last(), "VRDGPP70A01F205X");
    EXPECT_EQ(applicantOfRequest(), az);
    EXPECT_EQ(count("RICHIEDENTI"), 1);
}

TEST_F(RichiestaFixture, CodeStoredInLowerCaseIsNotFound)
{
    person("rssmra80a01h501u", "ROSSI", "MARIO");
    nuova();
    EXPECT_FALSE(entry->autosearchRich("RSSMRA80A01H501U"));
    EXPECT_EQ(dialogs.calls, QStringList{"persona"}); // a new applicant is proposed
    EXPECT_EQ(applicantOfRequest(), 0);
}

TEST_F(RichiestaFixture, SelectionFromTheListSetsTheApplicantOnlyWhenOneWasChosen)
{
    const qint64 a = person("RSSMRA80A01H501U", "ROSSI", "MARIO");
    const qint64 b = company("01234567890", "ACME S.R.L.");
    request(a, "01");
    modifica();
    Ricerca.ID = b; // a choice left from an earlier selection is not taken
    selection.choice = 0;
    EXPECT_FALSE(entry->selectFromList());
    EXPECT_EQ(selection.idWhenShown, 0);
    EXPECT_EQ(applicantOfRequest(), a);
    selection.choice = b;
    EXPECT_TRUE(entry->selectFromList());
    EXPECT_EQ(applicantOfRequest(), b);
    EXPECT_EQ(RequestEntry::applicant().denominazione, "ACME S.R.L.");
}

TEST_F(RichiestaFixture, MissingApplicantOrCodeBlocksWhateverTheDates)
{
    const qint64 id = person("RSSMRA80A01H501U", "ROSSI", "MARIO");
    nuova();
    EXPECT_FALSE(entry->saveAndExit());
    EXPECT_EQ(sui.texts("message"), QStringList{Heading + "Richiedente\rCodice del Provvedimento\r"});
    EXPECT_TRUE(sui.texts("question").isEmpty());

    sui.clear();
    fill(id);
    r->setFieldValue("CODICE", QVariant());
    EXPECT_FALSE(entry->ValidateRichiesta());
    EXPECT_EQ(sui.texts("message"), QStringList{Heading + "Codice del Provvedimento\r"});
    EXPECT_EQ(r->state(), TableCursor::State::Insert);
    EXPECT_TRUE(dm->Database1.inTransaction());
    EXPECT_EQ(count("RICHIESTE"), 0);
}

TEST_F(RichiestaFixture, MissingDatesAskAndYesSavesWithoutThem)
{
    const qint64 id = person("RSSMRA80A01H501U", "ROSSI", "MARIO");
    nuova();
    r->setFieldValue("ID_RICHIEDENTE", id);
    r->setFieldValue("CODICE", "07");

    sui.answers << false;
    EXPECT_FALSE(entry->saveAndExit());
    ASSERT_EQ(sui.shown.size(), 2);
    EXPECT_EQ(sui.shown[0].kind, "message");
    EXPECT_EQ(sui.shown[0].text, Heading + "Data inizio\rData fine\r");
    EXPECT_EQ(sui.shown[1].kind, "question");
    EXPECT_EQ(sui.shown[1].caption, "Avviso");
    EXPECT_EQ(sui.shown[1].icon, Ui::Icon::Warning);
    EXPECT_EQ(sui.shown[1].text, RequestEntry::missingDatesQuestion());
    EXPECT_TRUE(sui.shown[1].text.startsWith("Scegliendo SI i dati saranno comunque salvati."));
    // No: nothing saved, the dialog stays with the row in its state.
    EXPECT_EQ(r->state(), TableCursor::State::Insert);
    EXPECT_TRUE(dm->Database1.inTransaction());

    sui.clear();
    r->setFieldValue("DATA_INIZIO", QDate(2018, 3, 1));
    sui.answers << true;
    EXPECT_TRUE(entry->saveAndExit());
    EXPECT_EQ(sui.texts("message"), QStringList{Heading + "Data fine\r"});
    EXPECT_FALSE(dm->Database1.inTransaction());
    EXPECT_EQ(onDisk(folder.dataPath(), "RICHIESTE"), 1);
    EXPECT_TRUE(sql().scalar("SELECT DATA_FINE FROM RICHIESTE").isNull());
    EXPECT_EQ(sql().scalar("SELECT DATA_INIZIO FROM RICHIESTE").toString(), "2018-03-01");
}

TEST_F(RichiestaFixture, NewRequestSavedWithTheDefaultsAndWithoutNumber)
{
    const qint64 id = person("RSSMRA80A01H501U", "ROSSI", "MARIO");
    nuova();
    fill(id);
    EXPECT_TRUE(entry->saveAndExit());
    EXPECT_TRUE(sui.shown.isEmpty()); // an empty number is no remark
    EXPECT_EQ(r->state(), TableCursor::State::Browse);
    EXPECT_FALSE(dm->Database1.inTransaction());
    Statement s(sql(), "SELECT NUM_TRASM, PADRE, DATA_CREAZIONE, ID_DENUNCIA, ID_RICHIEDENTE, CODICE, NUMERO FROM RICHIESTE");
    ASSERT_TRUE(s.step());
    EXPECT_EQ(s.value(0).toInt(), 1);
    EXPECT_EQ(s.value(1).toInt(), 0);
    EXPECT_EQ(s.value(2).toString(), QDate::currentDate().toString(Qt::ISODate));
    EXPECT_EQ(s.value(3).toLongLong(), denuncia);
    EXPECT_EQ(s.value(4).toLongLong(), id);
    EXPECT_EQ(s.value(5).toString(), "03");
    EXPECT_TRUE(s.value(6).isNull());
    EXPECT_EQ(onDisk(folder.dataPath(), "RICHIESTE"), 1);
}

TEST_F(RichiestaFixture, LeavingWithoutSavingRollsBackTheApplicantCreatedInTheDialog)
{
    const qint64 old = person("RSSMRA80A01H501U", "ROSSI", "MARIO");
    request(old, "01", "11");
    const qint64 second = request(old, "02", "22");
    request(old, "05", "55");
    ASSERT_TRUE(r->moveToKey(second));

    dialogs.steps << [] {
        dm->ttRICHIEDENTI->setFieldValue("DENOMINAZIONE", "NUOVA S.R.L.");
        return true;
    };
    nuova();
    EXPECT_EQ(entry->rememberedPosition(), second);
    ASSERT_TRUE(entry->autosearchRich("01234567890"));
    r->setFieldValue("CODICE", "07");
    EXPECT_EQ(count("RICHIEDENTI"), 2); // inside the transaction

    entry->exitWithoutSaving();
    EXPECT_FALSE(dm->Database1.inTransaction());
    EXPECT_EQ(r->state(), TableCursor::State::Browse);
    EXPECT_EQ(r->key(), second);
    EXPECT_EQ(r->text("NUMERO"), "22");
    EXPECT_NE(dm->ttRICHIEDENTI->text("PERS_CF"), "01234567890");
    EXPECT_EQ(onDisk(folder.dataPath(), "RICHIEDENTI"), 1);
    EXPECT_EQ(onDisk(folder.dataPath(), "RICHIESTE"), 3);

    // Saving instead commits the applicant together with the request.
    dialogs.steps << [] {
        dm->ttRICHIEDENTI->setFieldValue("DENOMINAZIONE", "NUOVA S.R.L.");
        return true;
    };
    nuova();
    ASSERT_TRUE(entry->autosearchRich("01234567890"));
    r->setFieldValue("CODICE", "07");
    r->setFieldValue("DATA_INIZIO", QDate(2018, 1, 1));
    r->setFieldValue("DATA_FINE", QDate(2018, 2, 1));
    EXPECT_TRUE(entry->saveAndExit());
    EXPECT_EQ(onDisk(folder.dataPath(), "RICHIEDENTI"), 2);
    EXPECT_EQ(onDisk(folder.dataPath(), "RICHIESTE"), 4);
}

TEST_F(RichiestaFixture, LeavingAnEditWithoutSavingKeepsTheStoredRequest)
{
    const qint64 a = person("RSSMRA80A01H501U", "ROSSI", "MARIO");
    const qint64 b = company("01234567890", "ACME S.R.L.");
    const qint64 req = request(a, "01", "11");
    modifica();
    r->setFieldValue("ID_RICHIEDENTE", b);
    r->setFieldValue("NUMERO", "99");
    entry->exitWithoutSaving();
    EXPECT_EQ(r->key(), req);
    EXPECT_EQ(r->integer("ID_RICHIEDENTE"), a);
    EXPECT_EQ(sql().scalar("SELECT NUMERO FROM RICHIESTE").toString(), "11");
}

TEST_F(RichiestaFixture, DatabaseErrorWhilePostingKeepsTheDialogAndItsTransaction)
{
    const qint64 id = person("RSSMRA80A01H501U", "ROSSI", "MARIO");
    sql().exec("CREATE TEMP TRIGGER refuse BEFORE INSERT ON RICHIESTE BEGIN SELECT RAISE(ABORT, 'disco pieno'); END");
    dialogs.steps << [] {
        dm->ttRICHIEDENTI->setFieldValue("DENOMINAZIONE", "NUOVA S.R.L.");
        return true;
    };
    nuova();
    ASSERT_TRUE(entry->autosearchRich("01234567890"));
    fill(id);
    EXPECT_FALSE(entry->saveAndExit());
    ASSERT_EQ(sui.texts("error").size(), 1);
    EXPECT_TRUE(sui.texts("error").first().contains("disco pieno")) << sui.texts("error").first().toStdString();
    EXPECT_EQ(r->state(), TableCursor::State::Insert);
    EXPECT_EQ(r->text("CODICE"), "03");
    EXPECT_TRUE(dm->Database1.inTransaction());

    // Leaving rolls back the request and the applicant created for it.
    entry->exitWithoutSaving();
    EXPECT_FALSE(dm->Database1.inTransaction());
    EXPECT_EQ(onDisk(folder.dataPath(), "RICHIESTE"), 0);
    EXPECT_EQ(onDisk(folder.dataPath(), "RICHIEDENTI"), 1);
}
