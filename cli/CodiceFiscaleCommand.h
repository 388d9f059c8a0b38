#pragma once

#include "cli/Command.h"

// Prints the codice fiscale computed from surname, name, sex, birth date (GG/MM/AA) and cadastral code,
// taken as given; an empty line when the input is insufficient.
class CodiceFiscaleCommand final : public Command
{
public:
    QString name() const override { return QStringLiteral("codice-fiscale"); }
    QString usage() const override { return QStringLiteral("COGNOME NOME SESSO GG/MM/AA BELFIORE"); }
    int execute(const QStringList &args, CliContext &context) override;
};
