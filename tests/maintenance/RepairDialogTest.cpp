#include "data/Globals.h"
#include "data/Tdm.h"
#include "maintenance/gui/BackupActions.h"
#include "maintenance/gui/TdlgRepairBox.h"
#include "tests/maintenance/BackupTestSupport.h"
#include "tests/support/Printers.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/Shots.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QStringList items(QListWidget *l)
{
    QStringList out;
    for (int i = 0; i < l->count(); ++i)
        out << l->item(i)->text();
    return out;
}

QStringList selected(QListWidget *l)
{
    QStringList out;
    for (int i = 0; i < l->count(); ++i) {
        if (l->item(i)->isSelected())
            out << l->item(i)->text();
    }
    return out;
}

void fillRichiedenti(const QString &programFolder, int rows)
{
    Tdm data(programFolder, false);
    dm = &data;
    data.Database1.startTransaction();
    for (int i = 0; i < rows; ++i) {
        data.ttRICHIEDENTI->append();
        data.ttRICHIEDENTI->setFieldValue("TIPO_RICHIEDENTE", "A");
        data.ttRICHIEDENTI->setFieldValue("DENOMINAZIONE", QString("DITTA %1").arg(i));
        data.ttRICHIEDENTI->post();
    }
    data.Database1.commit();
    dm = nullptr;
}

// Runs `drive` once a modal window is up (the dialog lets events through while it fills its lists).
void whenModal(const std::function<void(QWidget *)> &drive)
{
    QTimer::singleShot(10, [drive] {
        if (QWidget *modal = QApplication::activeModalWidget())
            drive(modal);
        else
            whenModal(drive);
    });
}

} // namespace

TEST(RepairDialog, ListsTheTablesMovesThemAndRepairsThroughTheAction)
{
    ScriptedUi sui;
    ProgramFolder folder;
    fillRichiedenti(folder.path(), 20000);
    Tdm data(folder.path(), false);
    dm = &data;
    // A file that is no table of the program: its repair fails and the loop goes on.
    writeFile(folder.dataPath() + "ESTRANEO.DAT", "x");

    bool closedMeanwhile = false;
    bool shotTaken = false;
    whenModal([&](QWidget *modal) {
        auto *d = qobject_cast<TdlgRepairBox *>(modal);
        ASSERT_NE(d, nullptr);
        closedMeanwhile = !data.Database1.isOpen() && !data.ttRICHIEDENTI->isOpen();
        EXPECT_EQ(d->windowTitle(), "Riparazione tabelle ...");
        EXPECT_EQ(d->DataFolder(), folder.dataPath());
        auto *src = d->findChild<QListWidget *>("SrcList");
        auto *dst = d->findChild<QListWidget *>("DstList");
        auto *include = d->findChild<QPushButton *>("IncludeBtn");
        auto *exclude = d->findChild<QPushButton *>("ExcludeBtn");
        auto *exAll = d->findChild<QPushButton *>("ExAllBtn");
        auto *incAll = d->findChild<QPushButton *>("IncAllBtn");
        auto *repair = d->findChild<QPushButton *>("btnRepair");
        auto *label = d->findChild<QLabel *>("Label1");
        auto *gauge = d->findChild<QProgressBar *>("ProgressGauge");
        auto *logs = d->findChild<QPlainTextEdit *>("Logs");
        EXPECT_EQ(items(src), QStringList({"COMUNI.DAT", "DENUNCE.DAT", "ESTRANEO.DAT", "PROVVEDIMENTI.DAT", "RICHIEDENTI.DAT",
                                           "RICHIESTE.DAT"}));
        EXPECT_FALSE(exclude->isEnabled());
        EXPECT_FALSE(exAll->isEnabled());
        EXPECT_TRUE(repair->isEnabled());
        EXPECT_TRUE(label->text().isEmpty());
        EXPECT_EQ(include->toolTip(), "Invia la Tabella selezionata nella Lista \r\ndelle tabelle da RIPARARE");
        EXPECT_EQ(incAll->toolTip(), "Invia tutte le Tabelle disponibile\r\nnella lista delle Tabelle da riparare");
        EXPECT_EQ(exclude->toolTip(), "Rimuove la Tabella selezionata dalla \r\nLista delle Tabelle da RIPARARE.");
        EXPECT_EQ(exAll->toolTip(), "Svuota la Lista delle Tabelle da riparare");

        // Choose RICHIEDENTI, then ESTRANEO: repaired in that order.
        src->item(4)->setSelected(true);
        QTest::mouseClick(include, Qt::LeftButton);
        EXPECT_EQ(items(dst), QStringList{"RICHIEDENTI.DAT"});
        EXPECT_EQ(selected(src), QStringList{"RICHIESTE.DAT"});
        EXPECT_TRUE(exclude->isEnabled());
        src->clearSelection();
        src->item(2)->setSelected(true);
        QTest::mouseClick(include, Qt::LeftButton);
        EXPECT_EQ(items(dst), QStringList({"RICHIEDENTI.DAT", "ESTRANEO.DAT"}));

        // All in and all out again, then the two chosen again.
        QTest::mouseClick(incAll, Qt::LeftButton);
        EXPECT_EQ(src->count(), 0);
        EXPECT_FALSE(include->isEnabled());
        EXPECT_FALSE(incAll->isEnabled());
        QTest::mouseClick(exAll, Qt::LeftButton);
        EXPECT_EQ(dst->count(), 0);
        EXPECT_FALSE(repair->isEnabled());
        QTest::mouseClick(repair, Qt::LeftButton); // disabled: nothing happens
        EXPECT_TRUE(logs->toPlainText().isEmpty());
        for (const char *name : {"RICHIEDENTI.DAT", "ESTRANEO.DAT"}) {
            src->clearSelection();
            src->findItems(name, Qt::MatchExactly).first()->setSelected(true);
            QTest::mouseClick(include, Qt::LeftButton);
        }
        EXPECT_TRUE(repair->isEnabled());

        QObject::connect(gauge, &QProgressBar::valueChanged, d, [&, d, gauge, label](int value) {
            if (!shotTaken && value >= 40 && gauge->isVisible()) {
                shotTaken = true;
                EXPECT_EQ(label->text(), " Riparazione Tabella RICHIEDENTI.DAT...");
                saveShot(d, "repair-running");
            }
        });
        QTest::mouseClick(repair, Qt::LeftButton);
        EXPECT_EQ(logs->toPlainText(), "Tabella RICHIEDENTI.DAT: Riparata.\nTabella ESTRANEO.DAT: Errore durante la riparazione.");
        EXPECT_FALSE(gauge->isVisible());
        EXPECT_EQ(gauge->value(), 0);
        EXPECT_EQ(items(dst), QStringList({"RICHIEDENTI.DAT", "ESTRANEO.DAT"})); // kept for another run
        saveShot(d, "repair-done");
        QTest::mouseClick(d->findChild<QPushButton *>("btnUscita"), Qt::LeftButton);
    });
    BackupActions::Riparazione(nullptr);

    EXPECT_TRUE(closedMeanwhile);
    EXPECT_TRUE(shotTaken);
    for (TableCursor *t : data.tables())
        EXPECT_TRUE(t->isOpen()) << t->fileName().toStdString();
    EXPECT_EQ(data.ttRICHIEDENTI->recordCount(), 20000);
    EXPECT_TRUE(sui.shown.isEmpty()) << sui.texts().join("|").toStdString();
    dm = nullptr;
}
