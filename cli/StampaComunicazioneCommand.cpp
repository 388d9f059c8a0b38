#include "cli/StampaComunicazioneCommand.h"

#include "communications/Printouts.h"
#include "data/Report.h"
#include "data/Tdm.h"

int StampaComunicazioneCommand::execute(const QStringList &args, CliContext &context)
{
    CliArgs a(args);
    QString pdf;
    if (!a.takeOption(QStringLiteral("--pdf"), &pdf) || pdf.isEmpty() || a.hasUnknownOptions()
        || a.positional().size() != 2)
        return usageError(context);
    bool okAnno = false, okNumero = false;
    const int anno = a.positional().at(0).toInt(&okAnno);
    const int progressivo = a.positional().at(1).toInt(&okNumero);
    if (!okAnno || !okNumero)
        return usageError(context);

    Tdm data(context.root, false);
    if (!data.ttDENUNCE->isOpen() || !data.ttRICHIESTE->isOpen()) {
        context.err << "Impossibile aprire le tabelle delle comunicazioni." << Qt::endl;
        return 1;
    }
    if (!data.ttDENUNCE->locate({QStringLiteral("ANNO"), QStringLiteral("PROGRESSIVO")}, {anno, progressivo})) {
        context.err << QStringLiteral("Comunicazione %1 dell'anno %2 non trovata.").arg(progressivo).arg(anno)
                    << Qt::endl;
        return 1;
    }
    Report report(QStringLiteral("denuncia"));
    QString error;
    if (!report.loadTemplate(report.templatePath(data.AppPath), &error)) {
        context.err << error << Qt::endl;
        return 1;
    }
    Printouts::fillCommunication(report, data);
    report.exportPdf(pdf);
    return 0;
}
