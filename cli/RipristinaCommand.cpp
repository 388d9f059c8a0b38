#include "cli/RipristinaCommand.h"

#include "cli/ConsoleLogView.h"
#include "cli/ConsoleUi.h"
#include "maintenance/BackupRestore.h"

#include <QDir>
#include <QFileInfo>

int RipristinaCommand::execute(const QStringList &args, CliContext &context)
{
    if (args.size() != 1)
        return usageError(context);
    if (auto *console = dynamic_cast<ConsoleUi *>(&ui()))
        console->setAnswer(true);
    BackupRestore restore;
    restore.setStartPage(BackupRestore::RestorePage);
    restore.setArchiveExtension(QStringLiteral("zip"));
    restore.setDataFolder(context.root + QStringLiteral("dati/"));
    restore.setProgramFolder(context.root);
    if (!BackupRestore::ConfirmRestore())
        return 1;
    const QString name = args.first().isEmpty() ? args.first() : QDir::toNativeSeparators(QFileInfo(args.first()).absoluteFilePath());
    ConsoleLogView view(context.out);
    return restore.RunRestore(name, view) ? 0 : 1;
}
