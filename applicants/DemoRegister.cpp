#include "applicants/DemoRegister.h"

#include "applicants/CodiceFiscale.h"
#include "communications/Communications.h"
#include "data/Tdm.h"

#include <QRandomGenerator>

#include <vector>

namespace {

const char *const Cognomi[] = {
    "ROSSI", "RUSSO", "FERRARI", "ESPOSITO", "BIANCHI", "ROMANO", "COLOMBO", "RICCI", "MARINO", "GRECO", "BRUNO",
    "GALLO", "CONTI", "DE LUCA", "MANCINI", "COSTA", "GIORDANO", "RIZZO", "LOMBARDI", "MORETTI", "BARBIERI",
    "FONTANA", "SANTORO", "MARIANI", "RINALDI", "CARUSO", "FERRARA", "GALLI", "MARTINI", "LEONE", "LONGO",
    "GENTILE", "MARTINELLI", "VITALE", "LOMBARDO", "SERRA", "COPPOLA", "DE SANTIS", "D'ANGELO", "MARCHETTI",
    "PARISI", "VILLA", "CONTE", "FERRARO", "FERRI", "FABBRI", "BIANCO", "MARINI", "GRASSO", "VALENTINI", "MESSINA",
    "SALA", "DE ANGELIS", "GATTI", "PELLEGRINI", "PALUMBO", "SANNA", "FARINA", "RIZZI", "MONTI", "CATTANEO",
    "MORELLI", "AMATO", "SILVESTRI", "MAZZA", "TESTA", "GRASSI", "PELLEGRINO", "CARBONE", "GIULIANI", "BENEDETTI",
    "BARONE", "ROSSETTI", "CAPUTO", "MONTANARI", "GUERRA", "PALMIERI", "BERNARDI", "MARTINO", "FIORE", "DE ROSA",
    "FERRANTE", "BRUNI", "ORLANDO", "D'AMICO", "BASILE", "NERI", "BATTAGLIA", "SARTORI", "GUIDI", "CARTA", "DONATI",
    "SORRENTINO", "MELE", "CASTELLI", "PAGANO", "ORLANDI", "FUMAGALLI", "MILANI", "CIRILLO", "FERRETTI", "BELLINI",
    "D'ALESSANDRO", "RUGGIERO", "MAZZOLA", "LEONARDI", "SANTINI", "PIRAS", "BRAMBILLA", "MARCHI", "POZZI", "CASALE",
    "VENTURA", "RIVA", "GIACOMELLI", "FARINELLI", "BONETTI", "LUCCHESI", "POLI", "ZANETTI", "BORTOLOTTI", "DAL MASO",
    "DELL'ORTO", "LO PRESTI", "LA ROSA", "DI STEFANO", "DI PIETRO", "DE SIMONE", "PAGANI", "FALCO", "NOVELLI",
    "BONI", "BO", "LI", "FO", "PIÙ", "NICOLÒ", "MORÈ", "SAVOIA", "ZANI", "SCOTTI", "VIOLA", "MARRA", "TOSI",
    "CALABRESE", "BELLUCCI", "ALBANESE", "GRILLO", "CAPPELLI", "PEZZOLI", "ROTA", "BOSCHI", "SPINELLI",
};

const char *const NomiM[] = {
    "GIUSEPPE", "GIOVANNI", "ANTONIO", "MARIO", "LUIGI", "FRANCESCO", "ANGELO", "VINCENZO", "PIETRO", "SALVATORE",
    "CARLO", "FRANCO", "DOMENICO", "BRUNO", "PAOLO", "MICHELE", "GIORGIO", "ALDO", "SERGIO", "LUCIANO", "MARCO",
    "ANDREA", "ROBERTO", "STEFANO", "ALESSANDRO", "LUCA", "MASSIMO", "FABIO", "MAURIZIO", "DAVIDE", "MATTEO",
    "LORENZO", "SIMONE", "RICCARDO", "GIANFRANCO", "NICOLA", "ENRICO", "FEDERICO", "CLAUDIO", "ALBERTO", "GIACOMO",
    "EMANUELE", "DANIELE", "FILIPPO", "TOMMASO", "GABRIELE", "LEONARDO", "DIEGO", "EDOARDO", "RAFFAELE", "UMBERTO",
    "GIANLUCA", "CRISTIAN", "MATTIA", "SAMUELE", "PIERO", "GINO", "NICCOLÒ", "NOÈ", "IVO", "UGO", "GIAN MARIA",
    "PIER PAOLO", "ELIA", "OSCAR", "RENATO", "ERNESTO", "GUIDO", "ARMANDO", "SILVIO", "VITTORIO", "ETTORE",
};

const char *const NomiF[] = {
    "MARIA", "ANNA", "GIUSEPPINA", "ROSA", "ANGELA", "GIOVANNA", "TERESA", "LUCIA", "CARMELA", "CATERINA",
    "FRANCESCA", "ANNAMARIA", "ANTONIETTA", "CARLA", "ELENA", "CONCETTA", "RITA", "MARGHERITA", "FRANCA", "PAOLA",
    "LAURA", "GIULIA", "SARA", "CHIARA", "FEDERICA", "VALENTINA", "SILVIA", "ELISA", "MARTINA", "ALESSANDRA",
    "SIMONA", "MONICA", "BARBARA", "CRISTINA", "ROBERTA", "DANIELA", "PATRIZIA", "GIORGIA", "SOFIA", "AURORA",
    "ALICE", "GINEVRA", "EMMA", "GRETA", "BEATRICE", "NOEMI", "IRENE", "ILARIA", "ELEONORA", "SERENA", "VERONICA",
    "MANUELA", "LUISA", "ADA", "EVA", "IDA", "MARIA GRAZIA", "ANNA MARIA", "ZOE", "AGNESE", "NICOLETTA", "LUCREZIA",
};

const char *const Attivita[] = {
    "COSTRUZIONI", "IMPIANTI ELETTRICI", "TRASPORTI", "ALIMENTARI", "SERVIZI", "EDILIZIA", "COMMERCIO",
    "RISTORAZIONE", "AUTOTRASPORTI", "IMMOBILIARE", "ARREDAMENTI", "AGRICOLA", "TURISMO", "CONSULENZE",
    "CALZATURE", "TESSUTI", "AUTOFFICINA", "PANIFICIO", "FARMACIA", "FERRAMENTA", "INFORMATICA", "PUBBLICITA'",
};

const char *const Forme[] = {"S.R.L.", "S.P.A.", "S.N.C.", "S.A.S.", "& C. S.N.C.", "S.R.L.S.", "SOCIETA' COOPERATIVA"};

template <typename T, std::size_t N>
QString pick(QRandomGenerator &rng, const T (&list)[N])
{
    return QString::fromUtf8(list[rng.bounded(int(N))]);
}

QString company(QRandomGenerator &rng)
{
    switch (rng.bounded(10)) {
    case 0: return QStringLiteral("ASSOCIAZIONE CULTURALE ") + pick(rng, Cognomi);
    case 1: return QStringLiteral("BAR ") + pick(rng, NomiM).left(20) + QStringLiteral(" DI ") + pick(rng, Cognomi);
    case 2: return QStringLiteral("PARROCCHIA DI SAN ") + pick(rng, NomiM);
    default: {
        QString s = pick(rng, Cognomi) + QLatin1Char(' ') + pick(rng, Attivita) + QLatin1Char(' ') + pick(rng, Forme);
        return s.left(50);
    }
    }
}

QString isoDay(const QDate &d)
{
    return d.toString(Qt::ISODate);
}

} // namespace

QList<QPair<QString, QString>> DemoRegister::dropIndexes(Connection &c, const QStringList &schemas)
{
    QList<QPair<QString, QString>> dropped;
    for (const QString &schema : schemas) {
        QList<QPair<QString, QString>> found;
        {
            Statement s(c, QStringLiteral("SELECT name, sql FROM %1.sqlite_master WHERE type = 'index' AND sql IS NOT NULL").arg(schema));
            while (s.step())
                found.append({s.value(0).toString(), s.value(1).toString()});
        }
        for (const auto &[name, sql] : found) {
            // The stored statement names the index without its schema; the attached file needs it.
            QString create = sql;
            const qsizetype at = create.indexOf(name);
            if (at < 0)
                continue;
            create.insert(at, schema + QLatin1Char('.'));
            c.exec(QStringLiteral("DROP INDEX %1.%2").arg(schema, name));
            dropped.append({schema, create});
        }
    }
    return dropped;
}

QString DemoRegister::partitaIva(quint32 matricola, int ufficio)
{
    const QString body = QStringLiteral("%1%2").arg(matricola % 10000000, 7, 10, QLatin1Char('0')).arg(ufficio % 1000, 3, 10, QLatin1Char('0'));
    int sum = 0;
    for (int i = 0; i < 10; ++i) {
        int d = body.at(i).digitValue();
        if (i % 2 == 1) {
            d *= 2;
            if (d > 9)
                d -= 9;
        }
        sum += d;
    }
    return body + QString::number((10 - sum % 10) % 10);
}

bool DemoRegister::generate(const Options &options, Result *result)
{
    Connection &c = dm->Database1.connection();
    QRandomGenerator rng(options.seed);

    std::vector<Comune> comuni;
    {
        Statement s(c, QStringLiteral("SELECT ID, CODICE, PROV FROM COMUNI"));
        while (s.step())
            comuni.push_back({s.value(0).toLongLong(), s.value(1).toString(), s.value(2).toString()});
    }
    if (comuni.empty() && options.richiedenti > 0)
        throw DataError(QStringLiteral("L'archivio dei comuni è vuoto."));
    if (options.richieste > 0 && options.richiedenti <= 0)
        throw DataError(QStringLiteral("Le richieste hanno bisogno di almeno un richiedente."));
    QStringList codici;
    {
        Statement s(c, QStringLiteral("SELECT CODICE FROM PROVVEDIMENTI ORDER BY CODICE"));
        while (s.step())
            codici << s.value(0).toString();
    }
    if (codici.isEmpty() && options.richieste > 0)
        throw DataError(QStringLiteral("L'archivio dei provvedimenti è vuoto."));

    try {
        Transaction tr(c);
        if (!Communications::NewCommunication(options.anno))
            return false;
        // Many rows enter faster into bare tables: their indexes are built again, sorted, at the end.
        const bool bulk = options.richiedenti + options.richieste >= BulkRows;
        QList<QPair<QString, QString>> indexes;
        if (bulk)
            indexes = dropIndexes(c, {QStringLiteral("RICHIEDENTI"), QStringLiteral("RICHIESTE")});
        fill(options, rng, comuni, codici, result);
        for (const auto &[schema, sql] : indexes)
            c.exec(sql);
        tr.commit();
    } catch (...) {
        // The cursors may stand on rows that the rollback took away.
        if (dm->ttDENUNCE->isOpen())
            dm->ttDENUNCE->refresh();
        throw;
    }
    if (dm->ttRICHIESTE->isOpen())
        dm->ttRICHIESTE->first();
    return true;
}

void DemoRegister::fill(const Options &options, QRandomGenerator &rng, const std::vector<Comune> &comuni,
                        const QStringList &codici, Result *result)
{
    Connection &c = dm->Database1.connection();
    const qint64 idDenuncia = dm->ttDENUNCE->key();
    const int progressivo = int(dm->ttDENUNCE->integer(QStringLiteral("PROGRESSIVO")));

    qint64 firstId = 0, lastId = 0;
    {
        Statement ins(c, QStringLiteral("INSERT INTO RICHIEDENTI (TIPO_RICHIEDENTE, PERS_CF, PERS_COGNOME, PERS_NOME, "
                                        "PERS_SESSO, PERS_DNASCITA, ID_COMUNE, DENOMINAZIONE, ID_COMUNE_SEDE, BELFIORE, "
                                        "PROV, PROV_SEDE) VALUES (?,?,?,?,?,?,?,?,?,?,?,?)"));
        const QDate oldest(1935, 1, 1);
        const int span = int(oldest.daysTo(QDate(2003, 12, 31)));
        const QVariant null;
        for (int i = 0; i < options.richiedenti; ++i) {
            const Comune &comune = comuni[rng.bounded(quint32(comuni.size()))];
            if (rng.bounded(5) == 0) {
                ins.bind(1, QStringLiteral("A"))
                    .bind(2, partitaIva(rng.bounded(1u, 10000000u), int(rng.bounded(1, 122))))
                    .bind(3, null)
                    .bind(4, null)
                    .bind(5, null)
                    .bind(6, null)
                    .bind(7, null)
                    .bind(8, company(rng))
                    .bind(9, comune.id)
                    .bind(10, comune.codice)
                    .bind(11, null)
                    .bind(12, comune.prov);
            } else {
                const bool male = rng.bounded(2) == 0;
                const QString cognome = pick(rng, Cognomi);
                const QString nome = male ? pick(rng, NomiM) : pick(rng, NomiF);
                const QString sesso = male ? QStringLiteral("M") : QStringLiteral("F");
                const QDate nascita = oldest.addDays(rng.bounded(span));
                const QString cf =
                    ComputeCodiceFiscale(cognome, nome, sesso, nascita.toString(QStringLiteral("dd/MM/yy")), comune.codice);
                ins.bind(1, QStringLiteral("P"))
                    .bind(2, cf)
                    .bind(3, cognome)
                    .bind(4, nome)
                    .bind(5, sesso)
                    .bind(6, isoDay(nascita))
                    .bind(7, comune.id)
                    .bind(8, null)
                    .bind(9, null)
                    .bind(10, comune.codice)
                    .bind(11, comune.prov)
                    .bind(12, null);
            }
            ins.step();
            ins.reset();
            lastId = c.lastInsertId();
            if (i == 0)
                firstId = lastId;
        }
    }

    {
        Statement ins(c, QStringLiteral("INSERT INTO RICHIESTE (ID_RICHIEDENTE, DATA_INIZIO, DATA_FINE, DATA_CREAZIONE, "
                                        "NUM_TRASM, ID_DENUNCIA, CODICE, NUMERO, PADRE) VALUES (?,?,?,?,1,?,?,?,0)"));
        const QDate yearStart(options.anno, 1, 1);
        const int days = yearStart.daysInYear();
        for (int i = 0; i < options.richieste; ++i) {
            const qint64 applicant = firstId + qint64(rng.bounded(quint32(lastId - firstId + 1)));
            const QDate inizio = yearStart.addDays(rng.bounded(days));
            const QDate fine = inizio.addYears(1 + int(rng.bounded(9))).addDays(-1);
            const QDate creazione = std::min(inizio.addDays(rng.bounded(30)), yearStart.addDays(days - 1));
            ins.bind(1, applicant)
                .bind(2, isoDay(inizio))
                .bind(3, isoDay(fine))
                .bind(4, isoDay(creazione))
                .bind(5, idDenuncia)
                .bind(6, codici.at(int(rng.bounded(quint32(codici.size())))))
                .bind(7, QString::number(rng.bounded(1u, 1000000u)))
                ;
            ins.step();
            ins.reset();
        }
    }
    if (result)
        *result = {options.anno, progressivo, idDenuncia};
}
