#pragma once

#include <QByteArrayView>
#include <QDate>
#include <QList>
#include <QString>

class Connection;
class ReportData;

// A natural person whose stored codice fiscale differs from the computed one.
struct CfProblem
{
    QString cognome;
    QString nome;
    QString cf; // as stored, not the computed code
    QString sesso;
    QDate dnascita; // invalid when missing
};

// mtProblemi: the list of the latest check, in the order found; kept until the next check.
QList<CfProblem> &mtProblemi();

// The natural persons with a birth municipality in COMUNI, streamed in the database's order.
inline constexpr const char *CfCheckSql = "SELECT R.PERS_COGNOME, R.PERS_NOME, R.PERS_SESSO, R.PERS_DNASCITA, "
                                          "R.PERS_CF, C.CODICE "
                                          "FROM RICHIEDENTI R JOIN COMUNI C ON (R.ID_COMUNE = C.ID) "
                                          "WHERE (R.TIPO_RICHIEDENTE = 'P')";

// True when `stored` is exactly ComputeCodiceFiscale(cognome, nome, sesso, the birth date as "dd/mm/yy",
// belfiore); every text is UTF-8 as stored, the date "YYYY-MM-DD" or empty when missing (then the zero
// date). Plain ASCII data are checked without allocating; anything else goes through ComputeCodiceFiscale.
bool StoredCfMatches(QByteArrayView cognome, QByteArrayView nome, QByteArrayView sesso, QByteArrayView dnascita,
                     QByteArrayView belfiore, QByteArrayView stored);

// Empties mtProblemi and fills it with every natural person of the register whose stored code is not
// exactly ComputeCodiceFiscale of their data. Shows nothing; returns the number listed.
int FindCfProblems(Connection &connection);

// The check run before a transmission file is written: when it lists anyone it shows the message and
// the "problemi" report and returns true once the preview is closed. Works on dm.
bool CheckCodiciFiscali();

// mtProblemi as the data set of the "problemi" report: cognome, nome, cf, sesso, dnascita.
ReportData ProblemiReportData();
