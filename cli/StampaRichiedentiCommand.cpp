#include "cli/StampaRichiedentiCommand.h"

#include "communications/Printouts.h"
#include "data/Report.h"
#include "data/Tdm.h"

int StampaRichiedentiCommand::execute(const QStringList &args, CliContext &context)
{
    CliArgs a(args);
    QString pdf;
    if (!a.takeOption(QStringLiteral("--pdf"), &pdf) || pdf.isEmpty() || a.hasUnknownOptions()
        || !a.positional().isEmpty())
        return usageError(context);
    Tdm data(context.root, false);
    if (!data.ttRICHIEDENTI->isOpen()) {
        context.err << "Impossibile aprire la tabella dei richiedenti." << Qt::endl;
        return 1;
    }
    Report report(QStringLiteral("richiedenti"));
    QString error;
    if (!report.loadTemplate(report.templatePath(data.AppPath), &error)) {
        context.err << error << Qt::endl;
        return 1;
    }
    Printouts::fillRichiedenti(report, data);
    report.exportPdf(pdf);
    return 0;
}
