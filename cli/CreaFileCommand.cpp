#include "cli/CreaFileCommand.h"

#include "cli/ConsoleUi.h"
#include "communications/TransmissionFile.h"
#include "data/Tdm.h"

namespace {
struct CurrentDataModule
{
    explicit CurrentDataModule(Tdm *data) : previous(dm) { dm = data; }
    ~CurrentDataModule() { dm = previous; }
    Tdm *previous;
};
} // namespace

int CreaFileCommand::execute(const QStringList &args, CliContext &context)
{
    CliArgs a(args);
    const bool continua = a.takeFlag(QStringLiteral("--continua"));
    if (a.hasUnknownOptions() || a.positional().size() != 2)
        return usageError(context);
    bool okAnno = false, okNumero = false;
    const int anno = a.positional().at(0).toInt(&okAnno);
    const int progressivo = a.positional().at(1).toInt(&okNumero);
    if (!okAnno || !okNumero)
        return usageError(context);

    // The consistency question is answered Yes only when asked to go on.
    if (auto *console = dynamic_cast<ConsoleUi *>(&ui()))
        console->setAnswer(continua);

    Tdm data(context.root, false);
    CurrentDataModule current(&data);
    if (!data.ttDENUNCE->isOpen() || !data.ttRICHIESTE->isOpen()) {
        context.err << "Impossibile aprire le tabelle delle comunicazioni." << Qt::endl;
        return 1;
    }
    if (!data.ttDENUNCE->locate({QStringLiteral("ANNO"), QStringLiteral("PROGRESSIVO")}, {anno, progressivo})) {
        context.err << QStringLiteral("Comunicazione %1 dell'anno %2 non trovata.").arg(progressivo).arg(anno)
                    << Qt::endl;
        return 1;
    }
    // The selected request is the communication's first.
    data.ttRICHIESTE->first();
    if (!CreateTransmissionFile(nullptr))
        return 1;
    context.out << data.ttDENUNCE->text(QStringLiteral("NOME_FILE")) << Qt::endl;
    return 0;
}
