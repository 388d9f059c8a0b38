#include "app/SettingsValidation.h"

QString settingsProblems(const TDatiEnte &typed)
{
    QString problems;
    auto require = [&](const QString &value, const char *message) {
        if (value.trimmed().isEmpty())
            problems += QString::fromUtf8(message) + QLatin1Char('\r');
    };
    require(typed.Denominazione, "Denominazione Ente - campo obbligatorio");
    require(typed.Indirizzo, "Indirizzo - campo obbligatorio");
    require(typed.Cap, "CAP - campo obbligatorio");
    require(typed.Citta, "Città - campo obbligatorio");
    require(typed.Belfiore, "Codice belfiore dell'ente - campo obbligatorio");
    require(typed.Provincia, "Provincia - campo obbligatorio");
    if (typed.CodiceFiscale.trimmed().size() != 11)
        problems += QStringLiteral("Codice Fiscale Ente - valore errato o mancante\r");
    if (problems.isEmpty())
        return QString();
    return QStringLiteral("Sono stati riscontrati i seguenti problemi:\r") + problems;
}
