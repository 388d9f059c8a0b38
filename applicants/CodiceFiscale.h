#pragma once

#include <QString>

// The codice fiscale of a natural person from surname, name, sex ("M" is male, any other non-empty
// text female), birth date laid out "dd/mm/yy" and the cadastral code of the birth municipality.
// Returns 16 characters, or an empty text when the input is insufficient. Pure: no table, no Ui.
QString ComputeCodiceFiscale(const QString &cognome, const QString &nome, const QString &sesso,
                             const QString &dnascita, const QString &belfiore);
