#include "app/DenunceListModel.h"
#include "app/gui/TdlgAboutBox.h"
#include "app/gui/TdlgImpostazioni.h"
#include "app/gui/Tfrmmain.h"
#include "data/Tdm.h"
#include "tests/support/Printers.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/Shots.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

struct MainWindowFixture : ::testing::Test
{
    ScriptedUi sui;
    ProgramFolder folder;
    std::unique_ptr<Tdm> data;
    std::unique_ptr<Tfrmmain> window;

    void SetUp() override
    {
        DatiEnte = TDatiEnte();
        PrimaEsecuzione = true;
        ProvaUpdate = 0;
        UpdateStarted = false;
        data = std::make_unique<Tdm>(folder.path(), false);
        dm = data.get();
        window = std::make_unique<Tfrmmain>();
        window->setStartupWait(0);
    }
    void TearDown() override
    {
        window.reset();
        data.reset();
        dm = nullptr;
    }
};

void closeModalLater(QString *name)
{
    QTimer::singleShot(50, [name] {
        if (QWidget *w = QApplication::activeModalWidget()) {
            *name = w->objectName();
            saveShot(w, w->objectName());
            if (auto *d = qobject_cast<QDialog *>(w))
                d->reject();
        }
    });
}

} // namespace

TEST_F(MainWindowFixture, ShowsItsPagesActionsAndYearLinks)
{
    EXPECT_EQ(window->windowTitle(), " Tarvido autorizzazioni e concessioni 2019");
    ASSERT_EQ(window->pagine->count(), 3);
    EXPECT_EQ(window->pagine->tabText(0), "Pagina principale");
    EXPECT_EQ(window->pagine->tabText(1), "Trasmissione dati");
    EXPECT_EQ(window->pagine->tabText(2), QString::fromUtf8("Utilità"));
    const QString links = window->htlbl1->text();
    for (int y = 2006; y <= 2018; ++y)
        EXPECT_TRUE(links.contains(QString("href=\"A%1\"").arg(y))) << y;
    EXPECT_TRUE(links.contains("href=\"ARICH\""));
    EXPECT_TRUE(links.contains("href=\"ASEARCH\""));
    EXPECT_EQ(window->actConfigurazione->text(), "Configurazione dati ente");
    EXPECT_EQ(window->actRipristino->text(), "Ripristino dati");
    EXPECT_EQ(window->actAggiornamento->text(), "Aggiornamento automatico");
    window->resize(1024, 700);
    for (int i = 0; i < 3; ++i) {
        window->pagine->setCurrentIndex(i);
        saveShot(window.get(), QString("main-page-%1").arg(i));
    }
}

TEST_F(MainWindowFixture, ListsCommunicationsWithTheirStateImageAndText)
{
    Connection &c = data->Database1.connection();
    c.exec("INSERT INTO DENUNCE (ANNO, PROGRESSIVO, DESCRIZIONE, STATO) VALUES (2010, 1, 'Comunicazione n. 1 / 2010', 'A')");
    c.exec("INSERT INTO DENUNCE (ANNO, PROGRESSIVO, DESCRIZIONE, STATO) VALUES (2010, 2, 'Comunicazione n. 2 / 2010', 'C')");
    c.exec("INSERT INTO DENUNCE (ANNO, PROGRESSIVO, DESCRIZIONE, STATO) VALUES (2009, 1, 'Comunicazione n. 1 / 2009', 'T')");
    c.exec("INSERT INTO DENUNCE (ANNO, PROGRESSIVO, DESCRIZIONE, STATO) VALUES (2009, 2, 'Comunicazione n. 2 / 2009', 'X')");
    window->listModel->reload();
    QAbstractItemModel *m = window->listadenunce->model();
    ASSERT_EQ(m->rowCount(), 4);
    const char *texts[] = {"Aperta", "Creata", "Trasmessa", ""};
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(m->index(r, 2).data().toString(), texts[r]);
        EXPECT_EQ(m->index(r, 2).data(Qt::DecorationRole).value<QIcon>().isNull(), r == 3);
    }
    EXPECT_EQ(m->index(2, 1).data().toString(), "Comunicazione n. 1 / 2009");
    EXPECT_EQ(DenunceListModel::stateImage("T"), 2);
    // Choosing a row makes it the current communication.
    window->listadenunce->setCurrentIndex(m->index(1, 0));
    EXPECT_EQ(data->ttDENUNCE->integer("PROGRESSIVO"), 2);
    window->pagine->setCurrentIndex(1);
    window->resize(1024, 700);
    saveShot(window.get(), "main-list");
}

TEST_F(MainWindowFixture, FirstStartAsksForUpdatesThenOpensTheSettings)
{
    sui.answers.enqueue(false); // no update check
    QString dialog;
    closeModalLater(&dialog);
    window->FormShow(46000);
    ASSERT_EQ(sui.shown.size(), 1);
    EXPECT_EQ(sui.shown[0].caption, "Verifica aggiornamenti");
    EXPECT_EQ(sui.shown[0].text, QString::fromUtf8("Si vuole verificare se è disponibile qualche aggiornamento del Programma ?"));
    EXPECT_EQ(sui.shown[0].icon, Ui::Icon::Question);
    EXPECT_EQ(dialog, "dlgImpostazioni");
    EXPECT_EQ(ProvaUpdate, 46000); // recorded even after No
}

TEST_F(MainWindowFixture, CompleteSettingsNoQuestionButAMissingNameIsReported)
{
    PrimaEsecuzione = false;
    ProvaUpdate = 45999;
    DatiEnte.Belfiore = "H501";
    window->FormShow(46000);
    EXPECT_EQ(sui.texts(), QStringList{"I dati dell'Ente non sono completi."});
    EXPECT_EQ(sui.shown[0].kind, "message");
}

TEST_F(MainWindowFixture, ClosingAsksAndNoKeepsTheProgramRunning)
{
    window->show();
    sui.answers.enqueue(false);
    EXPECT_FALSE(window->close());
    ASSERT_EQ(sui.shown.size(), 1);
    EXPECT_EQ(sui.shown[0].caption, "Fine programma");
    EXPECT_EQ(sui.shown[0].text, "Si vuole terminare il programma ?");
    EXPECT_EQ(sui.shown[0].icon, Ui::Icon::Information);
    EXPECT_TRUE(sui.shown[0].defaultNo);
    sui.answers.enqueue(true);
    EXPECT_TRUE(window->close());

    // While an update downloads the window closes without asking.
    window->show();
    sui.clear();
    UpdateStarted = true;
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(sui.shown.isEmpty());
    UpdateStarted = false;
}

TEST_F(MainWindowFixture, SettingsDialogValidatesAndStoresAsTyped)
{
    TdlgImpostazioni *d = window->dlgImpostazioni;
    DatiEnte.Denominazione = "COMUNE DI PROVA";
    d->show();
    EXPECT_EQ(d->edenom->text(), "COMUNE DI PROVA");
    d->edenom->clear();
    QTest::keyClicks(d->edenom, "comune di roma");
    EXPECT_EQ(d->edenom->text(), "COMUNE DI ROMA"); // upper case as typed
    QTest::keyClicks(d->ecodfisc, "0243875058");
    d->bSalvaConf->click();
    ASSERT_EQ(sui.shown.size(), 1);
    EXPECT_EQ(sui.shown[0].kind, "message");
    EXPECT_TRUE(sui.shown[0].text.startsWith("Sono stati riscontrati i seguenti problemi:\rIndirizzo - campo obbligatorio\r"));
    EXPECT_TRUE(sui.shown[0].text.endsWith("Codice Fiscale Ente - valore errato o mancante\r"));
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(DatiEnte.Denominazione, "COMUNE DI PROVA");

    QTest::keyClicks(d->eindirizzo, "via del corso 1 ");
    QTest::keyClicks(d->ecap, "00186");
    QTest::keyClicks(d->ecitta, "roma");
    QTest::keyClicks(d->eBelf, "h501");
    QTest::keyClicks(d->eprov, "rm");
    QTest::keyClicks(d->ecodfisc, "6");
    QTest::keyClicks(d->ecodfisc, "9"); // beyond 11 characters: refused
    EXPECT_EQ(d->ecodfisc->text(), "02438750586");
    QKeyEvent foreign(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("Ā")); // not in Windows-1252
    QApplication::sendEvent(d->eresp, &foreign);
    QTest::keyClicks(d->eresp, "b");
    EXPECT_EQ(d->eresp->text(), "B");
    saveShot(d, "settings");
    d->bSalvaConf->click();
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(DatiEnte.Denominazione, "COMUNE DI ROMA");
    EXPECT_EQ(DatiEnte.Indirizzo, "VIA DEL CORSO 1 "); // stored as typed, not trimmed
    EXPECT_EQ(DatiEnte.Belfiore, "H501");

    // "Annulla" after changes leaves the settings as they are; reopening shows them.
    d->show();
    d->edenom->setText("ALTRO");
    d->bAnnullaConf->click();
    EXPECT_EQ(DatiEnte.Denominazione, "COMUNE DI ROMA");
    d->show();
    EXPECT_EQ(d->edenom->text(), "COMUNE DI ROMA");
    d->hide();
}

TEST_F(MainWindowFixture, AboutBoxShowsTheVersionAndClosesFromItsLink)
{
    QString dialog;
    QTimer::singleShot(50, [&dialog] {
        auto *box = qobject_cast<TdlgAboutBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        dialog = box->ver->text();
        saveShot(box, "about");
        QTest::mouseClick(box->lChiudi, Qt::LeftButton);
    });
    window->actInfo->trigger();
    EXPECT_EQ(dialog, "Versione: 8.14");
}
