#include "cli/Cli.h"
#include "data/Database.h"
#include "tests/support/Printers.h"
#include "tests/support/ProgramFolder.h"

#include <gtest/gtest.h>

namespace {

struct CliResult
{
    int rc;
    QString out, err;
};

CliResult run(const QStringList &args)
{
    QString out, err;
    QTextStream o(&out), e(&err);
    const int rc = runCli(args, QStringLiteral("/nonexistent"), o, e);
    return {rc, out, err};
}

} // namespace

TEST(RegisterCommands, CodiceFiscalePrintsTheCodeAsComputed)
{
    EXPECT_EQ(run({"codice-fiscale", "ESEMPIO", "PROVA", "F", "05/03/71", "H501"}).out, "SMPPRV71C45H501B\n");
    EXPECT_EQ(run({"codice-fiscale", "D'ESEMPIO", "PROVA", "M", "05/03/71", "H501"}).out, "DSMPRV71C05H501N\n");
    const CliResult empty = run({"codice-fiscale", "O", "PROVA", "M", "05/03/71", "H501"});
    EXPECT_EQ(empty.rc, 0);
    EXPECT_EQ(empty.out, "\n");
    EXPECT_EQ(run({"codice-fiscale", "ESEMPIO", "PROVA", "M", "05/03/71"}).rc, 2);
}

TEST(RegisterCommands, GeneraDemoAddsARegisterAndPrintsTheCommunication)
{
    ProgramFolder folder;
    const CliResult r = run({"--root", folder.path(), "genera-demo", "--richiedenti", "300", "--richieste", "120", "--anno", "2012"});
    ASSERT_EQ(r.rc, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "2012 1\n");
    // The communication is open: the same year again is refused and changes nothing.
    const CliResult again = run({"--root", folder.path(), "genera-demo", "--richiedenti", "10", "--richieste", "1", "--anno", "2012"});
    EXPECT_EQ(again.rc, 1);
    EXPECT_EQ(again.err, "Operazione annullata. E' probabile che esiste una comunicazione ancora aperta per l'anno 2012\n");
    EXPECT_EQ(again.out, "");
    const CliResult info = run({"--root", folder.path(), "info"});
    EXPECT_TRUE(info.out.contains("RICHIESTE.DAT 120\nRICHIEDENTI.DAT 300\n")) << info.out.toStdString();
    // Default year: the current one.
    const CliResult now = run({"--root", folder.path(), "genera-demo", "--richiedenti", "1", "--richieste", "0"});
    EXPECT_EQ(now.out, QString("%1 1\n").arg(QDate::currentDate().year()));
}

TEST(RegisterCommands, GeneraDemoUsageErrors)
{
    ProgramFolder folder;
    const QStringList bad[] = {{"genera-demo"},
                               {"genera-demo", "--richiedenti", "10"},
                               {"genera-demo", "--richiedenti", "-1", "--richieste", "0"},
                               {"genera-demo", "--richiedenti", "x", "--richieste", "0"},
                               {"genera-demo", "--richiedenti", "0", "--richieste", "5"},
                               {"genera-demo", "--richiedenti", "1", "--richieste", "1", "--anno", "duemila"},
                               {"genera-demo", "--richiedenti", "1", "--richieste", "1", "--altro", "2"},
                               {"genera-demo", "--richiedenti", "1", "--richieste"}};
    for (const QStringList &args : bad) {
        const CliResult r = run(QStringList({"--root", folder.path()}) + args);
        EXPECT_EQ(r.rc, 2) << args.join(' ').toStdString();
    }
    SingleFileDatabase db(folder.dataPath() + "RICHIEDENTI.DAT", SingleFileDatabase::ReadOnly);
    EXPECT_EQ(db.connection().scalar("SELECT count(*) FROM RICHIEDENTI").toInt(), 0);
}
