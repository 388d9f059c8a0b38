#include "applicants/RequestEntry.h"
#include "tests/applicants/RichiestaTestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <cstdio>

namespace {

const char *const FolderVariable = "TARVIDO_RICHIESTA_KILL_FOLDER";

} // namespace

// Run only as the child of the test below: enters a request with a new applicant in the request
// dialog's transaction, says so, and waits to be killed.
TEST(RichiestaKill, DISABLED_ChildHoldsTheRequestDialogOpen)
{
    const QString path = qEnvironmentVariable(FolderVariable);
    ASSERT_FALSE(path.isEmpty());
    ScriptedUi sui;
    Tdm data(path, false);
    dm = &data;
    data.ttDENUNCE->last();
    // A page cache this small writes the changed pages into the table files before the commit, as
    // a long session would: the next start must undo them from the journals.
    for (const char *table : {"RICHIESTE", "RICHIEDENTI"})
        data.Database1.connection().exec(QStringLiteral("PRAGMA %1.cache_size = 1").arg(QLatin1String(table)));
    ScriptedApplicantDialogs dialogs;
    dialogs.steps << [] {
        dm->ttRICHIEDENTI->setFieldValue("DENOMINAZIONE", "SOCIETA' INTERROTTA S.R.L.");
        return true;
    };
    ScriptedSelection selection;
    RequestEntry entry(dialogs, selection);
    Communications::BeginNewRequest();
    entry.open();
    ASSERT_TRUE(entry.autosearchRich("01234567890"));
    data.ttRICHIESTE->setFieldValue("CODICE", "03");
    data.ttRICHIESTE->setFieldValue("DATA_INIZIO", QDate(2018, 1, 1));
    data.ttRICHIESTE->post(); // even the request row itself is written, uncommitted
    std::printf("PRONTO\n");
    std::fflush(stdout);
    QThread::sleep(120);
}

TEST(RichiestaKill, ProgramKilledWithTheDialogOpenLeavesNeitherRequestNorApplicant)
{
    ProgramFolder folder;
    {
        ScriptedUi sui;
        Tdm data(folder.path(), false);
        dm = &data;
        ASSERT_TRUE(Communications::NewCommunication(2018));
        dm = nullptr;
    }

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(FolderVariable, folder.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    // The killed child cannot remove its scratch files: let them fall inside the folder.
    for (const char *name : {"TMPDIR", "TMP", "TEMP"})
        env.insert(name, QDir::toNativeSeparators(folder.path()));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_also_run_disabled_tests", "--gtest_filter=RichiestaKill.DISABLED_ChildHoldsTheRequestDialogOpen"});
    ASSERT_TRUE(child.waitForStarted(10000));
    QByteArray out;
    QElapsedTimer t;
    t.start();
    while (!out.contains("PRONTO") && t.elapsed() < 30000 && child.state() == QProcess::Running) {
        child.waitForReadyRead(500);
        out += child.readAllStandardOutput();
    }
    ASSERT_TRUE(out.contains("PRONTO")) << out.toStdString() << child.readAllStandardError().toStdString();
    // The rows are written inside the open transaction: the journals of both files are there.
    const QDir dati(folder.dataPath());
    EXPECT_TRUE(dati.exists("RICHIESTE.DAT-journal"));
    EXPECT_TRUE(dati.exists("RICHIEDENTI.DAT-journal"));
    child.kill();
    ASSERT_TRUE(child.waitForFinished(10000));

    // The next start.
    ScriptedUi sui;
    Tdm data(folder.path(), false);
    dm = &data;
    for (TableCursor *t : data.tables())
        EXPECT_TRUE(t->isOpen()) << t->fileName().toStdString();
    EXPECT_TRUE(sui.shown.isEmpty());
    EXPECT_EQ(data.Database1.connection().scalar("SELECT count(*) FROM RICHIESTE").toInt(), 0);
    EXPECT_EQ(data.Database1.connection().scalar("SELECT count(*) FROM RICHIEDENTI").toInt(), 0);
    EXPECT_EQ(data.Database1.connection().scalar("SELECT count(*) FROM DENUNCE").toInt(), 1);
    EXPECT_FALSE(dati.exists("RICHIESTE.DAT-journal"));
    EXPECT_FALSE(dati.exists("RICHIEDENTI.DAT-journal"));
    dm = nullptr;
}
