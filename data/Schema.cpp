#include "data/Schema.h"

#include "data/DataError.h"
#include "data/Database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringConverter>
#include <QTextStream>

const FieldDef *TableDef::field(const QString &fieldName) const
{
    for (const FieldDef &f : fields) {
        if (f.name.compare(fieldName, Qt::CaseInsensitive) == 0)
            return &f;
    }
    return nullptr;
}

QString TableDef::createSql() const
{
    QStringList cols;
    for (const FieldDef &f : fields) {
        QString type;
        switch (f.type) {
        case FieldType::AutoInc: type = QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT"); break;
        case FieldType::Integer:
        case FieldType::SmallInt: type = QStringLiteral("INTEGER"); break;
        case FieldType::Text:
        case FieldType::Date: type = QStringLiteral("TEXT"); break;
        }
        cols << QStringLiteral("  %1 %2").arg(f.name, type);
    }
    return QStringLiteral("CREATE TABLE %1 (\n%2\n)").arg(name, cols.join(QStringLiteral(",\n")));
}

QStringList TableDef::indexSql() const
{
    QStringList out;
    for (const IndexDef &i : indexes) {
        out << QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                       .arg(i.unique ? QStringLiteral("UNIQUE ") : QString(), i.name, name, i.columns)
                   + (i.where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + i.where);
    }
    return out;
}

namespace {

TableDef makeDenunce()
{
    TableDef t;
    t.name = QStringLiteral("DENUNCE");
    t.fileName = QStringLiteral("DENUNCE.DAT");
    t.key = QStringLiteral("ID_DENUNCIA");
    t.fields = {{"ID_DENUNCIA", FieldType::AutoInc},  {"ANNO", FieldType::Integer},
                {"PROGRESSIVO", FieldType::Integer},  {"DESCRIZIONE", FieldType::Text, 40},
                {"DATA_CREAZIONE", FieldType::Date},  {"STATO", FieldType::Text, 1},
                {"NOME_FILE", FieldType::Text, 1024}};
    t.indexes = {{"DENUNCE_ANNO_IDX", "ANNO, STATO"}};
    return t;
}

TableDef makeRichieste()
{
    TableDef t;
    t.name = QStringLiteral("RICHIESTE");
    t.fileName = QStringLiteral("RICHIESTE.DAT");
    t.key = QStringLiteral("ID_RICHIESTA");
    t.fields = {{"ID_RICHIESTA", FieldType::AutoInc}, {"ID_RICHIEDENTE", FieldType::Integer},
                {"DATA_INIZIO", FieldType::Date},     {"DATA_FINE", FieldType::Date},
                {"DATA_CREAZIONE", FieldType::Date},  {"NUM_TRASM", FieldType::SmallInt},
                {"ID_DENUNCIA", FieldType::Integer},  {"CODICE", FieldType::Text, 2},
                {"NUMERO", FieldType::Text, 16},      {"PADRE", FieldType::Integer}};
    t.indexes = {{"DENUNCIA_IDX", "ID_DENUNCIA"}, {"RICHIESTE_RICHIEDENTE_IDX", "ID_RICHIEDENTE"}};
    const QString person = QStringLiteral("(SELECT P.%1 FROM RICHIEDENTI P WHERE P.ID_RICHIEDENTE = R.ID_RICHIEDENTE)");
    const QString town = QStringLiteral("(SELECT C.NOME FROM RICHIEDENTI P JOIN COMUNI C ON C.ID = P.%1 "
                                        "WHERE P.ID_RICHIEDENTE = R.ID_RICHIEDENTE)");
    const QString k = QStringLiteral("ID_RICHIEDENTE");
    t.lookups = {{"lkCodFisRich", FieldType::Text, person.arg("PERS_CF"), k},
                 {"lkCognomeRich", FieldType::Text, person.arg("PERS_COGNOME"), k},
                 {"lkNomeRich", FieldType::Text, person.arg("PERS_NOME"), k},
                 {"lkSessoRich", FieldType::Text, person.arg("PERS_SESSO"), k},
                 {"lkDnascitaRich", FieldType::Date, person.arg("PERS_DNASCITA"), k},
                 {"lkCOMUNE", FieldType::Text, town.arg("ID_COMUNE"), k},
                 {"lkDenominazione", FieldType::Text, person.arg("DENOMINAZIONE"), k},
                 {"lkComune_Sede", FieldType::Text, town.arg("ID_COMUNE_SEDE"), k}};
    return t;
}

TableDef makeRichiedenti()
{
    TableDef t;
    t.name = QStringLiteral("RICHIEDENTI");
    t.fileName = QStringLiteral("RICHIEDENTI.DAT");
    t.key = QStringLiteral("ID_RICHIEDENTE");
    t.fields = {{"ID_RICHIEDENTE", FieldType::AutoInc}, {"TIPO_RICHIEDENTE", FieldType::Text, 1},
                {"PERS_CF", FieldType::Text, 16},        {"PERS_COGNOME", FieldType::Text, 26},
                {"PERS_NOME", FieldType::Text, 25},      {"PERS_SESSO", FieldType::Text, 1},
                {"PERS_DNASCITA", FieldType::Date},      {"ID_COMUNE", FieldType::Integer},
                {"DENOMINAZIONE", FieldType::Text, 50},  {"ID_COMUNE_SEDE", FieldType::Integer},
                {"BELFIORE", FieldType::Text, 5},        {"PROV", FieldType::Text, 2},
                {"PROV_SEDE", FieldType::Text, 2}};
    t.indexes = {{"RICHIEDENTI_CF_IDX", "PERS_CF"},
                 {"RICHIEDENTI_COGNOME_IDX", "PERS_COGNOME"},
                 {"RICHIEDENTI_DENOM_IDX", "DENOMINAZIONE"},
                 // The applicant lists' "Cognome / Denominazione" (ApplicantSearch::nameExpression).
                 {"RICHIEDENTI_NOME_IDX", "CASE WHEN TIPO_RICHIEDENTE = 'P' THEN COALESCE(PERS_COGNOME, '') || ' ' || "
                                          "COALESCE(PERS_NOME, '') ELSE COALESCE(DENOMINAZIONE, '') END"},
                 // Applicants holding a field of the other kind (ApplicantSearch::mixedCondition): normally none.
                 {"RICHIEDENTI_MISTI_IDX", "ID_RICHIEDENTE", false,
                  "(TIPO_RICHIEDENTE = 'P' AND COALESCE(DENOMINAZIONE, '') <> '') OR "
                  "(TIPO_RICHIEDENTE IS NOT 'P' AND COALESCE(PERS_COGNOME, '') <> '')"}};
    t.lookups = {{"lkCOMUNE", FieldType::Text, "(SELECT C.NOME FROM COMUNI C WHERE C.ID = R.ID_COMUNE)", "ID_COMUNE"},
                 {"lkComune_sede", FieldType::Text, "(SELECT C.NOME FROM COMUNI C WHERE C.ID = R.ID_COMUNE_SEDE)",
                  "ID_COMUNE_SEDE"}};
    return t;
}

TableDef makeComuni()
{
    TableDef t;
    t.name = QStringLiteral("COMUNI");
    t.fileName = QStringLiteral("COMUNI.DAT");
    t.key = QStringLiteral("ID");
    t.fields = {{"CODICE", FieldType::Text, 4}, {"NOME", FieldType::Text, 50}, {"PROV", FieldType::Text, 2},
                {"CAP", FieldType::Text, 5},    {"ID", FieldType::AutoInc}};
    t.indexes = {{"ttCOMUNIIndex1", "ID", true}, {"idx_nome", "NOME"}, {"COMUNI_CODICE_IDX", "CODICE"}};
    return t;
}

TableDef makeProvvedimenti()
{
    TableDef t;
    t.name = QStringLiteral("PROVVEDIMENTI");
    t.fileName = QStringLiteral("PROVVEDIMENTI.DAT");
    t.key = QStringLiteral("rowid");
    t.fields = {{"CODICE", FieldType::Text, 2}, {"DESCRIZIONE", FieldType::Text, 200}};
    t.indexes = {{"PROVVEDIMENTI_CODICE_IDX", "CODICE"}};
    return t;
}

QStringList splitCsvLine(const QString &line)
{
    return line.split(QLatin1Char(';'));
}

} // namespace

namespace Schema {

const TableDef &denunce()
{
    static const TableDef t = makeDenunce();
    return t;
}
const TableDef &richieste()
{
    static const TableDef t = makeRichieste();
    return t;
}
const TableDef &richiedenti()
{
    static const TableDef t = makeRichiedenti();
    return t;
}
const TableDef &comuni()
{
    static const TableDef t = makeComuni();
    return t;
}
const TableDef &provvedimenti()
{
    static const TableDef t = makeProvvedimenti();
    return t;
}

QList<const TableDef *> all()
{
    return {&denunce(), &richieste(), &richiedenti(), &comuni(), &provvedimenti()};
}

const TableDef *find(const QString &fileOrTableName)
{
    const QString base = QFileInfo(fileOrTableName).fileName();
    for (const TableDef *t : all()) {
        if (t->fileName.compare(base, Qt::CaseInsensitive) == 0 || t->name.compare(base, Qt::CaseInsensitive) == 0)
            return t;
    }
    return nullptr;
}

void createTableFile(const QString &path, const TableDef &table)
{
    if (QFileInfo::exists(path))
        throw DataError(QStringLiteral("Il file %1 esiste già").arg(QDir::toNativeSeparators(path)));
    SingleFileDatabase db(path, SingleFileDatabase::Create);
    Transaction tr(db.connection());
    db.connection().exec(table.createSql());
    for (const QString &sql : table.indexSql())
        db.connection().exec(sql);
    tr.commit();
}

QStringList layOutDataFolder(const QString &dataDir, const QString &resourcesDir)
{
    QDir().mkpath(dataDir);
    QStringList created;
    for (const TableDef *t : all()) {
        const QString path = QDir(dataDir).filePath(t->fileName);
        if (QFileInfo::exists(path))
            continue;
        const QString tmp = path + QStringLiteral(".nuovo");
        QFile::remove(tmp);
        createTableFile(tmp, *t);
        if (t == &comuni())
            importReferenceCsv(tmp, *t, QDir(resourcesDir).filePath(QStringLiteral("comuni.csv")));
        else if (t == &provvedimenti())
            importReferenceCsv(tmp, *t, QDir(resourcesDir).filePath(QStringLiteral("provvedimenti.csv")));
        if (!QFile::rename(tmp, path))
            throw DataError(QStringLiteral("Impossibile creare il file %1").arg(QDir::toNativeSeparators(path)));
        created << t->fileName;
    }
    return created;
}

int importReferenceCsv(const QString &tableFilePath, const TableDef &table, const QString &csvPath)
{
    if (&table != &comuni() && &table != &provvedimenti())
        throw DataError(QStringLiteral("La tabella %1 non è un elenco di riferimento").arg(table.name));
    QFile file(csvPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw DataError(QStringLiteral("Impossibile leggere il file %1").arg(QDir::toNativeSeparators(csvPath)));
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    const QStringList header = splitCsvLine(in.readLine().trimmed());
    QStringList wanted;
    for (const FieldDef &f : table.fields) {
        if (f.type != FieldType::AutoInc)
            wanted << f.name;
    }
    QList<int> columns;
    for (const QString &w : wanted) {
        int found = -1;
        for (int i = 0; i < header.size(); ++i) {
            if (header.at(i).trimmed().compare(w, Qt::CaseInsensitive) == 0)
                found = i;
        }
        if (found < 0)
            throw DataError(QStringLiteral("Nel file %1 manca la colonna %2").arg(QDir::toNativeSeparators(csvPath), w));
        columns << found;
    }
    QList<QStringList> rows;
    int lineNo = 1;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        ++lineNo;
        if (line.trimmed().isEmpty())
            continue;
        const QStringList parts = splitCsvLine(line);
        QStringList row;
        for (int c : columns) {
            if (c >= parts.size())
                throw DataError(QStringLiteral("Riga %1 del file %2 incompleta").arg(lineNo).arg(QDir::toNativeSeparators(csvPath)));
            const QString value = parts.at(c).trimmed();
            if (!isWindows1252(value))
                throw DataError(QStringLiteral("Riga %1 del file %2: caratteri non ammessi").arg(lineNo).arg(QDir::toNativeSeparators(csvPath)));
            row << value;
        }
        rows << row;
    }

    SingleFileDatabase db(tableFilePath, SingleFileDatabase::Open);
    Connection &c = db.connection();
    Transaction tr(c);
    const bool keepIds = (&table == &comuni());
    QHash<QString, qint64> oldIds;
    if (keepIds) {
        Statement s(c, QStringLiteral("SELECT CODICE, NOME, PROV, ID FROM COMUNI"));
        while (s.step())
            oldIds.insert(s.value(0).toString() + u'\x1f' + s.value(1).toString() + u'\x1f' + s.value(2).toString(),
                          s.value(3).toLongLong());
    }
    c.exec(QStringLiteral("DELETE FROM %1").arg(table.name));
    QStringList placeholders(wanted.size(), QStringLiteral("?"));
    QString insertSql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(table.name, wanted.join(QLatin1Char(',')), placeholders.join(QLatin1Char(',')));
    Statement insert(c, insertSql);
    Statement insertWithId(c, keepIds ? QStringLiteral("INSERT INTO COMUNI (CODICE, NOME, PROV, CAP, ID) VALUES (?,?,?,?,?)")
                                      : QStringLiteral("SELECT 1"));
    QList<QStringList> fresh;
    for (const QStringList &row : rows) {
        const qint64 id = keepIds ? oldIds.value(row.at(0) + u'\x1f' + row.at(1) + u'\x1f' + row.at(2), 0) : 0;
        if (id > 0) {
            insertWithId.reset();
            for (int i = 0; i < row.size(); ++i)
                insertWithId.bind(i + 1, row.at(i));
            insertWithId.bind(row.size() + 1, id);
            insertWithId.step();
        } else {
            fresh << row;
        }
    }
    for (const QStringList &row : fresh) {
        insert.reset();
        for (int i = 0; i < row.size(); ++i)
            insert.bind(i + 1, row.at(i));
        insert.step();
    }
    tr.commit();
    return int(rows.size());
}

} // namespace Schema
