#pragma once

#include "cli/Command.h"

// ripara [FILE.DAT …]: repairs the named table files of dati/ (every *.DAT when none is named),
// one log line each as the repair dialog writes it.
class RiparaCommand final : public Command
{
public:
    QString name() const override { return QStringLiteral("ripara"); }
    QString usage() const override { return QStringLiteral("[FILE.DAT ...]"); }
    int execute(const QStringList &args, CliContext &context) override;
};
