#pragma once

#include "cli/Command.h"

// Runs the consistency check and renders its list with the "problemi" template to a PDF file.
class StampaProblemiCommand final : public Command
{
public:
    QString name() const override { return QStringLiteral("stampa-problemi"); }
    QString usage() const override { return QStringLiteral("--pdf FILE"); }
    int execute(const QStringList &args, CliContext &context) override;
};
