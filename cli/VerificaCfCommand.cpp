#include "cli/VerificaCfCommand.h"

#include "applicants/ConsistencyCheck.h"
#include "data/Tdm.h"

int VerificaCfCommand::execute(const QStringList &args, CliContext &context)
{
    if (!args.isEmpty())
        return usageError(context);
    Tdm data(context.root, false);
    if (!data.ttRICHIEDENTI->isOpen() || !data.ttCOMUNI->isOpen()) {
        context.err << "Impossibile aprire le tabelle dei richiedenti e dei comuni." << Qt::endl;
        return 1;
    }
    const int found = FindCfProblems(data.Database1.connection());
    const QLatin1Char sep(';');
    for (const CfProblem &p : mtProblemi()) {
        context.out << p.cognome << sep << p.nome << sep << p.cf << sep << p.sesso << sep
                    << (isGivenDate(p.dnascita) ? p.dnascita.toString(QStringLiteral("dd/MM/yyyy")) : QString()) << '\n';
    }
    context.out.flush();
    return found > 0 ? 1 : 0;
}
