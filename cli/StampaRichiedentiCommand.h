#pragma once

#include "cli/Command.h"

// Renders the applicant register with the "richiedenti" template to a PDF file.
class StampaRichiedentiCommand final : public Command
{
public:
    QString name() const override { return QStringLiteral("stampa-richiedenti"); }
    QString usage() const override { return QStringLiteral("--pdf FILE"); }
    int execute(const QStringList &args, CliContext &context) override;
};
