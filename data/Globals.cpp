#include "data/Globals.h"

TDatiEnte DatiEnte;
bool PrimaEsecuzione = true;
int ProvaUpdate = 0;
bool UpdateStarted = false;
TRicerca Ricerca;
Tdm *dm = nullptr;

QDate zeroDate()
{
    return QDate(1899, 12, 30);
}

int dayNumber(const QDate &date)
{
    return date.isValid() ? int(zeroDate().daysTo(date)) : 0;
}

bool isGivenDate(const QDate &date)
{
    return date.isValid() && date > zeroDate();
}
