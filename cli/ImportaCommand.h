#pragma once

#include "cli/Command.h"

// importa-comuni CSV / importa-provvedimenti CSV: replaces the contents of a reference table.
class ImportaCommand final : public Command
{
public:
    enum Table { Comuni, Provvedimenti };
    explicit ImportaCommand(Table table) : m_table(table) {}
    QString name() const override;
    QString usage() const override { return QStringLiteral("FILE.csv"); }
    int execute(const QStringList &args, CliContext &context) override;

private:
    Table m_table;
};
