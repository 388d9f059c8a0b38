#pragma once

#include "cli/Command.h"

// Creates the transmission file of one communication as "Crea file" does and prints its full path.
class CreaFileCommand final : public Command
{
public:
    QString name() const override { return QStringLiteral("crea-file"); }
    QString usage() const override { return QStringLiteral("ANNO PROGRESSIVO [--continua]"); }
    int execute(const QStringList &args, CliContext &context) override;
};
