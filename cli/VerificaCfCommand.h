#pragma once

#include "cli/Command.h"

// The codice fiscale consistency check: one line "cognome;nome;cf;sesso;dnascita" per problem.
class VerificaCfCommand final : public Command
{
public:
    QString name() const override { return QStringLiteral("verifica-cf"); }
    QString usage() const override { return QString(); }
    int execute(const QStringList &args, CliContext &context) override;
};
