#pragma once

#include <QDate>
#include <QString>

class Tdm;

// The public body's settings.
struct TDatiEnte
{
    QString Denominazione;
    QString Indirizzo;
    QString Cap;
    QString Citta;
    QString Provincia;
    QString CodiceFiscale;
    QString Tel;
    QString Fax;
    QString Email;
    QString Responsabile;
    QString Belfiore;
};

// The applicant chosen in the selection dialog; 0 when nothing was chosen.
struct TRicerca
{
    qint64 ID = 0;
};

extern TDatiEnte DatiEnte;
extern bool PrimaEsecuzione;
extern int ProvaUpdate;
extern bool UpdateStarted;
extern TRicerca Ricerca;
extern Tdm *dm;

inline constexpr const char *ProgramVersion = "8.14";

// Day numbers count days from 30 December 1899 (day 0).
QDate zeroDate();
int dayNumber(const QDate &date);
// A date later than the zero date: the program's test for "a date was given".
bool isGivenDate(const QDate &date);
