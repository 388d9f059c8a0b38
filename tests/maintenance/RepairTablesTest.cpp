#include "data/Database.h"
#include "data/Globals.h"
#include "data/Tdm.h"
#include "maintenance/RepairLists.h"
#include "maintenance/RepairTables.h"
#include "maintenance/RepairView.h"
#include "tests/maintenance/BackupTestSupport.h"
#include "tests/support/Printers.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/ScriptedUi.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

class RecordingRepairView final : public RepairView
{
public:
    QStringList labels;
    QStringList log;
    QList<int> gauge;
    bool gaugeVisible = false;
    // What the dialog showed while each percentage arrived.
    QStringList gaugeWhileVisible;

    void setLabel(const QString &text) override { labels << text; }
    void setGaugeVisible(bool visible) override { gaugeVisible = visible; }
    void setGauge(int percent) override
    {
        gauge << percent;
        if (gaugeVisible)
            gaugeWhileVisible << labels.last() + QStringLiteral(" %1").arg(percent);
    }
    void appendLog(const QString &line) override { log << line; }
};

} // namespace

TEST(RepairTables, ListsEveryDatFileSortedWithSubfoldersButNotDotFolders)
{
    ScriptedUi sui;
    QTemporaryDir dir;
    const QString root = dir.path() + "/dati/";
    QDir().mkpath(root + "archivio/vecchi");
    QDir().mkpath(root + ".nascosta");
    QDir().mkpath(root + "CARTELLA.DAT"); // a folder, not a table
    for (const char *f : {"RICHIESTE.DAT", "comuni.dat", "Denunce.Dat", "NOTE.TXT", "RICHIESTE.DAT.danneggiato-20261211-0930",
                          "archivio/B.DAT", "archivio/vecchi/A.DAT", ".nascosta/X.DAT", ".segreto.DAT"})
        writeFile(root + f, "x");

    const QStringList expected = {".segreto.DAT", QDir::toNativeSeparators("archivio/B.DAT"),
                                  QDir::toNativeSeparators("archivio/vecchi/A.DAT"), "comuni.dat", "Denunce.Dat", "RICHIESTE.DAT"};
    EXPECT_EQ(RepairTables::ListTables(root), expected);
    EXPECT_EQ(RepairTables::ListTables(QDir::toNativeSeparators(dir.path() + "/dati")), expected); // no trailing separator

    QStringList found;
    RepairTables::FindFilesRecursive(root + "*.DAT", found);
    EXPECT_TRUE(found.contains(root + "archivio/vecchi/A.DAT"));
    EXPECT_EQ(found.size(), 6);
}

TEST(RepairLists, MovesFollowTheSelectionAndSetTheButtons)
{
    RepairLists l;
    l.setAvailable({"RICHIESTE.DAT", "COMUNI.DAT", "DENUNCE.DAT", "PROVVEDIMENTI.DAT", "RICHIEDENTI.DAT"});
    EXPECT_EQ(l.source(), QStringList({"COMUNI.DAT", "DENUNCE.DAT", "PROVVEDIMENTI.DAT", "RICHIEDENTI.DAT", "RICHIESTE.DAT"}));
    EXPECT_TRUE(l.includeEnabled());
    EXPECT_FALSE(l.excludeEnabled());
    EXPECT_TRUE(l.repairEnabled());

    // Include with nothing selected: nothing moves, the first table becomes selected.
    l.Include();
    EXPECT_TRUE(l.destination().isEmpty());
    EXPECT_EQ(l.sourceSelection(), QList<int>{0});
    EXPECT_EQ(l.focus(), RepairLists::List::Source);
    EXPECT_FALSE(l.excludeEnabled());

    // Two selected: moved from the last to the first, so they arrive in reverse order; the index of the
    // first one is selected again in what remains.
    l.setSourceSelection({1, 3});
    l.Include();
    EXPECT_EQ(l.destination(), QStringList({"RICHIEDENTI.DAT", "DENUNCE.DAT"}));
    EXPECT_EQ(l.source(), QStringList({"COMUNI.DAT", "PROVVEDIMENTI.DAT", "RICHIESTE.DAT"}));
    EXPECT_EQ(l.sourceSelection(), QList<int>{1});
    EXPECT_TRUE(l.excludeEnabled());
    EXPECT_TRUE(l.repairEnabled());

    // The last one selected: reselection falls back to the new last item.
    l.setSourceSelection({2});
    l.Include();
    EXPECT_EQ(l.destination(), QStringList({"RICHIEDENTI.DAT", "DENUNCE.DAT", "RICHIESTE.DAT"}));
    EXPECT_EQ(l.sourceSelection(), QList<int>{1});

    // Exclude goes back into its sorted place; the destination keeps its order.
    l.setDestinationSelection({1});
    l.Exclude();
    EXPECT_EQ(l.source(), QStringList({"COMUNI.DAT", "DENUNCE.DAT", "PROVVEDIMENTI.DAT"}));
    EXPECT_EQ(l.destination(), QStringList({"RICHIEDENTI.DAT", "RICHIESTE.DAT"}));
    EXPECT_EQ(l.destinationSelection(), QList<int>{1});
    EXPECT_EQ(l.focus(), RepairLists::List::Destination);
    EXPECT_TRUE(l.repairEnabled());

    // Everything included: the source is empty and its buttons are off.
    l.IncludeAll();
    EXPECT_TRUE(l.source().isEmpty());
    EXPECT_EQ(l.destination(),
              QStringList({"RICHIEDENTI.DAT", "RICHIESTE.DAT", "COMUNI.DAT", "DENUNCE.DAT", "PROVVEDIMENTI.DAT"}));
    EXPECT_FALSE(l.includeEnabled());
    EXPECT_TRUE(l.excludeEnabled());
    l.Include(); // nothing to include: nothing changes
    l.IncludeAll();
    EXPECT_EQ(l.destination().size(), 5);

    // Excluding the only remaining selection down to nothing disables the repair.
    l.setDestinationSelection({0, 1, 2, 3, 4});
    l.Exclude();
    EXPECT_TRUE(l.destination().isEmpty());
    EXPECT_FALSE(l.repairEnabled());
    EXPECT_FALSE(l.excludeEnabled());
    EXPECT_TRUE(l.includeEnabled());
    EXPECT_TRUE(l.destinationSelection().isEmpty());

    // Include all, then exclude all: back to the start, the repair disabled.
    l.IncludeAll();
    EXPECT_TRUE(l.repairEnabled());
    l.ExcludeAll();
    EXPECT_EQ(l.source(), QStringList({"COMUNI.DAT", "DENUNCE.DAT", "PROVVEDIMENTI.DAT", "RICHIEDENTI.DAT", "RICHIESTE.DAT"}));
    EXPECT_TRUE(l.destination().isEmpty());
    EXPECT_FALSE(l.repairEnabled());
    EXPECT_FALSE(l.excludeEnabled());
    EXPECT_TRUE(l.includeEnabled());
    l.Exclude(); // nothing there: the repair stays disabled
    l.ExcludeAll();
    EXPECT_FALSE(l.repairEnabled());
}

TEST(RepairTables, RepairsInOrderAndGoesOnAfterATableThatFails)
{
    ScriptedUi sui;
    ProgramFolder folder;
    {
        Tdm data(folder.path(), false);
        dm = &data;
        data.Database1.startTransaction();
        for (int i = 0; i < 2000; ++i) {
            data.ttRICHIEDENTI->append();
            data.ttRICHIEDENTI->setFieldValue("TIPO_RICHIEDENTE", "A");
            data.ttRICHIEDENTI->setFieldValue("DENOMINAZIONE", QString("DITTA %1").arg(i));
            data.ttRICHIEDENTI->post();
        }
        data.Database1.commit();
        dm = nullptr;
    }
    // Damage a page in the middle of RICHIEDENTI; a file that is no table of the program cannot be rebuilt.
    {
        QFile f(folder.dataPath() + "RICHIEDENTI.DAT");
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        const qint64 size = f.size();
        f.seek(size / 2 - (size / 2) % 4096);
        f.write(QByteArray(4096, '\x5A'));
    }
    QDir().mkpath(folder.dataPath() + "vecchi");
    QFile::copy(folder.dataPath() + "DENUNCE.DAT", folder.dataPath() + "vecchi/DENUNCE.DAT");
    writeFile(folder.dataPath() + "ESTRANEO.DAT", "x");

    RecordingRepairView view;
    const QStringList items = {"RICHIEDENTI.DAT", "ESTRANEO.DAT", "MANCANTE.DAT", QDir::toNativeSeparators("vecchi/DENUNCE.DAT")};
    EXPECT_EQ(RepairTables::Repair(folder.dataPath(), items, view), 2);

    EXPECT_EQ(view.log, QStringList({"Tabella RICHIEDENTI.DAT: Riparata.", "Tabella ESTRANEO.DAT: Errore durante la riparazione.",
                                     "Tabella MANCANTE.DAT: Errore durante la riparazione.", "Tabella DENUNCE.DAT: Riparata."}));
    // Label1 shows the name, then the progress text while the gauge follows the percentage.
    EXPECT_EQ(view.labels.first(), "RICHIEDENTI.DAT");
    EXPECT_TRUE(view.gaugeWhileVisible.contains(" Riparazione Tabella RICHIEDENTI.DAT... 100"));
    EXPECT_TRUE(view.gaugeWhileVisible.contains(" Riparazione Tabella DENUNCE.DAT... 100"));
    EXPECT_EQ(view.labels.last(), " Riparazione Tabella DENUNCE.DAT...");
    EXPECT_FALSE(view.gaugeVisible);
    EXPECT_EQ(view.gauge.last(), 0);
    EXPECT_EQ(sui.busyDepth, 0);
    EXPECT_TRUE(sui.shown.isEmpty()); // failures go to the log only

    // The repaired table opens with the rows that could be read; the one in the subfolder was rebuilt there.
    Tdm data(folder.path(), false);
    EXPECT_TRUE(data.ttRICHIEDENTI->isOpen());
    EXPECT_GT(data.ttRICHIEDENTI->recordCount(), 1000);
    // The sound table in the subfolder was rebuilt in place: repaired where it lies, no copy kept.
    EXPECT_TRUE(QDir(folder.dataPath() + "vecchi").entryList({"DENUNCE.DAT.danneggiato-*"}).isEmpty());
    EXPECT_EQ(QDir(folder.dataPath()).entryList({"RICHIEDENTI.DAT.danneggiato-*"}).size(), 1);
    EXPECT_TRUE(sui.shown.isEmpty()) << sui.texts().join("|").toStdString();
}
