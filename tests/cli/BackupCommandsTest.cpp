#include "cli/Cli.h"
#include "tests/support/Printers.h"
#include "tests/support/ProgramFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct CliRun
{
    int rc;
    QString out, err;
};

CliRun run(const QStringList &args)
{
    QString out, err;
    QTextStream o(&out), e(&err);
    const int rc = runCli(args, QStringLiteral("/nonexistent"), o, e);
    return {rc, out, err};
}

QMap<QString, QByteArray> files(const QString &folder)
{
    QMap<QString, QByteArray> out;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        f.open(QIODevice::ReadOnly);
        out.insert(QDir(folder).relativeFilePath(f.fileName()), f.readAll());
    }
    return out;
}

QString native(const QString &p)
{
    return QDir::toNativeSeparators(p);
}

} // namespace

TEST(BackupCommands, SalvaAndRipristinaRoundTripAnsweringYes)
{
    ProgramFolder source, target;
    QFile::remove(source.dataPath() + "PROVVEDIMENTI.DAT"); // so that the two folders differ
    const QString archive = source.path() + "copia.zip";

    CliRun r = run({"--root", source.path(), "salva", archive});
    ASSERT_EQ(r.rc, 0) << r.err.toStdString();
    QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines[0], "Inserimento file..." + native(source.dataPath() + "COMUNI.DAT"));
    EXPECT_EQ(lines.mid(4), QStringList({"Archivio di salvataggio salvato in:", native(archive), "Salvataggio terminato con successo."}));
    EXPECT_TRUE(r.err.contains("Totale files archiviati: 4")) << r.err.toStdString();
    EXPECT_TRUE(QFileInfo(source.path() + "Salvataggi").isDir()); // the backup folder, as the action makes it

    // Overwriting is answered Yes.
    r = run({"--root", source.path(), "salva", archive});
    EXPECT_EQ(r.rc, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QString::fromUtf8("già esiste. Sovrascrivere il file? Sì")));

    r = run({"--root", target.path(), "ripristina", archive});
    ASSERT_EQ(r.rc, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("Continuare con l'operazione di ripristino? S")) << r.err.toStdString();
    EXPECT_TRUE(r.out.endsWith("Archivio ripristinato :" + native(archive) + "\nRipristino avvenuto con successo.\n"));
    auto restored = files(target.dataPath());
    auto original = files(source.dataPath());
    EXPECT_TRUE(restored.contains("PROVVEDIMENTI.DAT")); // not in the archive: left alone
    restored.remove("PROVVEDIMENTI.DAT");
    EXPECT_EQ(restored, original);
}

TEST(BackupCommands, RefusalsAndFailuresExitWithOne)
{
    ProgramFolder folder;
    const auto before = files(folder.dataPath());
    CliRun r = run({"--root", folder.path(), "ripristina", folder.path() + "manca.zip"});
    EXPECT_EQ(r.rc, 1);
    EXPECT_TRUE(r.err.contains("Attenzione il file " + native(folder.path() + "manca.zip") + " non esiste.")) << r.err.toStdString();

    QFile bad(folder.path() + "rotto.zip");
    bad.open(QIODevice::WriteOnly);
    bad.write("PK\x03\x04 rotto");
    bad.close();
    r = run({"--root", folder.path(), "ripristina", bad.fileName()});
    EXPECT_EQ(r.rc, 1);
    EXPECT_TRUE(r.err.contains(QString::fromUtf8("non è un archivio zip"))) << r.err.toStdString();
    EXPECT_EQ(files(folder.dataPath()), before);

    r = run({"--root", folder.path(), "salva", "  "});
    EXPECT_EQ(r.rc, 1);
    EXPECT_TRUE(r.err.contains(QString::fromUtf8("Attenzione la directory di destinazione non non è valida.")));

    EXPECT_EQ(run({"--root", folder.path(), "salva"}).rc, 2);
    EXPECT_EQ(run({"--root", folder.path(), "ripristina", "a", "b"}).rc, 2);
    EXPECT_EQ(run({"--root", folder.path(), "ripara", "--tutto"}).rc, 2);
}

TEST(BackupCommands, RiparaWritesOneLinePerTable)
{
    ProgramFolder folder;
    CliRun r = run({"--root", folder.path(), "ripara"});
    EXPECT_EQ(r.rc, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "Tabella COMUNI.DAT: Riparata.\nTabella DENUNCE.DAT: Riparata.\nTabella PROVVEDIMENTI.DAT: Riparata.\n"
                     "Tabella RICHIEDENTI.DAT: Riparata.\nTabella RICHIESTE.DAT: Riparata.\n");

    // A damaged table and a name that is not there: their lines, and exit 1.
    QFile f(folder.dataPath() + "DENUNCE.DAT");
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(QByteArray(8192, 'x'));
    f.close();
    r = run({"--root", folder.path(), "ripara", "MANCANTE.DAT", "DENUNCE.DAT"});
    EXPECT_EQ(r.rc, 1);
    EXPECT_EQ(r.out, "Tabella MANCANTE.DAT: Errore durante la riparazione.\nTabella DENUNCE.DAT: Riparata.\n");
    r = run({"--root", folder.path(), "info"});
    EXPECT_TRUE(r.out.startsWith("DENUNCE.DAT 0\n")) << r.out.toStdString();

    // Nothing outside the data folder.
    r = run({"--root", folder.path(), "ripara", "../dati/../DENUNCE.DAT"});
    EXPECT_EQ(r.rc, 1);
    EXPECT_TRUE(r.out.isEmpty());
}
