#include "applicants/RegisterModel.h"
#include "applicants/gui/ApplicantEditing.h"
#include "applicants/gui/DateLineEdit.h"
#include "applicants/gui/MunicipalityCombo.h"
#include "applicants/gui/RegisterAction.h"
#include "applicants/gui/TdlgRichAz.h"
#include "applicants/gui/TdlgRichPers.h"
#include "applicants/gui/TdlgSelTipoRich.h"
#include "applicants/gui/TfrmRichPers.h"
#include "data/Tdm.h"
#include "tests/support/Printers.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/ScriptedUi.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>

#include <gtest/gtest.h>

namespace {

// Runs the step on the modal dialog of class T as soon as it is shown (gives up after a few seconds).
template <typename T>
void onModal(std::function<void(T *)> step)
{
    auto *timer = new QTimer(qApp);
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, step, tries] {
        auto *d = qobject_cast<T *>(QApplication::activeModalWidget());
        if ((d && d->isVisible()) || ++*tries > 600) {
            timer->stop();
            timer->deleteLater();
            if (d) {
                // Focus moves only inside the active window.
                d->activateWindow();
                EXPECT_TRUE(QTest::qWaitForWindowActive(d));
                step(d);
            }
        }
    });
    timer->start(5);
}

void shot(QWidget *w, const QString &name)
{
    QDir().mkpath("/tmp/shots");
    w->grab().save("/tmp/shots/" + name + ".png");
}

template <typename T = QLineEdit>
T *field(QWidget *w, const char *name)
{
    T *f = w->findChild<T *>(name);
    EXPECT_TRUE(f) << name;
    return f;
}

void click(QWidget *w, const char *name)
{
    QAbstractButton *b = w->findChild<QAbstractButton *>(name);
    ASSERT_TRUE(b) << name;
    QTest::mouseClick(b, Qt::LeftButton);
}

struct RegisterFixture : ::testing::Test
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
    qint64 person(const QString &cf, const QString &cognome, const QString &nome)
    {
        sql().exec("INSERT INTO RICHIEDENTI (TIPO_RICHIEDENTE, PERS_CF, PERS_COGNOME, PERS_NOME, PERS_SESSO, PERS_DNASCITA) "
                   "VALUES ('P', ?, ?, ?, 'M', '1971-03-05')",
                   {cf, cognome, nome});
        const qint64 id = sql().lastInsertId();
        t->refresh();
        return id;
    }
};

} // namespace

TEST_F(RegisterFixture, NuovoPersonaFisicaThroughThePickerTheFieldsAndTheComputeButton)
{
    person("ZZZ", "VERDI", "LUCA");
    sql().exec("INSERT INTO RICHIEDENTI (TIPO_RICHIEDENTE, PERS_CF, DENOMINAZIONE) VALUES ('A', '12345678903', 'ACME SRL')");
    t->refresh();
    TfrmRichPers w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(w.windowTitle(), "Anagrafica Richiedenti");
    EXPECT_EQ(w.findChild<QTabWidget *>()->tabText(0), "Dati dei richiedenti");
    QTableView *grid = w.grid();
    ASSERT_EQ(grid->model()->rowCount(), 2);
    EXPECT_EQ(grid->model()->index(0, 3).data().toString(), "ACME SRL");
    EXPECT_EQ(field<QPushButton>(&w, "bModifica")->text(), "Modifica ");
    EXPECT_TRUE(field<QPushButton>(&w, "bStampa")->isEnabled()); // PrintRichiedenti
    shot(&w, "TfrmRichPers");

    bool pickerStayed = false;
    onModal<TdlgSelTipoRich>([&](TdlgSelTipoRich *picker) {
        shot(picker, "TdlgSelTipoRich");
        EXPECT_EQ(picker->windowTitle(), "Tipo di richiesta");
        EXPECT_FALSE(picker->windowFlags() & Qt::WindowCloseButtonHint);
        QTest::keyClick(picker, Qt::Key_Escape);
        picker->close();
        pickerStayed = picker->isVisible();
        click(picker, "bPersonaFisica");
    });
    onModal<TdlgRichPers>([&](TdlgRichPers *d) {
        EXPECT_EQ(d->windowTitle(), "Richiedente - Persona Fisica");
        EXPECT_EQ(d->findChild<QLabel *>("cbComuneHint")->text(), "Premere CANC per azzerare la scelta del comune");
        QLineEdit *cognome = field(d, "eCognome");
        EXPECT_TRUE(cognome->hasFocus()); // the dialog opens on its first field
        QTest::keyClicks(cognome, "rossi");
        EXPECT_EQ(cognome->text(), "ROSSI");
        QTest::keyClick(cognome, Qt::Key_Return); // Enter moves on, as Tab does
        EXPECT_TRUE(field(d, "eNome")->hasFocus());
        QTest::keyClicks(field(d, "eNome"), "maria");
        auto *comune = field<MunicipalityCombo>(d, "cbComune");
        comune->setFocus();
        QTest::keyClicks(comune->lineEdit(), "milano");
        // The keyboard goes to the list of names that opened under the field, as it does for a user.
        ASSERT_TRUE(comune->completer()->popup()->isVisible());
        QTest::keyClick(comune->completer()->popup(), Qt::Key_Return);
        EXPECT_EQ(comune->currentText(), "MILANO (MI)");
        EXPECT_EQ(field(d, "eBelfiore")->text(), "F205");
        EXPECT_EQ(field(d, "eProv")->text(), "MI");
        auto *nascita = field<DateLineEdit>(d, "eDataNascita");
        nascita->setFocus();
        nascita->setCursorPosition(0);
        QTest::keyClicks(nascita, "12121980");
        EXPECT_EQ(nascita->date(), QDate(1980, 12, 12));

        click(d, "bCalcolaCF"); // no sex yet: the code is emptied
        EXPECT_EQ(field(d, "eCodFis")->text(), "");
        auto *sesso = field<QComboBox>(d, "cbSesso");
        sesso->setFocus();
        QTest::keyClick(sesso, Qt::Key_F);
        EXPECT_EQ(sesso->currentText(), "Femminile");
        click(d, "bCalcolaCF");
        EXPECT_EQ(field(d, "eCodFis")->text(), "RSSMRA80T52F205U");
        shot(d, "TdlgRichPers");
        click(d, "bSalva");
    });
    click(&w, "bNuovo");
    EXPECT_TRUE(pickerStayed);
    EXPECT_TRUE(sui.shown.isEmpty()) << sui.texts().join(" | ").toStdString();

    ASSERT_EQ(sql().scalar("SELECT count(*) FROM RICHIEDENTI").toInt(), 3);
    Statement s(sql(), "SELECT TIPO_RICHIEDENTE, PERS_CF, PERS_COGNOME, PERS_NOME, PERS_SESSO, PERS_DNASCITA, BELFIORE, PROV "
                       "FROM RICHIEDENTI WHERE PERS_COGNOME = 'ROSSI'");
    ASSERT_TRUE(s.step());
    QStringList stored;
    for (int i = 0; i < 8; ++i)
        stored << s.value(i).toString();
    EXPECT_EQ(stored, QStringList({"P", "RSSMRA80T52F205U", "ROSSI", "MARIA", "F", "1980-12-12", "F205", "MI"}));
    // The list shows it, current, in its place by code.
    EXPECT_EQ(grid->model()->rowCount(), 3);
    EXPECT_EQ(grid->currentIndex().row(), 1);
    EXPECT_EQ(grid->model()->index(1, 0).data().toString(), "RSSMRA80T52F205U");
    EXPECT_EQ(t->text("PERS_CF"), "RSSMRA80T52F205U");
}

TEST_F(RegisterFixture, NuovoPersonaNonFisicaIsCheckedAndDelClearsOnlyTheMunicipality)
{
    TfrmRichPers w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_FALSE(field<QPushButton>(&w, "bModifica")->isEnabled()); // empty register

    onModal<TdlgSelTipoRich>([](TdlgSelTipoRich *picker) { click(picker, "bPersonaNonFisica"); });
    onModal<TdlgRichAz>([&](TdlgRichAz *d) {
        EXPECT_EQ(d->windowTitle(), "Richiedente - Persona non Fisica");
        EXPECT_EQ(d->findChild<QTabWidget *>()->tabText(0), "Dati del soggetto");
        click(d, "bSalva");
        EXPECT_EQ(sui.texts("message"), QStringList({"Sono stati rilevati i seguenti problemi:\rDenominazione - campo obbligatorio\r"}));
        EXPECT_TRUE(d->isVisible()); // stays open with what was typed
        QTest::keyClicks(field(d, "ePIva"), "12345678903");
        QTest::keyClicks(field(d, "eDenominazione"), "acme s.r.l.");
        EXPECT_EQ(field(d, "eDenominazione")->text(), "ACME S.R.L.");
        auto *sede = field<MunicipalityCombo>(d, "cbComuneSede");
        sede->setFocus();
        QTest::keyClicks(sede->lineEdit(), "roma (");
        ASSERT_TRUE(sede->completer()->popup()->isVisible());
        QTest::keyClick(sede->completer()->popup(), Qt::Key_Tab); // leaving the field takes the first match
        EXPECT_TRUE(field(d, "eProvSede")->hasFocus());
        EXPECT_EQ(sede->currentText(), "ROMA (RM)");
        EXPECT_EQ(sede->currentId(), sql().scalar("SELECT ID FROM COMUNI WHERE CODICE = 'H501' AND NOME = 'ROMA'").toLongLong());
        EXPECT_EQ(field(d, "eProvSede")->text(), "RM");
        shot(d, "TdlgRichAz");
        sede->showPopup();
        shot(sede->view()->window(), "TdlgRichAz_comuni");
        sede->hidePopup();
        sede->setFocus();
        QTest::keyClick(sede->lineEdit(), Qt::Key_Delete);
        EXPECT_EQ(sede->currentText(), "");
        EXPECT_EQ(field(d, "eBelfiore")->text(), "H501");
        click(d, "bSalva");
    });
    click(&w, "bNuovo");
    Statement s(sql(), "SELECT TIPO_RICHIEDENTE || ' ' || PERS_CF || ' ' || DENOMINAZIONE || ' ' || BELFIORE || ' ' || PROV_SEDE, "
                       "ID_COMUNE_SEDE FROM RICHIEDENTI");
    ASSERT_TRUE(s.step());
    EXPECT_EQ(s.value(0).toString(), "A 12345678903 ACME S.R.L. H501 RM");
    EXPECT_TRUE(s.value(1).isNull());
    EXPECT_TRUE(field<QPushButton>(&w, "bModifica")->isEnabled());
}

TEST_F(RegisterFixture, ModificaAnnullaAndEliminaOfAUsedApplicant)
{
    const qint64 rossi = person("RSSMRA71C05H501X", "ROSSI", "MARIO");
    sql().exec("INSERT INTO RICHIESTE (ID_DENUNCIA, ID_RICHIEDENTE) VALUES (1, ?)", {rossi});
    TfrmRichPers w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));

    onModal<TdlgRichPers>([&](TdlgRichPers *d) {
        EXPECT_EQ(field(d, "eCognome")->text(), "ROSSI");
        EXPECT_EQ(field<DateLineEdit>(d, "eDataNascita")->date(), QDate(1971, 3, 5));
        EXPECT_EQ(field<QComboBox>(d, "cbSesso")->currentText(), "Maschile");
        QTest::keyClicks(field(d, "eCognome"), "XYZ");
        EXPECT_EQ(dm->ttRICHIEDENTI->state(), TableCursor::State::Edit);
        EXPECT_FALSE(QApplication::activeModalWidget()->parentWidget() == nullptr);
        click(d, "bAnnulla");
    });
    QTableView *grid = w.grid();
    const QRect r = grid->visualRect(grid->model()->index(0, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    EXPECT_EQ(sql().scalar("SELECT PERS_COGNOME FROM RICHIEDENTI").toString(), "ROSSI");
    EXPECT_EQ(t->state(), TableCursor::State::Browse);

    // "Nuovo" and "Modifica " are off while a row is being edited.
    t->edit();
    EXPECT_FALSE(field<QPushButton>(&w, "bNuovo")->isEnabled());
    EXPECT_FALSE(field<QPushButton>(&w, "bModifica")->isEnabled());
    t->cancel();
    EXPECT_TRUE(field<QPushButton>(&w, "bNuovo")->isEnabled());

    sui.answers << true;
    click(&w, "bElimina");
    EXPECT_EQ(sui.lastText(), "Impossibile eliminare il richiedente selezionato\rperchè utilizzato nell'archivio delle richieste.");
    EXPECT_EQ(grid->model()->rowCount(), 1);

    // An applicant no request uses goes; the list keeps its place.
    const qint64 bianchi = person("BNCNNA80A41H501Z", "BIANCHI", "ANNA");
    const qint64 verdi = person("VRDLCU80A01H501Z", "VERDI", "LUCA");
    ASSERT_EQ(grid->model()->rowCount(), 1); // rows added by SQL show at the next reload
    static_cast<RegisterModel *>(grid->model())->reload();
    ASSERT_EQ(grid->model()->rowCount(), 3);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, grid->visualRect(grid->model()->index(0, 1)).center());
    EXPECT_EQ(t->key(), bianchi);
    sui.answers << true;
    click(&w, "bElimina");
    EXPECT_EQ(grid->model()->rowCount(), 2);
    EXPECT_EQ(grid->currentIndex().row(), 0);
    EXPECT_EQ(t->key(), rossi);
    EXPECT_NE(t->key(), verdi);
}

TEST_F(RegisterFixture, InsertRichiedenteOpensTheDialogOfTheCodeWithTheCodeFilledIn)
{
    onModal<TdlgRichPers>([](TdlgRichPers *d) {
        EXPECT_EQ(field(d, "eCodFis")->text(), "RSSMRA80T52F205U");
        click(d, "bAnnulla");
    });
    EXPECT_FALSE(ApplicantEditing::InsertRichiedente(nullptr, "RSSMRA80T52F205U"));
    onModal<TdlgRichAz>([](TdlgRichAz *d) {
        EXPECT_EQ(field(d, "ePIva")->text(), "12345678903");
        QTest::keyClicks(field(d, "eDenominazione"), "DITTA");
        click(d, "bSalva");
    });
    EXPECT_TRUE(ApplicantEditing::InsertRichiedente(nullptr, "12345678903"));
    EXPECT_EQ(t->text("DENOMINAZIONE"), "DITTA");
    EXPECT_EQ(sql().scalar("SELECT count(*) FROM RICHIEDENTI").toInt(), 1);
}

TEST(DateLineEdit, RefusesWhatIsNoDateWhereItIsTypedAndEmptyIsNoDate)
{
    DateLineEdit e;
    e.show();
    struct Case
    {
        const char *typed;
        const char *shown;
        QDate date;
    } cases[] = {
        {"05031971", "05/03/1971", QDate(1971, 3, 5)},
        {"31022020", "31/0_/____", QDate()},  // no 31 February: refused at the month
        {"45", "4_/__/____", QDate()},        // no day 45
        {"1213", "12/1_/____", QDate()},      // no month 13
        {"29022021", "29/02/202_", QDate()},  // 2021 has no 29 February
        {"29022024", "29/02/2024", QDate(2024, 2, 29)},
        {"0a1b01c2000", "01/01/2000", QDate(2000, 1, 1)}, // letters have no place
    };
    for (const Case &c : cases) {
        e.setDate(QDate());
        e.setCursorPosition(0);
        QTest::keyClicks(&e, c.typed);
        EXPECT_EQ(e.displayText(), c.shown) << c.typed;
        EXPECT_EQ(e.date(), c.date) << c.typed;
    }
    // Emptying the field is no date: date() invalid, stored as NULL by the dialogs.
    e.setDate(QDate(2000, 1, 1));
    e.selectAll();
    QTest::keyClick(&e, Qt::Key_Backspace);
    EXPECT_FALSE(e.date().isValid());
}
