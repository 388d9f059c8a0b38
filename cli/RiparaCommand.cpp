#include "cli/RiparaCommand.h"

#include "cli/ConsoleLogView.h"
#include "maintenance/RepairTables.h"

#include <QDir>
#include <QFileInfo>

int RiparaCommand::execute(const QStringList &args, CliContext &context)
{
    const QString data = context.root + QStringLiteral("dati/");
    if (!QFileInfo(data).isDir()) {
        context.err << "La cartella " << QDir::toNativeSeparators(data) << " non esiste." << Qt::endl;
        return 1;
    }
    QStringList items;
    for (const QString &a : args) {
        if (a.startsWith(QStringLiteral("--")))
            return usageError(context);
        // Only files of the data folder: a relative path that stays inside it.
        const QString relative = QDir(data).relativeFilePath(QDir(data).absoluteFilePath(a));
        if (QDir::isAbsolutePath(relative) || relative == QLatin1String("..") || relative.startsWith(QStringLiteral("../"))) {
            context.err << "Il file " << a << " non è nella cartella " << QDir::toNativeSeparators(data) << Qt::endl;
            return 1;
        }
        items << QDir::toNativeSeparators(relative);
    }
    if (args.isEmpty())
        items = RepairTables::ListTables(data);
    ConsoleLogView view(context.out);
    return RepairTables::Repair(data, items, view) == 0 ? 0 : 1;
}
