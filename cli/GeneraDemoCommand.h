#pragma once

#include "cli/Command.h"

// Adds a synthetic register and one new open communication holding its requests; prints the
// communication's year and number.
class GeneraDemoCommand final : public Command
{
public:
    QString name() const override { return QStringLiteral("genera-demo"); }
    QString usage() const override { return QStringLiteral("--richiedenti N --richieste M [--anno AAAA]"); }
    int execute(const QStringList &args, CliContext &context) override;
};
