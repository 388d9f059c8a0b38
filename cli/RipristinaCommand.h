#pragma once

#include "cli/Command.h"

// ripristina ARCHIVIO: the restore of the Utilità dialog, its question answered Yes.
class RipristinaCommand final : public Command
{
public:
    QString name() const override { return QStringLiteral("ripristina"); }
    QString usage() const override { return QStringLiteral("ARCHIVIO"); }
    int execute(const QStringList &args, CliContext &context) override;
};
