#include "applicants/CodiceFiscale.h"
#include "applicants/DemoRegister.h"
#include "data/Tdm.h"
#include "tests/support/Printers.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/ScriptedUi.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

bool validPartitaIva(const QString &p)
{
    if (!QRegularExpression("^[0-9]{11}$").match(p).hasMatch())
        return false;
    int sum = 0;
    for (int i = 0; i < 10; ++i) {
        int d = p.at(i).digitValue();
        if (i % 2) {
            d *= 2;
            d = d > 9 ? d - 9 : d;
        }
        sum += d;
    }
    return (10 - sum % 10) % 10 == p.at(10).digitValue();
}

} // namespace

TEST(DemoRegister, PartitaIvaCarriesItsCheckDigit)
{
    EXPECT_EQ(DemoRegister::partitaIva(1234567, 890), "12345678903");
    EXPECT_EQ(DemoRegister::partitaIva(1, 1), "00000010017");
}

TEST(DemoRegister, FillsARealisticRegisterAndOneOpenCommunication)
{
    ScriptedUi sui;
    ProgramFolder folder;
    Tdm data(folder.path(), false);
    dm = &data;
    Connection &sql = data.Database1.connection();
    sql.exec("INSERT INTO DENUNCE (ANNO, PROGRESSIVO, STATO) VALUES (2015, 1, 'C')");

    DemoRegister::Result result;
    ASSERT_TRUE(DemoRegister::generate({2000, 3000, 2015, 42}, &result));
    EXPECT_EQ(result.anno, 2015);
    EXPECT_EQ(result.progressivo, 2);
    EXPECT_EQ(sql.scalar("SELECT count(*) FROM RICHIEDENTI").toInt(), 2000);
    EXPECT_EQ(sql.scalar("SELECT count(*) FROM RICHIESTE WHERE ID_DENUNCIA = ?", {result.idDenuncia}).toInt(), 3000);
    EXPECT_EQ(sql.scalar("SELECT STATO || ' ' || DESCRIZIONE FROM DENUNCE WHERE ID_DENUNCIA = ?", {result.idDenuncia}).toString(),
              "A Comunicazione n. 2 / 2015");

    // Every natural person carries the code computed from the stored data and the birth place's code.
    int persons = 0, companies = 0;
    Statement p(sql, "SELECT R.TIPO_RICHIEDENTE, R.PERS_CF, R.PERS_COGNOME, R.PERS_NOME, R.PERS_SESSO, R.PERS_DNASCITA, "
                     "C.CODICE, R.BELFIORE, R.PROV, R.PROV_SEDE, C.PROV, R.DENOMINAZIONE "
                     "FROM RICHIEDENTI R LEFT JOIN COMUNI C ON C.ID = COALESCE(R.ID_COMUNE, R.ID_COMUNE_SEDE)");
    while (p.step()) {
        ASSERT_FALSE(p.value(6).isNull()) << "a municipality of COMUNI";
        EXPECT_EQ(p.value(7).toString(), p.value(6).toString());
        if (p.value(0).toString() == "P") {
            ++persons;
            const QDate d = QDate::fromString(p.value(5).toString(), Qt::ISODate);
            ASSERT_TRUE(d.isValid());
            EXPECT_TRUE(d.year() >= 1930 && d.year() <= 2005);
            EXPECT_EQ(p.value(1).toString(), ComputeCodiceFiscale(p.value(2).toString(), p.value(3).toString(), p.value(4).toString(),
                                                                  d.toString("dd/MM/yy"), p.value(6).toString()));
            EXPECT_EQ(p.value(1).toString().size(), 16);
            EXPECT_EQ(p.value(8).toString(), p.value(10).toString());
        } else {
            ++companies;
            EXPECT_TRUE(validPartitaIva(p.value(1).toString())) << p.value(1).toString().toStdString();
            EXPECT_FALSE(p.value(11).toString().isEmpty());
            EXPECT_LE(p.value(11).toString().size(), 50);
            EXPECT_EQ(p.value(9).toString(), p.value(10).toString());
        }
    }
    EXPECT_NEAR(companies / 2000.0, 0.2, 0.04);
    EXPECT_EQ(persons + companies, 2000);

    // Requests: applicants of the register, provision codes of PROVVEDIMENTI, dates in order within the year.
    EXPECT_EQ(sql.scalar("SELECT count(*) FROM RICHIESTE R LEFT JOIN RICHIEDENTI P ON P.ID_RICHIEDENTE = R.ID_RICHIEDENTE "
                         "LEFT JOIN PROVVEDIMENTI V ON V.CODICE = R.CODICE WHERE P.ID_RICHIEDENTE IS NULL OR V.CODICE IS NULL "
                         "OR R.DATA_INIZIO NOT LIKE '2015-%' OR R.DATA_FINE <= R.DATA_INIZIO OR R.NUMERO = '' "
                         "OR R.NUM_TRASM <> 1 OR R.PADRE <> 0 OR R.DATA_CREAZIONE IS NULL")
                  .toInt(),
              0);
    EXPECT_GT(sql.scalar("SELECT count(DISTINCT CODICE) FROM RICHIESTE").toInt(), 5);
    dm = nullptr;
}

TEST(DemoRegister, RefusesAYearWithAnOpenCommunicationAndAddsNothing)
{
    ScriptedUi sui;
    ProgramFolder folder;
    Tdm data(folder.path(), false);
    dm = &data;
    Connection &sql = data.Database1.connection();
    sql.exec("INSERT INTO DENUNCE (ANNO, PROGRESSIVO, STATO) VALUES (2015, 1, 'A')");
    DemoRegister::Result result;
    EXPECT_FALSE(DemoRegister::generate({50, 50, 2015, 1}, &result));
    EXPECT_EQ(sql.scalar("SELECT count(*) FROM RICHIEDENTI").toInt(), 0);
    EXPECT_EQ(sql.scalar("SELECT count(*) FROM DENUNCE").toInt(), 1);
    EXPECT_FALSE(data.Database1.inTransaction());
    dm = nullptr;
}

TEST(DemoRegister, ALargeRegisterKeepsEveryIndexOfItsTables)
{
    // Past some tens of thousands of rows the tables are filled bare and indexed again at the end.
    ScriptedUi sui;
    ProgramFolder folder;
    Tdm data(folder.path(), false);
    dm = &data;
    Connection &sql = data.Database1.connection();
    const auto indexes = [&] {
        QStringList names;
        for (const char *schema : {"RICHIEDENTI", "RICHIESTE"}) {
            Statement s(sql, QString("SELECT name FROM %1.sqlite_master WHERE type = 'index' ORDER BY name").arg(schema));
            while (s.step())
                names << s.value(0).toString();
        }
        return names;
    };
    const QStringList before = indexes();
    ASSERT_TRUE(before.contains("RICHIEDENTI_CF_IDX"));
    ASSERT_TRUE(before.contains("DENUNCIA_IDX"));
    DemoRegister::Result result;
    ASSERT_TRUE(DemoRegister::generate({40000, 10000, 2016, 3}, &result));
    EXPECT_EQ(indexes(), before);
    EXPECT_EQ(sql.scalar("PRAGMA RICHIEDENTI.integrity_check").toString(), "ok");
    EXPECT_EQ(sql.scalar("PRAGMA RICHIESTE.integrity_check").toString(), "ok");
    EXPECT_EQ(sql.scalar("SELECT count(*) FROM RICHIEDENTI INDEXED BY RICHIEDENTI_CF_IDX WHERE PERS_CF > ''").toInt(), 40000);
    dm = nullptr;
}
