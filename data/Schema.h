#pragma once

#include <QList>
#include <QString>

enum class FieldType { AutoInc, Integer, SmallInt, Text, Date };

struct FieldDef
{
    QString name;
    FieldType type;
    int size = 0; // characters, for texts; 0 when the length is not fixed
};

struct IndexDef
{
    QString name;
    QString columns; // comma-separated
    bool unique = false;
    QString where = QString(); // a partial index: only the rows satisfying it; empty for every row
};

// A field that is not stored: a scalar SQL expression over the row aliased R.
struct LookupDef
{
    QString name;
    FieldType type;
    QString expression;
    QString keyField; // the stored field whose change alters the lookup
};

struct TableDef
{
    QString name;     // "RICHIESTE"
    QString fileName; // "RICHIESTE.DAT"
    QString key;      // the auto-increment key
    QList<FieldDef> fields;
    QList<IndexDef> indexes;
    QList<LookupDef> lookups;

    const FieldDef *field(const QString &fieldName) const; // case-insensitive, null when unknown
    QString createSql() const;                              // the table in schema "main"
    QStringList indexSql() const;
};

namespace Schema {
const TableDef &denunce();
const TableDef &richieste();
const TableDef &richiedenti();
const TableDef &comuni();
const TableDef &provvedimenti();
// In the order the data module opens them.
QList<const TableDef *> all();
// By file name or table name, without regard to case; null when unknown.
const TableDef *find(const QString &fileOrTableName);

// Creates a table file holding the empty table with its indexes; fails when the file exists.
void createTableFile(const QString &path, const TableDef &table);
// Adds the missing table files of a data folder; a new COMUNI or PROVVEDIMENTI is filled from
// comuni.csv or provvedimenti.csv of resourcesDir. Existing files are never touched.
QStringList layOutDataFolder(const QString &dataDir, const QString &resourcesDir);
// Replaces the rows of COMUNI or PROVVEDIMENTI in a table file from a semicolon-separated file with a
// header line. COMUNI keeps the ID of a municipality already present (same CODICE, NOME and PROV),
// so that applicants keep pointing at it. Returns the number of rows written.
int importReferenceCsv(const QString &tableFilePath, const TableDef &table, const QString &csvPath);
} // namespace Schema
