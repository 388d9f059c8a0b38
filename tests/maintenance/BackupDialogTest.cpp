#include "data/Globals.h"
#include "data/Tdm.h"
#include "maintenance/gui/BackupActions.h"
#include "maintenance/gui/TdlgBckRstBox.h"
#include "tests/maintenance/BackupTestSupport.h"
#include "tests/support/Printers.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/Shots.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

template <typename T>
T *child(QWidget *w, const char *name)
{
    T *c = w->findChild<T *>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

struct BackupDialogFixture : ::testing::Test
{
    ScriptedUi sui;
    ProgramFolder folder;

    void setBackupParams(TdlgBckRstBox &d)
    {
        BackupRestore &p = d.params();
        p.setStartPage(BackupRestore::BackupPage);
        p.setArchiveBaseName("TARVIDO");
        p.setArchiveExtension("ZIP");
        p.setBackupFolder(folder.path() + "Salvataggi/");
        p.setDataFolder(folder.dataPath());
        p.setFiletypes({"*.dat", "*.idx"});
        p.setProgramFolder(folder.path());
    }
};

// Runs `drive` once the action's modal dialog is up, then closes the dialog.
void whenModal(const std::function<void(QWidget *)> &drive)
{
    QTimer::singleShot(0, [drive] {
        QWidget *modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        drive(modal);
        if (QApplication::activeModalWidget() == modal)
            modal->close();
    });
}

} // namespace

TEST_F(BackupDialogFixture, BackupPageProposesTheNameAndWritesTheArchive)
{
    TdlgBckRstBox d;
    setBackupParams(d);
    d.show();
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Utilità"));
    auto *pages = child<QTabWidget>(&d, "pcUtilita");
    EXPECT_FALSE(pages->tabBar()->isVisible());
    EXPECT_EQ(pages->currentWidget(), child<QWidget>(&d, "tsBackup"));
    auto *txtToFile = child<QLineEdit>(&d, "txtToFile");
    auto *ceFloppy = child<QCheckBox>(&d, "ceFloppy");
    auto *ceIncludiData = child<QCheckBox>(&d, "ceIncludiData");
    auto *pbBck = child<QProgressBar>(&d, "pbBck");
    auto *meEsitoBck = child<QPlainTextEdit>(&d, "meEsitoBck");
    const QString backups = QDir::toNativeSeparators(folder.path() + "Salvataggi/");
    EXPECT_EQ(txtToFile->text(), backups + "TARVIDO_" + QDate::currentDate().toString("ddMMyy") + ".ZIP");
    EXPECT_TRUE(ceIncludiData->isChecked());
    EXPECT_FALSE(ceFloppy->isChecked());
    EXPECT_FALSE(pbBck->isVisible());
    EXPECT_EQ(ceFloppy->isVisible(), BackupRestore::floppyOffered());
    EXPECT_EQ(ceIncludiData->text(), "Includi informazioni della data nel nome del file");
    saveShot(&d, "backup-page");

    // A typed name is replaced by the proposal whenever an option changes.
    txtToFile->setText("/altro/nome.zip");
    ceIncludiData->setChecked(false);
    EXPECT_EQ(txtToFile->text(), backups + "TARVIDO.ZIP");
    ceFloppy->setChecked(true);
    EXPECT_EQ(txtToFile->text(), "A:\\TARVIDO.ZIP");
    ceFloppy->setChecked(false);

    // "Sfoglia..." proposes the backup folder with the archive filter.
    sui.fileNames.enqueue(folder.path() + "scelto.ZIP");
    QTest::mouseClick(child<QPushButton>(&d, "bSfoglia"), Qt::LeftButton);
    ASSERT_EQ(sui.shown.size(), 1);
    EXPECT_EQ(sui.shown[0].kind, "save");
    EXPECT_EQ(sui.shown[0].text, folder.path() + "Salvataggi/|Backup files (*.ZIP)");
    EXPECT_EQ(txtToFile->text(), QDir::toNativeSeparators(folder.path() + "scelto.ZIP"));

    sui.clear();
    QTest::mouseClick(child<QPushButton>(&d, "bsalva"), Qt::LeftButton);
    EXPECT_EQ(readZip(folder.path() + "scelto.ZIP").size(), 5);
    const QStringList lines = meEsitoBck->toPlainText().split('\n');
    ASSERT_EQ(lines.size(), 8);
    EXPECT_TRUE(lines[0].startsWith("Inserimento file..."));
    EXPECT_EQ(lines[7], "Salvataggio terminato con successo.");
    EXPECT_EQ(sui.shown.size(), 1);
    EXPECT_EQ(sui.shown[0].caption, "Salvataggio Archivio");
    EXPECT_FALSE(pbBck->isVisible());
    EXPECT_TRUE(child<QWidget>(&d, "tsBackup")->isEnabled());
    saveShot(&d, "backup-page-done");
}

TEST_F(BackupDialogFixture, RestorePageAsksFirstAndShowsOnlyTheLatestRun)
{
    QDir().mkpath(folder.path() + "Salvataggi");
    const QString archive = folder.path() + "Salvataggi/a.zip";
    ASSERT_TRUE(writeZip(archive, {{"NUOVA.DAT", "nuova"}}));

    TdlgBckRstBox d;
    d.params().setStartPage(BackupRestore::RestorePage);
    d.params().setArchiveExtension("zip");
    d.params().setDataFolder(folder.dataPath());
    d.params().setProgramFolder(folder.path());
    d.show();
    auto *pages = child<QTabWidget>(&d, "pcUtilita");
    EXPECT_EQ(pages->currentWidget(), child<QWidget>(&d, "tsRestore"));
    auto *txtFromFile = child<QLineEdit>(&d, "txtFromFile");
    auto *meEsitoRst = child<QPlainTextEdit>(&d, "meEsitoRst");
    EXPECT_TRUE(txtFromFile->text().isEmpty());

    sui.fileNames.enqueue(archive);
    QTest::mouseClick(child<QPushButton>(&d, "bSfoglia2"), Qt::LeftButton);
    EXPECT_EQ(sui.shown[0].kind, "open");
    EXPECT_EQ(sui.shown[0].text, folder.path() + "Salvataggi|Backup files (*.zip)");
    EXPECT_EQ(txtFromFile->text(), QDir::toNativeSeparators(archive));

    // No: nothing happens.
    sui.clear();
    setAnswers(sui, {false});
    QTest::mouseClick(child<QPushButton>(&d, "bRipristina"), Qt::LeftButton);
    EXPECT_EQ(sui.shown.size(), 1);
    EXPECT_FALSE(QFileInfo::exists(folder.dataPath() + "NUOVA.DAT"));

    // Yes twice: the log holds only the lines of the second run.
    for (int run = 0; run < 2; ++run) {
        sui.clear();
        setAnswers(sui, {true});
        QTest::mouseClick(child<QPushButton>(&d, "bRipristina"), Qt::LeftButton);
    }
    EXPECT_EQ(readFile(folder.dataPath() + "NUOVA.DAT"), "nuova");
    EXPECT_EQ(meEsitoRst->toPlainText(), QDir::toNativeSeparators(folder.dataPath() + "NUOVA.DAT") + "\nArchivio ripristinato :"
                                             + QDir::toNativeSeparators(archive) + "\nRipristino avvenuto con successo.");
    saveShot(&d, "restore-page");

    // A damaged archive: its error through the default display, the page usable again.
    writeFile(archive, "rotto");
    sui.clear();
    setAnswers(sui, {true});
    QTest::mouseClick(child<QPushButton>(&d, "bRipristina"), Qt::LeftButton);
    ASSERT_EQ(sui.texts("error").size(), 1);
    EXPECT_TRUE(sui.texts("error").first().contains(QString::fromUtf8("non è un archivio zip")));
    EXPECT_TRUE(sui.texts("box").isEmpty());
    EXPECT_TRUE(child<QWidget>(&d, "tsRestore")->isEnabled());
    EXPECT_FALSE(child<QProgressBar>(&d, "pbrst")->isVisible());
}

TEST_F(BackupDialogFixture, ActionsCloseTheDatabaseAndAlwaysOpenItAgain)
{
    Tdm data(folder.path(), false);
    dm = &data;

    // Backup: the backup folder is created and the tables are closed while the dialog is up.
    bool closedMeanwhile = false;
    whenModal([&](QWidget *modal) {
        closedMeanwhile = !data.ttRICHIESTE->isOpen() && !data.Database1.isOpen();
        EXPECT_NE(qobject_cast<TdlgBckRstBox *>(modal), nullptr);
        QTest::mouseClick(modal->findChild<QPushButton *>("bsalva"), Qt::LeftButton);
    });
    BackupActions::Salvataggio(nullptr);
    EXPECT_TRUE(closedMeanwhile);
    const QString archive = folder.path() + "Salvataggi/TARVIDO_" + QDate::currentDate().toString("ddMMyy") + ".ZIP";
    EXPECT_EQ(readZip(archive).size(), 5);
    for (TableCursor *t : data.tables())
        EXPECT_TRUE(t->isOpen()) << t->fileName().toStdString();

    // Restore of something that is not an archive: the error, and the database open again after it.
    const auto before = snapshot(folder.dataPath());
    writeFile(folder.path() + "rotto.zip", "rotto");
    sui.clear();
    setAnswers(sui, {true});
    whenModal([&](QWidget *modal) {
        modal->findChild<QLineEdit *>("txtFromFile")->setText(folder.path() + "rotto.zip");
        QTest::mouseClick(modal->findChild<QPushButton *>("bRipristina"), Qt::LeftButton);
    });
    BackupActions::Ripristino(nullptr);
    EXPECT_EQ(sui.texts("error").size(), 1);
    EXPECT_EQ(snapshot(folder.dataPath()), before);
    for (TableCursor *t : data.tables())
        EXPECT_TRUE(t->isOpen()) << t->fileName().toStdString();

    // The good archive restored through the action: the tables are open on the restored files.
    data.ttDENUNCE->append();
    data.ttDENUNCE->setFieldValue("ANNO", 2030);
    data.ttDENUNCE->setFieldValue("PROGRESSIVO", 1);
    data.ttDENUNCE->setFieldValue("STATO", "A");
    data.ttDENUNCE->post();
    EXPECT_EQ(data.ttDENUNCE->recordCount(), 1);
    sui.clear();
    setAnswers(sui, {true});
    whenModal([&](QWidget *modal) {
        modal->findChild<QLineEdit *>("txtFromFile")->setText(archive);
        QTest::mouseClick(modal->findChild<QPushButton *>("bRipristina"), Qt::LeftButton);
    });
    BackupActions::Ripristino(nullptr);
    EXPECT_TRUE(sui.texts("error").isEmpty()) << sui.texts().join("|").toStdString();
    EXPECT_TRUE(data.ttDENUNCE->isOpen());
    EXPECT_EQ(data.ttDENUNCE->recordCount(), 0);
    dm = nullptr;
}
