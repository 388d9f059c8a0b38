#include "cli/StampaProblemiCommand.h"

#include "applicants/ConsistencyCheck.h"
#include "data/Report.h"
#include "data/Tdm.h"

int StampaProblemiCommand::execute(const QStringList &args, CliContext &context)
{
    CliArgs a(args);
    QString pdf;
    if (!a.takeOption(QStringLiteral("--pdf"), &pdf) || pdf.isEmpty() || !a.positional().isEmpty())
        return usageError(context);
    Tdm data(context.root, false);
    if (!data.ttRICHIEDENTI->isOpen() || !data.ttCOMUNI->isOpen()) {
        context.err << "Impossibile aprire le tabelle dei richiedenti e dei comuni." << Qt::endl;
        return 1;
    }
    Report report(QStringLiteral("problemi"));
    QString error;
    if (!report.loadTemplate(report.templatePath(data.AppPath), &error)) {
        context.err << error << Qt::endl;
        return 1;
    }
    FindCfProblems(data.Database1.connection());
    report.setData(ProblemiReportData());
    report.exportPdf(pdf);
    return 0;
}
