#pragma once

#include <QString>
#include <QList>
#include <QPair>
#include <QStringList>
#include <QtGlobal>

#include <vector>

class Connection;
class QRandomGenerator;

// A synthetic register for trials and benchmarks: natural persons with Italian names, birth places
// from COMUNI and correct codici fiscali, about one applicant in five a company with an 11-digit
// partita IVA, and one new open communication of the year holding requests of those applicants with
// provision codes from PROVVEDIMENTI and plausible dates. Works on `dm`, in one transaction.
class DemoRegister
{
public:
    struct Options
    {
        int richiedenti = 0;
        int richieste = 0;
        int anno = 0;
        quint64 seed = 1;
    };
    struct Result
    {
        int anno = 0;
        int progressivo = 0;
        qint64 idDenuncia = 0;
    };

    // False, and nothing added, when the year already has an open communication. Other failures
    // (no municipalities, requests without applicants, the database) raise an exception and roll back.
    static bool generate(const Options &options, Result *result);

    // A valid partita IVA (11 digits, the last one the check digit) from a number of the register.
    static QString partitaIva(quint32 matricola, int ufficio);

private:
    static constexpr int BulkRows = 50000;
    // Drops the indexes of the attached tables; returns their CREATE statements, schema-qualified.
    static QList<QPair<QString, QString>> dropIndexes(Connection &c, const QStringList &schemas);

    struct Comune
    {
        qint64 id;
        QString codice;
        QString prov;
    };
    static void fill(const Options &options, QRandomGenerator &rng, const std::vector<Comune> &comuni,
                     const QStringList &codici, Result *result);
};
