#include "data/Database.h"
#include "data/Schema.h"
#include "tests/support/Printers.h"
#include "tests/support/ProgramFolder.h"

#include <gtest/gtest.h>

namespace {

QStringList columnsOf(const QString &file, const QString &table)
{
    SingleFileDatabase db(file, SingleFileDatabase::ReadOnly);
    Statement s(db.connection(), QStringLiteral("PRAGMA table_info(%1)").arg(table));
    QStringList cols;
    while (s.step())
        cols << s.value(1).toString();
    return cols;
}

QStringList indexesOf(const QString &file, const QString &table)
{
    SingleFileDatabase db(file, SingleFileDatabase::ReadOnly);
    Statement s(db.connection(), QStringLiteral("SELECT name FROM sqlite_master WHERE type='index' AND tbl_name=?"));
    s.bind(1, table);
    QStringList out;
    while (s.step())
        out << s.value(0).toString();
    return out;
}

} // namespace

TEST(Schema, TableFilesHoldTheColumnsInOrderAndTheNamedIndexes)
{
    ProgramFolder folder;
    struct Case
    {
        QString file, table;
        QStringList columns, indexes;
    } cases[] = {
        {"DENUNCE.DAT", "DENUNCE", {"ID_DENUNCIA", "ANNO", "PROGRESSIVO", "DESCRIZIONE", "DATA_CREAZIONE", "STATO", "NOME_FILE"}, {}},
        {"RICHIESTE.DAT", "RICHIESTE",
         {"ID_RICHIESTA", "ID_RICHIEDENTE", "DATA_INIZIO", "DATA_FINE", "DATA_CREAZIONE", "NUM_TRASM", "ID_DENUNCIA", "CODICE", "NUMERO", "PADRE"},
         {"DENUNCIA_IDX"}},
        {"RICHIEDENTI.DAT", "RICHIEDENTI",
         {"ID_RICHIEDENTE", "TIPO_RICHIEDENTE", "PERS_CF", "PERS_COGNOME", "PERS_NOME", "PERS_SESSO", "PERS_DNASCITA", "ID_COMUNE",
          "DENOMINAZIONE", "ID_COMUNE_SEDE", "BELFIORE", "PROV", "PROV_SEDE"},
         {}},
        {"COMUNI.DAT", "COMUNI", {"CODICE", "NOME", "PROV", "CAP", "ID"}, {"ttCOMUNIIndex1", "idx_nome"}},
        {"PROVVEDIMENTI.DAT", "PROVVEDIMENTI", {"CODICE", "DESCRIZIONE"}, {}},
    };
    for (const Case &c : cases) {
        const QString file = folder.dataPath() + c.file;
        EXPECT_EQ(columnsOf(file, c.table), c.columns) << c.file.toStdString();
        const QStringList idx = indexesOf(file, c.table);
        for (const QString &name : c.indexes)
            EXPECT_TRUE(idx.contains(name)) << c.file.toStdString() << " lacks " << name.toStdString();
        // One table per file, named as the file.
        SingleFileDatabase db(file, SingleFileDatabase::ReadOnly);
        EXPECT_EQ(db.connection().scalar("SELECT group_concat(name) FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite_%'").toString(), c.table);
    }
    // The register's prefix searches and lookups have indexes.
    const QStringList reg = indexesOf(folder.dataPath() + "RICHIEDENTI.DAT", "RICHIEDENTI");
    EXPECT_GE(reg.size(), 3);
}

TEST(Schema, ReferenceTablesAreFilledAndWorkingTablesEmpty)
{
    ProgramFolder folder;
    SingleFileDatabase comuni(folder.dataPath() + "COMUNI.DAT", SingleFileDatabase::ReadOnly);
    EXPECT_EQ(comuni.connection().scalar("SELECT count(*) FROM COMUNI").toInt(), 13670);
    EXPECT_EQ(comuni.connection().scalar("SELECT NOME FROM COMUNI WHERE CODICE='H501' AND PROV='RM'").toString(), "ROMA");
    SingleFileDatabase prov(folder.dataPath() + "PROVVEDIMENTI.DAT", SingleFileDatabase::ReadOnly);
    EXPECT_GT(prov.connection().scalar("SELECT count(*) FROM PROVVEDIMENTI").toInt(), 0);
    SingleFileDatabase rich(folder.dataPath() + "RICHIEDENTI.DAT", SingleFileDatabase::ReadOnly);
    EXPECT_EQ(rich.connection().scalar("SELECT count(*) FROM RICHIEDENTI").toInt(), 0);
}
