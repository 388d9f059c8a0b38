#include "applicants/CodiceFiscale.h"
#include "applicants/ConsistencyCheck.h"
#include "data/Database.h"
#include "data/Tdm.h"
#include "tests/support/ProgramFolder.h"

#include <QElapsedTimer>
#include <QRandomGenerator>

#include <benchmark/benchmark.h>

namespace {

// A register of natural persons with their computed codes, one in a hundred stored wrong.
struct NaturalPersons
{
    ProgramFolder folder;
    std::unique_ptr<Tdm> data;

    explicit NaturalPersons(int count)
    {
        data = std::make_unique<Tdm>(folder.path(), false);
        Connection &c = data->Database1.connection();
        QList<std::pair<qint64, QString>> comuni;
        {
            Statement q(c, "SELECT ID, CODICE FROM COMUNI");
            while (q.step())
                comuni.append({q.value(0).toLongLong(), q.value(1).toString()});
        }
        static const char *const surnames[] = {"ROSSI", "BIANCHI", "ESPOSITO", "COLOMBO", "RICCI", "MARINO", "GRECO",
                                               "BRUNO", "GALLO", "CONTI", "DE LUCA", "MANCINI", "COSTA", "GIORDANO"};
        static const char *const names[] = {"MARIO", "ANNA", "GIUSEPPE", "MARIA", "LUCA", "GIULIA", "FRANCESCO",
                                            "SARA", "ALESSANDRO", "CHIARA", "ANDREA", "ELENA"};
        QRandomGenerator rng(20081);
        Transaction t(c);
        Statement ins(c, "INSERT INTO RICHIEDENTI (TIPO_RICHIEDENTE, PERS_CF, PERS_COGNOME, PERS_NOME, PERS_SESSO, "
                         "PERS_DNASCITA, ID_COMUNE) VALUES ('P', ?, ?, ?, ?, ?, ?)");
        for (int i = 0; i < count; ++i) {
            const QString cognome = QString::fromLatin1(surnames[rng.bounded(int(std::size(surnames)))]);
            const int n = rng.bounded(int(std::size(names)));
            const QString nome = QString::fromLatin1(names[n]);
            const QString sesso = n % 2 ? QStringLiteral("F") : QStringLiteral("M");
            const QDate nascita = QDate(1930, 1, 1).addDays(rng.bounded(27000));
            const auto &comune = comuni.at(rng.bounded(int(comuni.size())));
            QString cf = ComputeCodiceFiscale(cognome, nome, sesso, nascita.toString("dd/MM/yy"), comune.second);
            if (i % 100 == 0)
                cf = cf.toLower();
            ins.reset();
            ins.bindAll({cf, cognome, nome, sesso, nascita.toString(Qt::ISODate), comune.first});
            ins.step();
        }
        t.commit();
    }
};

// The consistency check alone over 1,000,000 natural persons (target: under 2 s).
void BM_ConsistencyCheck(benchmark::State &state)
{
    static NaturalPersons persons(1000000);
    int found = 0;
    QElapsedTimer clock;
    clock.start();
    for (auto _ : state)
        found = FindCfProblems(persons.data->Database1.connection());
    const double ms = double(clock.elapsed()) / double(state.iterations());
    if (found != 10000)
        state.SkipWithError("unexpected number of problems");
    state.SetLabel("1.000.000 persone fisiche|< 2000 ms");
    state.counters["ratio"] = ms / 2000.0;
}

} // namespace

BENCHMARK(BM_ConsistencyCheck)->Unit(benchmark::kMillisecond)->Iterations(3);
