#include "data/Globals.h"
#include "data/Tdm.h"
#include "maintenance/BackupRestore.h"
#include "maintenance/ZipArchive.h"
#include "maintenance/ZipError.h"
#include "tests/maintenance/BackupTestSupport.h"
#include "tests/support/Printers.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/ScriptedUi.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct BackupFixture : ::testing::Test
{
    ScriptedUi sui;
    ProgramFolder folder;
    RecordingView view;
    BackupRestore br;

    void SetUp() override
    {
        br.setStartPage(BackupRestore::BackupPage);
        br.setArchiveBaseName("TARVIDO");
        br.setArchiveExtension("ZIP");
        br.setBackupFolder(folder.path() + "Salvataggi/");
        br.setDataFolder(folder.dataPath());
        br.setFiletypes({"*.dat", "*.idx"});
        br.setProgramFolder(folder.path());
    }

    // Some rows in the working tables, written through the data module.
    void fillSomeData(const QString &programFolder)
    {
        Tdm data(programFolder, false);
        dm = &data;
        for (int i = 0; i < 50; ++i) {
            TableCursor *t = data.ttRICHIEDENTI;
            t->append();
            t->setFieldValue("TIPO_RICHIEDENTE", "P");
            t->setFieldValue("PERS_CF", QString("CF%1").arg(i));
            t->setFieldValue("PERS_COGNOME", QString::fromUtf8("COGNOMÈ %1").arg(i));
            t->setFieldValue("PERS_NOME", "NOME");
            t->post();
        }
        TableCursor *d = data.ttDENUNCE;
        d->append();
        d->setFieldValue("ANNO", 2006);
        d->setFieldValue("PROGRESSIVO", 1);
        d->setFieldValue("STATO", "A");
        d->post();
        dm = nullptr;
    }

    // The page was disabled first and enabled again last, whatever happened between.
    void expectPageRestored() const
    {
        ASSERT_GE(view.running.size(), 2);
        EXPECT_TRUE(view.running.first());
        EXPECT_FALSE(view.running.last());
        EXPECT_EQ(sui.busyDepth, 0);
        EXPECT_GE(sui.maxBusyDepth, 1);
    }
};

QString native(const QString &p)
{
    return QDir::toNativeSeparators(p);
}

} // namespace

TEST_F(BackupFixture, ProposedNameFollowsTheTwoOptions)
{
    const QDate day(2006, 12, 9);
    const QString backups = native(folder.path() + "Salvataggi/");
    struct Case
    {
        bool floppy, date;
        QString expected;
    } cases[] = {
        {false, true, backups + "TARVIDO_091206.ZIP"},
        {false, false, backups + "TARVIDO.ZIP"},
        {true, false, "A:\\TARVIDO.ZIP"},
        {true, true, "A:\\TARVIDO_091206.ZIP"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(br.ProposedName(c.floppy, c.date, day), c.expected) << c.floppy << c.date;
    EXPECT_EQ(br.FileFilter(), "Backup files (*.ZIP)");
    br.setArchiveExtension("zip");
    EXPECT_EQ(br.FileFilter(), "Backup files (*.zip)");

    EXPECT_TRUE(BackupRestore::IsFloppyPath("A:\\TARVIDO.ZIP"));
    EXPECT_TRUE(BackupRestore::IsFloppyPath("b:archivio.zip"));
    EXPECT_FALSE(BackupRestore::IsFloppyPath("C:\\A:\\x.zip"));
    EXPECT_FALSE(BackupRestore::IsFloppyPath("A"));
    EXPECT_FALSE(BackupRestore::IsFloppyPath("/a:/x.zip"));
}

TEST_F(BackupFixture, RestoreBrowsesTheBackupFolderOnlyWhenItExists)
{
    EXPECT_EQ(br.RestoreBrowseFolder(), folder.path());
    QDir().mkpath(folder.path() + "Salvataggi");
    EXPECT_EQ(br.RestoreBrowseFolder(), folder.path() + "Salvataggi");
}

TEST_F(BackupFixture, BackupWritesEveryMatchingFileUnderItsBareNameAndReports)
{
    // Masks match without regard to case, subfolders are not searched, other files stay out.
    writeFile(folder.dataPath() + "EXTRA.IDX", "index");
    writeFile(folder.dataPath() + "note.txt", "not a table");
    QDir().mkpath(folder.dataPath() + "sub");
    writeFile(folder.dataPath() + "sub/INNER.DAT", "inner");
    const QString archive = folder.path() + "Salvataggi/TARVIDO_091206.ZIP";
    QDir().mkpath(folder.path() + "Salvataggi");

    ASSERT_TRUE(br.RunBackup(native(archive), view));

    const QStringList expectedFiles = {"COMUNI.DAT", "DENUNCE.DAT", "EXTRA.IDX", "PROVVEDIMENTI.DAT", "RICHIEDENTI.DAT", "RICHIESTE.DAT"};
    const QList<ZipEntryInfo> entries = readZip(archive);
    QStringList names;
    for (const ZipEntryInfo &e : entries) {
        names << e.name;
        EXPECT_EQ(e.method, ZIP_CM_DEFLATE) << e.name.toStdString();
        EXPECT_EQ(e.data, readFile(folder.dataPath() + e.name)) << e.name.toStdString();
    }
    EXPECT_EQ(names, expectedFiles);

    ASSERT_EQ(sui.shown.size(), 1);
    EXPECT_EQ(sui.shown[0].kind, "box");
    EXPECT_EQ(sui.shown[0].caption, "Salvataggio Archivio");
    EXPECT_EQ(sui.shown[0].icon, Ui::Icon::Information);
    EXPECT_EQ(sui.shown[0].text, "Salvataggio archivio eseguito con successo.\rTotale files archiviati: 6\r\r"
                                 "Archivio di salvataggio scaricato in:\r" + native(archive));
    QStringList expectedLog;
    for (const QString &f : expectedFiles)
        expectedLog << "Inserimento file..." + native(folder.dataPath() + f);
    expectedLog << "Archivio di salvataggio salvato in:" << native(archive) << "Salvataggio terminato con successo.";
    EXPECT_EQ(view.log, expectedLog);
    ASSERT_FALSE(view.progress.isEmpty());
    EXPECT_TRUE(std::is_sorted(view.progress.begin(), view.progress.end()));
    EXPECT_EQ(view.progress.last(), 100);
    expectPageRestored();
}

TEST_F(BackupFixture, BackupRefusalsAndQuestions)
{
    const QString missingParent = folder.path() + "nessuno/sotto/";
    const QString missingOne = folder.path() + "nuova/";
    const QString question = "Attenzione la directory %1 non esiste. Creare la directory?";
    struct Case
    {
        const char *what;
        QString path;
        QList<bool> answers;
        QList<ScriptedUi::Shown> expected; // kind, caption, text, icon, defaultNo
        bool written;
    } cases[] = {
        {"blank", "   ", {},
         {{"box", "Errore", QString::fromUtf8("Attenzione la directory di destinazione non non è valida."), Ui::Icon::Error}},
         false},
        {"empty", "", {},
         {{"box", "Errore", QString::fromUtf8("Attenzione la directory di destinazione non non è valida."), Ui::Icon::Error}},
         false},
        {"missing folder, No", native(missingOne + "A.ZIP"), {false},
         {{"question", "Attenzione", question.arg(native(missingOne)), Ui::Icon::Warning}}, false},
        {"missing parent, Yes", native(missingParent + "A.ZIP"), {true},
         {{"question", "Attenzione", question.arg(native(missingParent)), Ui::Icon::Warning},
          {"box", "Errore", "Errore durante la creazione della directory " + native(missingParent), Ui::Icon::Error}},
         false},
    };
    for (const Case &c : cases) {
        sui.clear();
        view = RecordingView();
        setAnswers(sui, c.answers);
        EXPECT_FALSE(br.RunBackup(c.path, view)) << c.what;
        ASSERT_EQ(sui.shown.size(), c.expected.size()) << c.what << sui.texts().join("|").toStdString();
        for (int i = 0; i < c.expected.size(); ++i) {
            EXPECT_EQ(sui.shown[i].kind, c.expected[i].kind) << c.what;
            EXPECT_EQ(sui.shown[i].caption, c.expected[i].caption) << c.what;
            EXPECT_EQ(sui.shown[i].text, c.expected[i].text) << c.what;
            EXPECT_EQ(sui.shown[i].icon, c.expected[i].icon) << c.what;
            EXPECT_FALSE(sui.shown[i].defaultNo) << c.what;
        }
        EXPECT_TRUE(sui.unexpected.isEmpty()) << c.what;
        expectPageRestored();
        EXPECT_TRUE(view.log.isEmpty()) << c.what;
    }
    EXPECT_FALSE(QFileInfo::exists(missingOne));
    EXPECT_FALSE(QFileInfo::exists(folder.path() + "nessuno"));

    // Yes to the question: the one missing level is created and the archive written.
    sui.clear();
    setAnswers(sui, {true});
    EXPECT_TRUE(br.RunBackup(native(missingOne + "A.ZIP"), view));
    EXPECT_EQ(readZip(missingOne + "A.ZIP").size(), 5);
    EXPECT_EQ(sui.shown.size(), 2);
}

TEST_F(BackupFixture, ExistingArchiveIsKeptOnNoAndReplacedOnYes)
{
    const QString archive = folder.path() + "OLD.ZIP";
    writeFile(archive, "old contents");
    const QString question = QString::fromUtf8("Attenzione il file %1 già esiste. Sovrascrivere il file?").arg(native(archive));

    setAnswers(sui, {false});
    EXPECT_FALSE(br.RunBackup(native(archive), view));
    ASSERT_EQ(sui.shown.size(), 1);
    EXPECT_EQ(sui.shown[0].text, question);
    EXPECT_EQ(sui.shown[0].caption, "Attenzione");
    EXPECT_EQ(sui.shown[0].icon, Ui::Icon::Warning);
    EXPECT_EQ(readFile(archive), "old contents");

    sui.clear();
    setAnswers(sui, {true});
    EXPECT_TRUE(br.RunBackup(native(archive), view));
    EXPECT_EQ(sui.shown[0].text, question);
    EXPECT_EQ(readZip(archive).size(), 5);
    // Nothing but the archive is left beside it.
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"OLD.ZIP"});
}

TEST_F(BackupFixture, FloppyPathSkipsTheFolderCheck)
{
    // "b:" in lower case is a floppy path: no folder question, the writer is asked straight away
    // (and fails here, where there is no such drive).
    EXPECT_THROW(br.RunBackup("b:/nessuna/cartella/TARVIDO.ZIP", view), ZipError);
    EXPECT_TRUE(sui.shown.isEmpty()) << sui.texts().join("|").toStdString();
    expectPageRestored();
}

TEST_F(BackupFixture, BackupFailingMidwayLeavesTheOldArchiveAndNoPartialFile)
{
    const QString archive = folder.path() + "ARCH.ZIP";
    writeFile(archive, "old contents");
    int started = 0;
    ZipArchive::Callbacks cb;
    cb.fileStarted = [&](const QString &) {
        if (++started == 3)
            throw ZipError("disco pieno");
    };
    EXPECT_THROW(ZipArchive::create(archive, folder.dataPath(), {"*.DAT"}, cb), ZipError);
    EXPECT_EQ(started, 3);
    EXPECT_EQ(readFile(archive), "old contents");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"ARCH.ZIP"});

    // A folder that cannot hold the archive: a clear error, nothing written.
    try {
        ZipArchive::create(folder.path() + "manca/X.ZIP", folder.dataPath(), {"*.DAT"});
        ADD_FAILURE() << "no error";
    } catch (const ZipError &e) {
        EXPECT_TRUE(e.message().startsWith("Impossibile creare l'archivio") || e.message().startsWith("Errore durante la scrittura"))
            << e.message().toStdString();
    }
    // No file to archive: an error rather than a success without an archive.
    QTemporaryDir empty;
    EXPECT_THROW(ZipArchive::create(folder.path() + "VUOTO.ZIP", empty.path(), {"*.dat"}), ZipError);
    EXPECT_FALSE(QFileInfo::exists(folder.path() + "VUOTO.ZIP"));
}

TEST_F(BackupFixture, BackupRestoredIntoAnotherFolderGivesIdenticalTables)
{
    fillSomeData(folder.path());
    const QString archive = folder.path() + "Salvataggi/TARVIDO.ZIP";
    QDir().mkpath(folder.path() + "Salvataggi");
    ASSERT_TRUE(br.RunBackup(archive, view));
    const auto original = snapshot(folder.dataPath());

    ProgramFolder other;
    BackupRestore restore;
    restore.setDataFolder(other.dataPath());
    sui.clear();
    view = RecordingView();
    ASSERT_TRUE(restore.RunRestore(native(archive), view));

    EXPECT_EQ(snapshot(other.dataPath()), original);
    ASSERT_EQ(sui.shown.size(), 1);
    EXPECT_EQ(sui.shown[0].caption, "Ripristino Archivio");
    EXPECT_EQ(sui.shown[0].icon, Ui::Icon::Information);
    EXPECT_EQ(sui.shown[0].text, "Riristino archivio eseguito con successo.\rTotale files ripristinati: 5");
    QStringList expectedLog;
    for (const char *f : {"COMUNI.DAT", "DENUNCE.DAT", "PROVVEDIMENTI.DAT", "RICHIEDENTI.DAT", "RICHIESTE.DAT"})
        expectedLog << native(other.dataPath() + QString(f));
    expectedLog << "Archivio ripristinato :" + native(archive) << "Ripristino avvenuto con successo.";
    EXPECT_EQ(view.log, expectedLog);
    EXPECT_EQ(view.progress.last(), 100);
    expectPageRestored();

    // The restored folder opens with its rows.
    Tdm data(other.path(), false);
    EXPECT_EQ(data.ttRICHIEDENTI->recordCount(), 50);
    EXPECT_EQ(data.ttDENUNCE->recordCount(), 1);
    EXPECT_TRUE(sui.texts("error").isEmpty());
}

TEST_F(BackupFixture, RestoreReplacesOnlyTheTablesTheArchiveHoldsAndFlattensFolders)
{
    const auto before = snapshot(folder.dataPath());
    writeFile(folder.dataPath() + "RICHIESTE.DAT-journal", "stale journal of the old file");
    const QString archive = folder.path() + "PARTE.zip";
    ASSERT_TRUE(writeZip(archive, {{"tabelle/DENUNCE.DAT", "new denunce"}, {"NUOVA.IDX", "new index"}, {"RICHIESTE.DAT", "new richieste"}}));

    ASSERT_TRUE(br.RunRestore(archive, view));

    auto after = snapshot(folder.dataPath());
    EXPECT_EQ(after.take("DENUNCE.DAT"), "new denunce");
    EXPECT_EQ(after.take("NUOVA.IDX"), "new index");
    EXPECT_EQ(after.take("RICHIESTE.DAT"), "new richieste");
    auto rest = before;
    rest.remove("DENUNCE.DAT");
    rest.remove("RICHIESTE.DAT");
    // The journal of the replaced file is gone with it (it would corrupt the restored file); the rest is
    // untouched, and no staging folder is left behind.
    EXPECT_EQ(after, rest);
    EXPECT_EQ(QDir(folder.dataPath()).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
    EXPECT_EQ(sui.lastText(), "Riristino archivio eseguito con successo.\rTotale files ripristinati: 3");
}

TEST_F(BackupFixture, ArchiveNamesCannotReachOutsideTheDataFolder)
{
    // A program folder inside a folder we watch, so that anything written beside it shows.
    QTemporaryDir outer;
    const QString data = outer.path() + "/prog/dati/";
    QDir().mkpath(data);
    writeFile(data + "RICHIESTE.DAT", "old");
    br.setDataFolder(data);
    const QString archive = outer.path() + "/evil.zip";
    ASSERT_TRUE(writeZip(archive, {{"../evil.DAT", "1"},
                                   {"../../../../../../../../tmp/evil2.DAT", "2"},
                                   {"/abs/X.DAT", "3"},
                                   {"C:\\x\\Y.DAT", "4"},
                                   {"D:Z.DAT", "5"},
                                   {"sub/dir/RICHIESTE.DAT", "6"},
                                   {"", "7"},
                                   {".", "8"},
                                   {"..", "9"},
                                   {"cartella/", ""},
                                   {"AUX.DAT", "10"},
                                   {"NOME?.DAT", "11"}}));
    const auto outside = snapshot(outer.path());

    ASSERT_TRUE(br.RunRestore(archive, view));

    auto after = snapshot(outer.path());
    EXPECT_EQ(after.take("prog/dati/evil.DAT"), "1");
    EXPECT_EQ(after.take("prog/dati/evil2.DAT"), "2");
    EXPECT_EQ(after.take("prog/dati/X.DAT"), "3");
    EXPECT_EQ(after.take("prog/dati/Y.DAT"), "4");
    EXPECT_EQ(after.take("prog/dati/Z.DAT"), "5");
    EXPECT_EQ(after.take("prog/dati/RICHIESTE.DAT"), "6");
    auto expected = outside;
    expected.remove("prog/dati/RICHIESTE.DAT");
    EXPECT_EQ(after, expected);
    EXPECT_FALSE(QFileInfo::exists("/tmp/evil2.DAT"));
    EXPECT_EQ(QDir(data).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
    EXPECT_EQ(sui.lastText(), "Riristino archivio eseguito con successo.\rTotale files ripristinati: 6");

    EXPECT_EQ(ZipArchive::safeEntryName("a/b\\c:RICHIESTE.DAT"), "RICHIESTE.DAT");
    for (const char *skipped : {"", ".", "..", "x/..", "dir/", "NUL", "com1.dat", "A.DAT.", "A.DAT ", "A|B.DAT", "A\x01.DAT"})
        EXPECT_EQ(ZipArchive::safeEntryName(QString::fromLatin1(skipped)), QString()) << skipped;
}

TEST_F(BackupFixture, FailedRestoreLeavesTheDataFolderAsItWas)
{
    fillSomeData(folder.path());
    const QString good = folder.path() + "GOOD.ZIP";
    ASSERT_TRUE(br.RunBackup(good, view));
    const QByteArray zip = readFile(good);
    const auto before = snapshot(folder.dataPath());

    // A stored archive whose third entry's bytes are damaged: only its CRC tells.
    const QByteArray marker = QByteArray("PAYLOAD-").repeated(400);
    const QString storedPath = folder.path() + "STORED.ZIP";
    ASSERT_TRUE(writeZip(storedPath, {{"DENUNCE.DAT", "x"}, {"RICHIESTE.DAT", "y"}, {"COMUNI.DAT", marker}}, true));
    QByteArray stored = readFile(storedPath);
    const qsizetype at = stored.indexOf(marker);
    ASSERT_GE(at, 0);
    stored[at + 100] = 'X';

    // Damage the compressed data of the last entries, past the first ones.
    QByteArray damaged = zip;
    for (qsizetype i = damaged.size() * 3 / 4; i < damaged.size() * 3 / 4 + 64; ++i)
        damaged[i] = char(damaged[i] ^ 0x5A);

    const struct
    {
        const char *what;
        QByteArray bytes;
    } cases[] = {
        {"truncated", zip.left(zip.size() / 2)},
        {"damaged data", damaged},
        {"bad CRC", stored},
        {"not a zip", QByteArray("questo non è un archivio zip\n").repeated(100)},
        {"empty file", QByteArray()},
    };
    for (const auto &c : cases) {
        const QString archive = folder.path() + "BAD.ZIP";
        writeFile(archive, c.bytes);
        sui.clear();
        view = RecordingView();
        EXPECT_THROW(br.RunRestore(archive, view), ZipError) << c.what;
        EXPECT_EQ(snapshot(folder.dataPath()), before) << c.what;
        EXPECT_TRUE(sui.shown.isEmpty()) << c.what; // no success message: the error reaches the default display
        expectPageRestored();
    }

    // The error text says what is wrong with the archive.
    writeFile(folder.path() + "BAD.ZIP", "non zip");
    try {
        ZipArchive::extract(folder.path() + "BAD.ZIP", folder.dataPath());
        ADD_FAILURE() << "no error";
    } catch (const ZipError &e) {
        EXPECT_EQ(e.message(), QString::fromUtf8("Impossibile leggere l'archivio %1: il file non è un archivio zip oppure è danneggiato")
                                   .arg(native(folder.path() + "BAD.ZIP")));
    }
}

TEST_F(BackupFixture, RestoreQuestionAndMissingArchive)
{
    setAnswers(sui, {false});
    EXPECT_FALSE(BackupRestore::ConfirmRestore());
    ASSERT_EQ(sui.shown.size(), 1);
    EXPECT_EQ(sui.shown[0].kind, "question");
    EXPECT_EQ(sui.shown[0].caption, "Ripristino archivio di Backup");
    EXPECT_EQ(sui.shown[0].text, "Attenzione tutti i dati dell'archivio\rcorrente saranno sostituiti con i dati di backup.\r"
                                 "Continuare con l'operazione di ripristino?");
    EXPECT_EQ(sui.shown[0].icon, Ui::Icon::Warning);
    EXPECT_TRUE(sui.shown[0].defaultNo);

    const auto before = snapshot(folder.dataPath());
    for (const QString &name : {QString(), folder.path() + "MANCA.zip", folder.dataPath()}) {
        sui.clear();
        view = RecordingView();
        EXPECT_FALSE(br.RunRestore(name, view));
        ASSERT_EQ(sui.shown.size(), 1);
        EXPECT_EQ(sui.shown[0].kind, "box");
        EXPECT_EQ(sui.shown[0].caption, "Attenzione");
        EXPECT_EQ(sui.shown[0].text, "Attenzione il file " + name + " non esiste.");
        EXPECT_EQ(sui.shown[0].icon, Ui::Icon::Error);
        expectPageRestored();
    }
    EXPECT_EQ(snapshot(folder.dataPath()), before);
}
