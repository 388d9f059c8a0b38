#include "cli/CodiceFiscaleCommand.h"

#include "applicants/CodiceFiscale.h"

int CodiceFiscaleCommand::execute(const QStringList &args, CliContext &context)
{
    if (args.size() != 5)
        return usageError(context);
    context.out << ComputeCodiceFiscale(args.at(0), args.at(1), args.at(2), args.at(3), args.at(4)) << Qt::endl;
    return 0;
}
