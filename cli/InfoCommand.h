#pragma once

#include "cli/Command.h"

// Opens the database (with the automatic repair) and prints each open table with its row count.
class InfoCommand final : public Command
{
public:
    QString name() const override { return QStringLiteral("info"); }
    QString usage() const override { return QString(); }
    int execute(const QStringList &args, CliContext &context) override;
};
