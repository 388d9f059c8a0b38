#pragma once

#include "cli/Command.h"

// verifica-aggiornamenti [--scarica DIR]: the update check against the configured server; with
// --scarica the files are downloaded and verified into DIR instead of handed over to the setup.
class VerificaAggiornamentiCommand final : public Command
{
public:
    QString name() const override { return QStringLiteral("verifica-aggiornamenti"); }
    QString usage() const override { return QStringLiteral("[--scarica CARTELLA]"); }
    int execute(const QStringList &args, CliContext &context) override;
};
