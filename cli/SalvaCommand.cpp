#include "cli/SalvaCommand.h"

#include "cli/ConsoleLogView.h"
#include "cli/ConsoleUi.h"
#include "maintenance/BackupRestore.h"

#include <QDir>
#include <QFileInfo>

int SalvaCommand::execute(const QStringList &args, CliContext &context)
{
    if (args.size() != 1)
        return usageError(context);
    if (auto *console = dynamic_cast<ConsoleUi *>(&ui()))
        console->setAnswer(true);
    BackupRestore backup;
    backup.setStartPage(BackupRestore::BackupPage);
    backup.setArchiveBaseName(QStringLiteral("TARVIDO"));
    backup.setArchiveExtension(QStringLiteral("ZIP"));
    backup.setBackupFolder(context.root + QStringLiteral("Salvataggi/"));
    backup.setDataFolder(context.root + QStringLiteral("dati/"));
    backup.setFiletypes({QStringLiteral("*.dat"), QStringLiteral("*.idx")});
    backup.setProgramFolder(context.root);
    QDir().mkpath(backup.BackupFolder());
    // A relative name is taken from the current folder of the command line.
    const QString name = args.first().trimmed().isEmpty() || BackupRestore::IsFloppyPath(args.first())
                             ? args.first()
                             : QDir::toNativeSeparators(QFileInfo(args.first()).absoluteFilePath());
    ConsoleLogView view(context.out);
    return backup.RunBackup(name, view) ? 0 : 1;
}
