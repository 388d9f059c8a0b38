#include "applicants/ApplicantDialogs.h"
#include "applicants/Applicants.h"
#include "applicants/CodiceFiscale.h"
#include "applicants/RegisterModel.h"
#include "data/Tdm.h"
#include "tests/support/Printers.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/ScriptedUi.h"

#include <functional>

#include <gtest/gtest.h>

namespace {

// The dialogs as a script: each call records its name and runs the next step, which may type into
// the row and answers OK (true) or cancel (false).
struct ScriptedDialogs : ApplicantDialogs
{
    QStringList calls;
    QString type; // what the picker chooses
    QList<std::function<bool()>> steps;

    void chooseType() override
    {
        calls << "tipo";
        dm->ttRICHIEDENTI->setFieldValue("TIPO_RICHIEDENTE", type);
    }
    bool editPerson() override { return step("persona"); }
    bool editCompany() override { return step("azienda"); }
    bool step(const QString &name)
    {
        calls << name;
        return steps.isEmpty() ? false : steps.takeFirst()();
    }
};

struct ApplicantsFixture : ::testing::Test
{
    ScriptedUi sui;
    ProgramFolder folder;
    std::unique_ptr<Tdm> data;
    TableCursor *t = nullptr;

    void SetUp() override
    {
        data = std::make_unique<Tdm>(folder.path(), false);
        dm = data.get();
        t = data->ttRICHIEDENTI;
    }
    void TearDown() override
    {
        data.reset();
        dm = nullptr;
    }
    Connection &sql() { return data->Database1.connection(); }
    int applicants() { return sql().scalar("SELECT count(*) FROM RICHIEDENTI").toInt(); }
    qint64 comune(const QString &nome, const QString &prov)
    {
        return sql().scalar("SELECT ID FROM COMUNI WHERE NOME = ? AND PROV = ?", {nome, prov}).toLongLong();
    }
    void type(const char *field, const QVariant &value) { t->setFieldValue(field, value); }
    qint64 addPerson(const QString &cf, const QString &cognome)
    {
        sql().exec("INSERT INTO RICHIEDENTI (TIPO_RICHIEDENTE, PERS_CF, PERS_COGNOME) VALUES ('P', ?, ?)", {cf, cognome});
        const qint64 id = sql().lastInsertId();
        t->refresh();
        t->moveToKey(id);
        return id;
    }
};

} // namespace

TEST_F(ApplicantsFixture, SaveChecksListEveryProblemUnderOneHeading)
{
    Record r;
    for (const char *f : {"PERS_COGNOME", "PERS_NOME", "PERS_DNASCITA", "PERS_SESSO", "DENOMINAZIONE"})
        r.append(f);
    EXPECT_EQ(Applicants::validatePerson(r),
              "Sono stati rilevati i seguenti problemi:\rCognome - campo obbligatorio\rNome - campo obbligatorio\r"
              "Data di nascita - campo obbligatorio\rSesso - campo obbligatorio\r");
    EXPECT_EQ(Applicants::validateCompany(r), "Sono stati rilevati i seguenti problemi:\rDenominazione - campo obbligatorio\r");

    r.setValue("PERS_COGNOME", "  ROSSI ");
    r.setValue("PERS_NOME", "   "); // blanks only count as empty
    r.setValue("PERS_DNASCITA", QDate(1899, 12, 30)); // the zero date is no date
    r.setValue("PERS_SESSO", "F");
    r.setValue("DENOMINAZIONE", " \t");
    EXPECT_EQ(Applicants::validatePerson(r),
              "Sono stati rilevati i seguenti problemi:\rNome - campo obbligatorio\rData di nascita - campo obbligatorio\r");
    EXPECT_FALSE(Applicants::validateCompany(r).isEmpty());

    r.setValue("PERS_NOME", "MARIA");
    r.setValue("PERS_DNASCITA", QDate(1980, 12, 12));
    r.setValue("DENOMINAZIONE", "ACME SRL");
    EXPECT_EQ(Applicants::validatePerson(r), ""); // codice fiscale, municipality and codes are not required
    EXPECT_EQ(Applicants::validateCompany(r), "");
}

TEST_F(ApplicantsFixture, NuovoGoesThroughTheTypePickerAndAnnullaLeavesTheRegisterUnchanged)
{
    ScriptedDialogs dialogs;
    dialogs.type = "P";
    dialogs.steps << [] { return false; };
    t->append();
    EXPECT_FALSE(Applicants::EditRichiedente(dialogs));
    EXPECT_EQ(dialogs.calls, QStringList({"tipo", "persona"}));
    EXPECT_EQ(t->state(), TableCursor::State::Browse);
    EXPECT_EQ(applicants(), 0);

    dialogs.calls.clear();
    dialogs.type = "A";
    dialogs.steps << [this] {
        type("DENOMINAZIONE", "ACME SRL");
        return true;
    };
    t->append();
    EXPECT_TRUE(Applicants::EditRichiedente(dialogs));
    EXPECT_EQ(dialogs.calls, QStringList({"tipo", "azienda"}));
    EXPECT_EQ(applicants(), 1);
    EXPECT_EQ(t->text("TIPO_RICHIEDENTE"), "A");
    EXPECT_EQ(t->text("CDENOM"), "ACME SRL");

    // An existing row keeps its kind: no picker. Another kind opens nothing and stays in edit.
    dialogs.calls.clear();
    t->edit();
    dialogs.steps << [] { return false; };
    EXPECT_FALSE(Applicants::EditRichiedente(dialogs));
    EXPECT_EQ(dialogs.calls, QStringList({"azienda"}));
    t->edit();
    type("TIPO_RICHIEDENTE", "X");
    dialogs.calls.clear();
    EXPECT_FALSE(Applicants::EditRichiedente(dialogs));
    EXPECT_TRUE(dialogs.calls.isEmpty());
    EXPECT_EQ(t->state(), TableCursor::State::Edit);
    t->cancel();
}

TEST_F(ApplicantsFixture, InsertRichiedenteChoosesTheKindByTheLengthOfTheCode)
{
    ScriptedDialogs dialogs;
    dialogs.steps << [this] {
        EXPECT_EQ(t->text("PERS_CF"), "RSSMRA80T52F205U");
        type("PERS_COGNOME", "ROSSI");
        return true;
    };
    ASSERT_TRUE(Applicants::InsertRichiedente("RSSMRA80T52F205U", dialogs));
    EXPECT_EQ(dialogs.calls, QStringList({"persona"}));
    const qint64 person = t->key();
    EXPECT_EQ(sql().scalar("SELECT TIPO_RICHIEDENTE || PERS_CF FROM RICHIEDENTI WHERE ID_RICHIEDENTE = ?", {person}).toString(),
              "PRSSMRA80T52F205U");

    dialogs.calls.clear();
    dialogs.steps << [] { return true; };
    ASSERT_TRUE(Applicants::InsertRichiedente("12345678903", dialogs));
    EXPECT_EQ(dialogs.calls, QStringList({"azienda"}));
    EXPECT_EQ(t->text("TIPO_RICHIEDENTE"), "A");
    EXPECT_NE(t->key(), person);

    dialogs.calls.clear();
    dialogs.steps << [] { return false; };
    EXPECT_FALSE(Applicants::InsertRichiedente("RSSMRA80T52F205X", dialogs));
    EXPECT_EQ(applicants(), 2);
    EXPECT_EQ(t->state(), TableCursor::State::Browse);
}

TEST_F(ApplicantsFixture, AFailedSaveIsShownAndTheDialogOpensAgainOnWhatWasTyped)
{
    sql().exec("CREATE TEMP TRIGGER guasto BEFORE INSERT ON RICHIEDENTI BEGIN SELECT RAISE(ABORT, 'disco pieno'); END");
    ScriptedDialogs dialogs;
    dialogs.steps << [this] {
        type("PERS_COGNOME", "ROSSI");
        return true;
    };
    dialogs.steps << [this] {
        EXPECT_EQ(t->state(), TableCursor::State::Insert);
        EXPECT_EQ(t->text("PERS_COGNOME"), "ROSSI"); // nothing typed is lost
        sql().exec("DROP TRIGGER temp.guasto");
        return true;
    };
    ASSERT_TRUE(Applicants::InsertRichiedente("RSSMRA80T52F205U", dialogs));
    EXPECT_EQ(dialogs.calls, QStringList({"persona", "persona"}));
    ASSERT_EQ(sui.texts("error").size(), 1);
    EXPECT_TRUE(sui.texts("error").first().contains("disco pieno")) << sui.texts("error").first().toStdString();
    EXPECT_EQ(applicants(), 1);
}

TEST_F(ApplicantsFixture, DeletionAsksThenRefusesAnApplicantUsedByARequest)
{
    EXPECT_FALSE(Applicants::DeleteRichiedente(1)); // empty register: no question
    EXPECT_TRUE(sui.shown.isEmpty());

    const qint64 used = addPerson("A", "ROSSI");
    const qint64 free = addPerson("B", "VERDI");
    sql().exec("INSERT INTO DENUNCE (ANNO, PROGRESSIVO, STATO) VALUES (2010, 1, 'T')");
    sql().exec("INSERT INTO RICHIESTE (ID_DENUNCIA, ID_RICHIEDENTE) VALUES (1, ?)", {used});

    t->moveToKey(used);
    sui.answers << true;
    EXPECT_FALSE(Applicants::DeleteRichiedente(used));
    ASSERT_EQ(sui.shown.size(), 2);
    EXPECT_EQ(sui.shown.at(0).kind, "question");
    EXPECT_EQ(sui.shown.at(0).caption, "Avviso");
    EXPECT_EQ(sui.shown.at(0).text, "Sei sicuro di voler eliminare il richiedente selezionato?");
    EXPECT_EQ(sui.shown.at(0).icon, Ui::Icon::Information);
    EXPECT_EQ(sui.shown.at(1).kind, "box");
    EXPECT_EQ(sui.shown.at(1).caption, "Avviso");
    EXPECT_EQ(sui.shown.at(1).text,
              "Impossibile eliminare il richiedente selezionato\rperchè utilizzato nell'archivio delle richieste.");
    EXPECT_EQ(sui.shown.at(1).icon, Ui::Icon::Information);
    EXPECT_EQ(applicants(), 2);

    t->moveToKey(free);
    sui.clear();
    sui.answers << false << true;
    EXPECT_FALSE(Applicants::DeleteRichiedente(free));
    EXPECT_EQ(applicants(), 2);
    EXPECT_TRUE(Applicants::DeleteRichiedente(free));
    EXPECT_EQ(sql().scalar("SELECT group_concat(ID_RICHIEDENTE) FROM RICHIEDENTI").toLongLong(), used);
    EXPECT_EQ(sui.shown.size(), 2); // two questions, no refusal
}

TEST_F(ApplicantsFixture, ComputeButtonStopsWithoutMunicipalityOrDateAndEmptiesTheCodeWithoutSex)
{
    const qint64 roma = comune("ROMA", "RM");
    ASSERT_GT(roma, 0);
    t->append();
    type("PERS_COGNOME", "esempio"); // upper-cased for the computation
    type("PERS_NOME", "Prova");
    type("PERS_SESSO", "M");
    type("PERS_CF", "PRIMA");
    type("BELFIORE", "Z999"); // the code comes from COMUNI, not from this field

    struct Stop
    {
        const char *why;
        QVariant comune;
        QVariant nascita;
    } stops[] = {{"no municipality", QVariant(), QDate(1971, 3, 5)},
                 {"unknown municipality", 999999, QDate(1971, 3, 5)},
                 {"no birth date", roma, QVariant()}};
    for (const Stop &s : stops) {
        type("ID_COMUNE", s.comune);
        type("PERS_DNASCITA", s.nascita);
        EXPECT_FALSE(Applicants::computeCodiceFiscale()) << s.why;
        EXPECT_EQ(t->text("PERS_CF"), "PRIMA") << s.why;
    }
    type("PERS_DNASCITA", QDate(1971, 3, 5));
    EXPECT_TRUE(Applicants::computeCodiceFiscale());
    EXPECT_EQ(t->text("PERS_CF"), "SMPPRV71C05H501X");
    type("PERS_SESSO", "f");
    EXPECT_TRUE(Applicants::computeCodiceFiscale());
    EXPECT_EQ(t->text("PERS_CF"), "SMPPRV71C45H501B");
    type("PERS_SESSO", QVariant());
    EXPECT_TRUE(Applicants::computeCodiceFiscale());
    EXPECT_EQ(t->text("PERS_CF"), "");
    EXPECT_TRUE(sui.shown.isEmpty());
    t->cancel();
}

TEST_F(ApplicantsFixture, ChoosingAMunicipalityCopiesItsCodesAndDelClearsOnlyTheChoice)
{
    const qint64 milano = comune("MILANO", "MI");
    t->append();
    Applicants::chooseMunicipality(Applicants::Kind::Person, milano);
    EXPECT_EQ(t->integer("ID_COMUNE"), milano);
    EXPECT_EQ(t->text("BELFIORE"), "F205");
    EXPECT_EQ(t->text("PROV"), "MI");
    EXPECT_EQ(t->text("lkCOMUNE"), "MILANO");
    EXPECT_TRUE(t->text("PROV_SEDE").isEmpty());
    Applicants::clearMunicipality(Applicants::Kind::Person);
    EXPECT_TRUE(t->fieldValue("ID_COMUNE").isNull());
    EXPECT_EQ(t->text("BELFIORE"), "F205");
    EXPECT_EQ(t->text("PROV"), "MI");
    t->cancel();

    t->append();
    Applicants::chooseMunicipality(Applicants::Kind::Company, comune("ROMA", "RM"));
    EXPECT_EQ(t->text("BELFIORE"), "H501");
    EXPECT_EQ(t->text("PROV_SEDE"), "RM");
    EXPECT_TRUE(t->text("PROV").isEmpty());
    EXPECT_EQ(t->text("lkComune_sede"), "ROMA");
    Applicants::clearMunicipality(Applicants::Kind::Company);
    EXPECT_TRUE(t->fieldValue("ID_COMUNE_SEDE").isNull());
    EXPECT_EQ(t->text("PROV_SEDE"), "RM");
    t->cancel();
}

TEST_F(ApplicantsFixture, RegisterButtonsFollowTheTable)
{
    EXPECT_TRUE(Applicants::canInsert());
    EXPECT_FALSE(Applicants::canEdit()); // empty
    addPerson("A", "ROSSI");
    EXPECT_TRUE(Applicants::canEdit());
    t->edit();
    EXPECT_FALSE(Applicants::canInsert()); // a row is being edited
    EXPECT_FALSE(Applicants::canEdit());
    t->cancel();
    data->CloseTables();
    EXPECT_FALSE(Applicants::canInsert());
    EXPECT_FALSE(Applicants::canEdit());
}

TEST_F(ApplicantsFixture, RegisterListsEveryApplicantByCodeInPages)
{
    // Rows without a code first, then by code; enough rows for many pages, read out of order.
    QStringList expected;
    {
        Transaction tr(sql());
        for (int i = 0; i < 1000; ++i) {
            const QVariant cf = (i % 50 == 0) ? QVariant() : QVariant(QString("CF%1").arg((i * 7919) % 1000, 4, 10, QChar('0')));
            sql().exec("INSERT INTO RICHIEDENTI (TIPO_RICHIEDENTE, PERS_CF, PERS_COGNOME, DENOMINAZIONE) VALUES (?,?,?,?)",
                       {i % 5 ? "P" : "A", cf, QString("C%1").arg(i), i % 5 ? QVariant() : QVariant(QString("D%1").arg(i))});
        }
        tr.commit();
    }
    Statement s(sql(), "SELECT ID_RICHIEDENTE FROM RICHIEDENTI ORDER BY PERS_CF, ID_RICHIEDENTE");
    QList<qint64> keys;
    while (s.step())
        keys << s.value(0).toLongLong();
    t->refresh();
    RegisterModel model(*data);
    model.setMaxCachedPages(2);
    ASSERT_EQ(model.rowCount(), 1000);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), "Codice Fiscale");
    EXPECT_EQ(model.headerData(3, Qt::Horizontal).toString(), "Persona non fisica");
    for (int i : {999, 998, 500, 501, 0, 1, 130, 127, 128, 640, 639, 300, 20, 21, 19, 999})
        EXPECT_EQ(model.keyAt(i), keys.at(i)) << i;
    for (int i = 999; i >= 0; --i)
        ASSERT_EQ(model.keyAt(i), keys.at(i)) << i;
    EXPECT_LE(model.cachedRows(), 2 * PagedQueryModel::PageSize);
    RegisterModel other(*data);
    for (int i : {0, 19, 20, 777, 999})
        EXPECT_EQ(other.rowOfKey(keys.at(i)), i);
    EXPECT_EQ(other.rowOfKey(123456), -1);

    // A post through the cursor reloads the list.
    t->append();
    t->setFieldValue("TIPO_RICHIEDENTE", "P");
    t->setFieldValue("PERS_CF", "AAA");
    t->post();
    EXPECT_EQ(model.rowCount(), 1001);
    EXPECT_EQ(model.rowOfKey(t->key()), 20);
    EXPECT_EQ(model.index(20, 0).data().toString(), "AAA");
}
