#pragma once

#include "cli/Command.h"

// Renders the printout of one communication with the "denuncia" template to a PDF file.
class StampaComunicazioneCommand final : public Command
{
public:
    QString name() const override { return QStringLiteral("stampa-comunicazione"); }
    QString usage() const override { return QStringLiteral("ANNO PROGRESSIVO --pdf FILE"); }
    int execute(const QStringList &args, CliContext &context) override;
};
