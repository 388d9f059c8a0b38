#include "cli/InfoCommand.h"

#include "data/Tdm.h"

int InfoCommand::execute(const QStringList &args, CliContext &context)
{
    if (!args.isEmpty())
        return usageError(context);
    Tdm data(context.root, false);
    for (TableCursor *t : data.tables()) {
        if (t->isOpen())
            context.out << t->fileName() << ' ' << t->recordCount() << Qt::endl;
    }
    return 0;
}
