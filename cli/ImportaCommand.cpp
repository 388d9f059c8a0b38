#include "cli/ImportaCommand.h"

#include "data/Schema.h"

#include <QDir>
#include <QFileInfo>

QString ImportaCommand::name() const
{
    return m_table == Comuni ? QStringLiteral("importa-comuni") : QStringLiteral("importa-provvedimenti");
}

int ImportaCommand::execute(const QStringList &args, CliContext &context)
{
    if (args.size() != 1)
        return usageError(context);
    const TableDef &def = m_table == Comuni ? Schema::comuni() : Schema::provvedimenti();
    const QString file = context.root + QStringLiteral("dati/") + def.fileName;
    if (!QFileInfo(file).isFile()) {
        context.err << "Il file " << QDir::toNativeSeparators(file) << " non esiste." << Qt::endl;
        return 1;
    }
    const int rows = Schema::importReferenceCsv(file, def, args.first());
    context.out << def.fileName << ' ' << rows << Qt::endl;
    return 0;
}
