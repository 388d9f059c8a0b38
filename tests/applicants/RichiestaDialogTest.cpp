#include "applicants/gui/ProvvedimentoCombo.h"
#include "applicants/gui/RichiestaDateEdit.h"
#include "applicants/gui/TdlgRichiesta.h"
#include "communications/gui/TdlgDenunce.h"
#include "tests/applicants/RichiestaTestSupport.h"
#include "tests/support/Shots.h"

#include <QApplication>
#include <QComboBox>
#include <QTableView>
#include <QTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

struct RichiestaDialogFixture : RegisterFixture
{
    ScriptedApplicantDialogs dialogs;
    ScriptedSelection selection;
    std::unique_ptr<TdlgRichiesta> dlg;
    TableCursor *r = nullptr;
    qint64 rossi = 0;

    void SetUp() override
    {
        RegisterFixture::SetUp();
        rossi = person("RSSMRA80A01H501U", "ROSSI", "MARIO");
        communication();
        r = dm->ttRICHIESTE;
        dlg = std::make_unique<TdlgRichiesta>(dialogs, selection);
    }
    void TearDown() override
    {
        dlg.reset();
        RegisterFixture::TearDown();
    }
    void open()
    {
        dlg->show();
        QApplication::setActiveWindow(dlg.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    }
    template <typename T = QLineEdit>
    T *child(const char *name)
    {
        T *w = dlg->findChild<T *>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QWidget *focused() { return QApplication::focusWidget(); }
};

// Types into a field as the user does: entering it first.
void type(QLineEdit *field, const char *text)
{
    field->setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(field, text);
}

// Clicks a button that closes the dialog; a dialog still open fails the test instead of hanging it.
void clickToClose(QWidget *dialog, const char *button)
{
    QTest::mouseClick(dialog->findChild<QToolButton *>(button), Qt::LeftButton);
    if (dialog->isVisible()) {
        ADD_FAILURE() << button << " left the dialog open";
        static_cast<QDialog *>(dialog)->done(QDialog::Rejected);
    }
}

// Runs the step once the modal dialog of that name is up; gives up (closing whatever is modal) after
// a few seconds, so that a missing dialog fails the test instead of hanging it.
void whenModal(const QString &name, std::function<void(QWidget *)> step, int tries = 300)
{
    QTimer::singleShot(10, [=] {
        QWidget *m = QApplication::activeModalWidget();
        if (m && m->objectName() == name) {
            QApplication::setActiveWindow(m);
            EXPECT_TRUE(QTest::qWaitForWindowActive(m));
            step(m);
        } else if (tries > 0) {
            whenModal(name, step, tries - 1);
        } else {
            ADD_FAILURE() << "no dialog " << name.toStdString();
            if (auto *d = qobject_cast<QDialog *>(m))
                d->done(QDialog::Rejected);
        }
    });
}

} // namespace

TEST_F(RichiestaDialogFixture, EnterInTheCodeBoxSearchesAndMovesOnOnlyWhenFound)
{
    Communications::BeginNewRequest();
    open();
    auto *box = child("richsearch");
    auto *cognome = child("dbCognome");
    EXPECT_EQ(focused(), box);
    EXPECT_EQ(box->maxLength(), 16);

    // Enter in the empty box, and on 15 characters: the message, the focus stays.
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClicks(box, "rssmra80a01h501");
    EXPECT_EQ(box->text(), "RSSMRA80A01H501");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(sui.texts("message"), QStringList(2, "Il Codice Fiscale del Richiedente inserito non è valido"));
    EXPECT_EQ(focused(), box);
    EXPECT_EQ(box->text(), "RSSMRA80A01H501");

    // A known code: the applicant shows at once and the focus moves to the provision.
    QTest::keyClicks(box, "u");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(r->integer("ID_RICHIEDENTE"), rossi);
    EXPECT_EQ(cognome->text(), "ROSSI");
    EXPECT_EQ(child("dbCodFis")->text(), "RSSMRA80A01H501U");
    EXPECT_EQ(focused(), child<ProvvedimentoCombo>("cbCodice"));

    // An unknown code whose dialog is cancelled: the focus stays in the box, the applicant too.
    box->setFocus();
    box->clear();
    QTest::keyClicks(box, "VRDGPP70A01F205X");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(dialogs.calls, QStringList{"persona"});
    EXPECT_EQ(focused(), box);
    EXPECT_EQ(cognome->text(), "ROSSI");

    // The selection list changes the applicant shown too.
    const qint64 acme = company("01234567890", "ACME S.R.L.");
    selection.choice = acme;
    QTest::mouseClick(child<QPushButton>("bSelezionaElenco"), Qt::LeftButton);
    EXPECT_EQ(child("dbDenominazione")->text(), "ACME S.R.L.");
    EXPECT_EQ(cognome->text(), "");
}

TEST_F(RichiestaDialogFixture, ProvisionNumberAndDatesReachTheRow)
{
    request(rossi, "01", "123");
    ASSERT_TRUE(Communications::BeginEditRequest());
    open();
    EXPECT_EQ(child("richsearch")->text(), ""); // emptied at every opening, the applicant shown
    EXPECT_EQ(child("dbCognome")->text(), "ROSSI");
    auto *codice = child<ProvvedimentoCombo>("cbCodice");
    EXPECT_EQ(codice->currentText(), "PERMESSO DI COSTRUIRE");
    EXPECT_GT(codice->count(), 10);

    codice->setFocus();
    QTest::keyClick(codice, Qt::Key_Down);
    EXPECT_EQ(r->text("CODICE"), "02");
    QTest::keyClick(codice, Qt::Key_Delete);
    EXPECT_EQ(codice->currentIndex(), -1);
    EXPECT_TRUE(r->fieldValue("CODICE").isNull());

    auto *numero = child("eNumero");
    numero->setFocus();
    numero->selectAll();
    QTest::keyClicks(numero, "45a6-78901234567890");
    EXPECT_EQ(numero->text(), "4567890123456789");
    EXPECT_EQ(r->text("NUMERO"), "4567890123456789");

    // What cannot become a date is refused where it is typed; a whole date reaches the row at once,
    // and Enter moves on.
    auto *inizio = child<RichiestaDateEdit>("eDataInizio");
    inizio->setFocus();
    QTest::keyClicks(inizio, "29022019");
    EXPECT_EQ(inizio->displayText(), "29/02/201_");
    EXPECT_TRUE(r->fieldValue("DATA_INIZIO").isNull());
    QTest::keyClick(inizio, Qt::Key_Backspace);
    QTest::keyClick(inizio, Qt::Key_Backspace);
    QTest::keyClicks(inizio, "020");
    EXPECT_EQ(r->date("DATA_INIZIO"), QDate(2020, 2, 29));
    QTest::keyClick(inizio, Qt::Key_Return);
    EXPECT_EQ(focused(), child<RichiestaDateEdit>("eDataFine"));
    // Emptied, it stores no date.
    inizio->setFocus();
    inizio->selectAll();
    QTest::keyClick(inizio, Qt::Key_Backspace);
    QTest::keyClick(inizio, Qt::Key_Tab);
    EXPECT_TRUE(r->fieldValue("DATA_INIZIO").isNull());
    EXPECT_TRUE(sui.shown.isEmpty());
}

TEST_F(RichiestaDialogFixture, OnlyTheToolbarClosesTheDialog)
{
    Communications::BeginNewRequest();
    open();
    EXPECT_FALSE(dlg->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(dlg->windowTitle(), "Dettaglio richiesta");
    QTest::keyClick(dlg.get(), Qt::Key_Escape);
    dlg->close();
    EXPECT_TRUE(dlg->isVisible());

    auto *salva = child<QToolButton>("bSalvaEdEsci");
    EXPECT_EQ(salva->text(), "Salva ed esci");
    EXPECT_EQ(salva->toolTip(), "I dati inseriti vengono salvati nel database\r\ne la finestra viene chiusa, con il ritorno alla "
                                "\r\nscheda che riporta l'elenco delle richieste.\r\n");
    auto *esci = child<QToolButton>("bEsciSenzaSalvare");
    EXPECT_EQ(esci->toolTip(), "Ritorna alla scheda con l'elenco delle richieste \r\nsenza salvare i dati fino ad ora inseriti.\r\n");

    // Saving without applicant and code is refused; a date left half typed goes back to the row's.
    auto *fine = child<RichiestaDateEdit>("eDataFine");
    fine->setFocus();
    QTest::keyClicks(fine, "3112");
    QTest::mouseClick(salva, Qt::LeftButton);
    EXPECT_EQ(sui.texts("message"), QStringList{"I seguenti campi sono stati omessi o sono errati:\rRichiedente\rCodice del Provvedimento\r"});
    EXPECT_EQ(fine->displayText(), "__/__/____");
    EXPECT_TRUE(dlg->isVisible());

    QTest::keyClicks(child("richsearch"), "RSSMRA80A01H501U");
    QTest::keyClick(child("richsearch"), Qt::Key_Return);
    child<ProvvedimentoCombo>("cbCodice")->setCurrentIndex(4);
    QTest::keyClicks(child("eNumero"), "2018001");
    type(child<RichiestaDateEdit>("eDataInizio"), "01032018");
    type(fine, "28022019");
    saveShot(dlg.get(), "richiesta");
    QTest::mouseClick(salva, Qt::LeftButton);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_FALSE(dm->Database1.inTransaction());
    Statement s(sql(), "SELECT ID_RICHIEDENTE, CODICE, NUMERO, DATA_INIZIO, DATA_FINE FROM RICHIESTE");
    ASSERT_TRUE(s.step());
    EXPECT_EQ(s.value(0).toLongLong(), rossi);
    EXPECT_EQ(s.value(1).toString(), "05");
    EXPECT_EQ(s.value(2).toString(), "2018001");
    EXPECT_EQ(s.value(3).toString(), "2018-03-01");
    EXPECT_EQ(s.value(4).toString(), "2019-02-28");

    // "Esci senza salvare" closes with OK as well, leaving nothing behind.
    Communications::BeginNewRequest();
    open();
    QTest::keyClicks(child("eNumero"), "77");
    QTest::mouseClick(esci, Qt::LeftButton);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_FALSE(dm->Database1.inTransaction());
    EXPECT_EQ(count("RICHIESTE"), 1);
}

TEST_F(RichiestaDialogFixture, NuovaOfTheCommunicationWindowRunsTheDialogWithTheRealApplicantDialogs)
{
    TdlgDenunce w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    auto *nuova = w.findChild<QToolButton *>("bNuovaRich");
    ASSERT_TRUE(nuova && nuova->isEnabled());

    // An unknown partita IVA: the non-natural person's dialog opens with it, is saved, and the
    // request takes it; then "Esci senza salvare" takes both away again.
    auto enterNewCompany = [](QWidget *d) {
        auto *box = d->findChild<QLineEdit *>("richsearch");
        QTest::keyClicks(box, "01234567890");
        whenModal("dlgRichAz", [](QWidget *az) {
            EXPECT_EQ(az->findChild<QLineEdit *>("ePIva")->text(), "01234567890");
            QTest::keyClicks(az->findChild<QLineEdit *>("eDenominazione"), "nuova s.r.l.");
            QTest::mouseClick(az->findChild<QToolButton *>("bSalva"), Qt::LeftButton);
        });
        QTest::keyClick(box, Qt::Key_Return);
        QApplication::setActiveWindow(d); // back from the applicant's dialog
        EXPECT_EQ(d->findChild<QLineEdit *>("dbDenominazione")->text(), "NUOVA S.R.L.");
        d->findChild<QComboBox *>("cbCodice")->setCurrentIndex(0);
        type(d->findChild<QLineEdit *>("eDataInizio"), "01012018");
        type(d->findChild<QLineEdit *>("eDataFine"), "31122018");
    };
    whenModal("TdlgRichiesta", [&](QWidget *d) {
        enterNewCompany(d);
        clickToClose(d, "bEsciSenzaSalvare");
    });
    QTest::mouseClick(nuova, Qt::LeftButton);
    EXPECT_FALSE(dm->Database1.inTransaction());
    EXPECT_EQ(onDisk(folder.dataPath(), "RICHIEDENTI"), 1);
    EXPECT_EQ(onDisk(folder.dataPath(), "RICHIESTE"), 0);
    EXPECT_EQ(w.grid()->model()->rowCount(), 0);

    whenModal("TdlgRichiesta", [&](QWidget *d) {
        enterNewCompany(d);
        clickToClose(d, "bSalvaEdEsci");
    });
    QTest::mouseClick(nuova, Qt::LeftButton);
    EXPECT_FALSE(dm->Database1.inTransaction());
    EXPECT_EQ(onDisk(folder.dataPath(), "RICHIEDENTI"), 2);
    EXPECT_EQ(onDisk(folder.dataPath(), "RICHIESTE"), 1);
    ASSERT_EQ(w.grid()->model()->rowCount(), 1);
    EXPECT_EQ(w.grid()->model()->index(0, 4).data().toString(), "NUOVA S.R.L.");

    // "Modifica" opens it on that request, which "Esci senza salvare" leaves as it was.
    whenModal("TdlgRichiesta", [&](QWidget *d) {
        EXPECT_EQ(d->findChild<QLineEdit *>("dbDenominazione")->text(), "NUOVA S.R.L.");
        QTest::keyClicks(d->findChild<QLineEdit *>("eNumero"), "5");
        clickToClose(d, "bEsciSenzaSalvare");
    });
    QTest::mouseClick(w.findChild<QToolButton *>("bEditRich"), Qt::LeftButton);
    EXPECT_TRUE(sql().scalar("SELECT NUMERO FROM RICHIESTE").isNull());
    EXPECT_FALSE(dm->Database1.inTransaction());
}
