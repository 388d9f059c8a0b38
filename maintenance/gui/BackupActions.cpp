#include "maintenance/gui/BackupActions.h"

#include "data/Globals.h"
#include "data/Tdm.h"
#include "data/Ui.h"
#include "maintenance/gui/TdlgBckRstBox.h"
#include "maintenance/gui/TdlgRepairBox.h"

#include <QDir>

namespace {

// Opens the database and the tables again (with the automatic repair) however the action ends.
class Reopen
{
public:
    Reopen() = default;
    ~Reopen()
    {
        guarded([] {
            dm->OpenDatabase();
            dm->OpenTables();
        });
    }
    Reopen(const Reopen &) = delete;
    Reopen &operator=(const Reopen &) = delete;
};

void closeData()
{
    dm->CloseTables();
    dm->CloseDatabase();
}

} // namespace

namespace BackupActions {

void Salvataggio(QWidget *parent)
{
    Reopen reopen;
    guarded([parent] {
        closeData();
        QDir().mkpath(dm->AppPath + QStringLiteral("Salvataggi"));
        TdlgBckRstBox dialog(parent);
        BackupRestore &p = dialog.params();
        p.setStartPage(BackupRestore::BackupPage);
        p.setArchiveBaseName(QStringLiteral("TARVIDO"));
        p.setArchiveExtension(QStringLiteral("ZIP"));
        p.setBackupFolder(dm->AppPath + QStringLiteral("Salvataggi/"));
        p.setDataFolder(dm->dataFolder());
        p.setFiletypes({QStringLiteral("*.dat"), QStringLiteral("*.idx")});
        p.setProgramFolder(dm->AppPath);
        dialog.exec();
    });
}

void Ripristino(QWidget *parent)
{
    Reopen reopen;
    guarded([parent] {
        closeData();
        TdlgBckRstBox dialog(parent);
        BackupRestore &p = dialog.params();
        p.setStartPage(BackupRestore::RestorePage);
        p.setArchiveExtension(QStringLiteral("zip"));
        p.setDataFolder(dm->dataFolder());
        p.setProgramFolder(dm->AppPath);
        dialog.setRestoreName(QString());
        dialog.exec();
    });
}

void Riparazione(QWidget *parent)
{
    TdlgRepairBox dialog(parent);
    Reopen reopen; // before the dialog goes
    guarded([&dialog] {
        closeData();
        dialog.ShowForFolder(dm->dataFolder());
    });
}

} // namespace BackupActions
