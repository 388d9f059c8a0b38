#pragma once

#include "cli/Command.h"

// salva ARCHIVIO: the backup of the Utilità dialog, its questions answered Yes.
class SalvaCommand final : public Command
{
public:
    QString name() const override { return QStringLiteral("salva"); }
    QString usage() const override { return QStringLiteral("ARCHIVIO"); }
    int execute(const QStringList &args, CliContext &context) override;
};
