#include "communications/Printouts.h"

#include "data/Report.h"
#include "data/Tdm.h"
#include "data/Ui.h"

namespace {

// Rows between two looks at the window events while a large data set is read.
constexpr int EventsEvery = 8192;

struct Column
{
    QString name;
    QString expression;
    FieldType type;
    QString needs; // a table the expression reads besides the main one
};

// Runs one select over the columns; an expression whose table is not open reads as empty, as the
// cursors' lookups do.
ReportData readRows(Database &db, const QList<Column> &columns, const QString &from, const QString &where,
                    const QVariantList &params)
{
    QStringList names, exprs;
    for (const Column &c : columns) {
        names << c.name;
        exprs << ((c.needs.isEmpty() || db.isAttached(c.needs)) ? c.expression : QStringLiteral("NULL"))
                     + QStringLiteral(" AS ") + c.name;
    }
    ReportData data(names);
    Statement q(db.connection(),
                QStringLiteral("SELECT %1 FROM %2 WHERE %3").arg(exprs.join(QStringLiteral(", ")), from, where));
    q.bindAll(params);
    int row = 0;
    QVariantList values;
    while (q.step()) {
        values.clear();
        values.reserve(columns.size());
        for (int i = 0; i < columns.size(); ++i) {
            const QVariant v = q.value(i);
            if (columns.at(i).type == FieldType::Date && !v.isNull()) {
                const QDate d = QDate::fromString(v.toString(), Qt::ISODate);
                values << (d.isValid() ? QVariant(d) : QVariant());
            } else {
                values << v;
            }
        }
        data.addRow(values);
        if (++row % EventsEvery == 0)
            ui().processEvents();
    }
    return data;
}

QList<Column> storedColumns(const TableDef &table)
{
    QList<Column> out;
    for (const FieldDef &f : table.fields)
        out.append({f.name, QStringLiteral("R.") + f.name, f.type, {}});
    return out;
}

// Joins whose table is closed are left out; their columns then read NULL.
QString leftJoin(Database &db, const QString &table, const QString &alias, const QString &on)
{
    if (!db.isAttached(table))
        return QString();
    return QStringLiteral(" LEFT JOIN %1 %2 ON %3").arg(table, alias, on);
}

} // namespace

QString Printouts::stateLabel(const QString &stato)
{
    if (stato == QLatin1String("A"))
        return QStringLiteral("Aperta");
    if (stato == QLatin1String("C"))
        return QStringLiteral("File Creato");
    if (stato == QLatin1String("T"))
        return QStringLiteral("Trasmessa");
    return QString();
}

void Printouts::fillCommunication(Report &report, Tdm &data)
{
    const TableCursor *d = data.ttDENUNCE;
    auto whole = [&](const QString &field) {
        const QVariant v = d->fieldValue(field);
        return v.isNull() ? QVariant() : QVariant(v.toLongLong());
    };
    report.clearVariables();
    report.setVariable(QStringLiteral("ENTE"), DatiEnte.Denominazione);
    report.setVariable(QStringLiteral("NOME_DENUNCIA"), d->text(QStringLiteral("DESCRIZIONE")));
    report.setVariable(QStringLiteral("ANNUALITA"), whole(QStringLiteral("ANNO")));
    report.setVariable(QStringLiteral("PROGRESSIVO"), whole(QStringLiteral("PROGRESSIVO")));
    report.setVariable(QStringLiteral("STATO"), stateLabel(d->text(QStringLiteral("STATO"))));

    Database &db = data.Database1;
    const QString P = QStringLiteral("RICHIEDENTI"), C = QStringLiteral("COMUNI");
    QList<Column> columns;
    for (const char *f : {"ID_RICHIESTA", "ID_RICHIEDENTE", "ID_DENUNCIA", "CODICE", "NUMERO", "DATA_INIZIO",
                             "DATA_FINE", "DATA_CREAZIONE", "NUM_TRASM", "PADRE"})
        columns.append({QLatin1String(f), QStringLiteral("R.") + QLatin1String(f),
                        Schema::richieste().field(QLatin1String(f))->type, {}});
    columns.append({QStringLiteral("lkCodFisRich"), QStringLiteral("P.PERS_CF"), FieldType::Text, P});
    columns.append({QStringLiteral("lkCognomeRich"), QStringLiteral("P.PERS_COGNOME"), FieldType::Text, P});
    columns.append({QStringLiteral("lkNomeRich"), QStringLiteral("P.PERS_NOME"), FieldType::Text, P});
    columns.append({QStringLiteral("lkSessoRich"), QStringLiteral("P.PERS_SESSO"), FieldType::Text, P});
    columns.append({QStringLiteral("lkDnascitaRich"), QStringLiteral("P.PERS_DNASCITA"), FieldType::Date, P});
    const bool towns = db.isAttached(P) && db.isAttached(C);
    columns.append({QStringLiteral("lkCOMUNE"), towns ? QStringLiteral("CN.NOME") : QStringLiteral("NULL"),
                    FieldType::Text, {}});
    columns.append({QStringLiteral("lkDenominazione"), QStringLiteral("P.DENOMINAZIONE"), FieldType::Text, P});
    columns.append({QStringLiteral("lkComune_Sede"), towns ? QStringLiteral("CS.NOME") : QStringLiteral("NULL"),
                    FieldType::Text, {}});
    columns.append({QStringLiteral("NOMINATIVO"),
                    QStringLiteral("CASE WHEN P.TIPO_RICHIEDENTE = 'P' THEN COALESCE(P.PERS_COGNOME, '') || ' ' || "
                                   "COALESCE(P.PERS_NOME, '') ELSE P.DENOMINAZIONE END"),
                    FieldType::Text, P});

    QString from = QStringLiteral("RICHIESTE R")
                   + leftJoin(db, P, QStringLiteral("P"), QStringLiteral("P.ID_RICHIEDENTE = R.ID_RICHIEDENTE"));
    if (towns) {
        from += leftJoin(db, C, QStringLiteral("CN"), QStringLiteral("CN.ID = P.ID_COMUNE"))
                + leftJoin(db, C, QStringLiteral("CS"), QStringLiteral("CS.ID = P.ID_COMUNE_SEDE"));
    }
    // The requests cursor's order: by key within the communication.
    report.setData(readRows(db, columns, from, QStringLiteral("R.ID_DENUNCIA = ? ORDER BY R.ID_RICHIESTA"),
                            {d->key()}));
}

void Printouts::fillRichiedenti(Report &report, Tdm &data)
{
    report.clearVariables();
    report.setVariable(QStringLiteral("ENTE"), DatiEnte.Denominazione);

    Database &db = data.Database1;
    const QString C = QStringLiteral("COMUNI");
    QList<Column> columns = storedColumns(Schema::richiedenti());
    columns.append({QStringLiteral("lkCOMUNE"), QStringLiteral("CN.NOME"), FieldType::Text, C});
    columns.append({QStringLiteral("lkComune_sede"), QStringLiteral("CS.NOME"), FieldType::Text, C});
    columns.append({QStringLiteral("CDENOM"),
                    QStringLiteral("CASE WHEN R.TIPO_RICHIEDENTE = 'P' THEN COALESCE(R.PERS_COGNOME, '') || ' ' || "
                                   "COALESCE(R.PERS_NOME, '') ELSE R.DENOMINAZIONE END"),
                    FieldType::Text, {}});
    columns.append({QStringLiteral("LUOGO"),
                    QStringLiteral("CASE WHEN R.TIPO_RICHIEDENTE = 'P' THEN CN.NOME ELSE CS.NOME END"), FieldType::Text,
                    C});
    columns.append({QStringLiteral("PROV_LUOGO"),
                    QStringLiteral("CASE WHEN R.TIPO_RICHIEDENTE = 'P' THEN R.PROV ELSE R.PROV_SEDE END"),
                    FieldType::Text, {}});
    const QString from = QStringLiteral("RICHIEDENTI R")
                         + leftJoin(db, C, QStringLiteral("CN"), QStringLiteral("CN.ID = R.ID_COMUNE"))
                         + leftJoin(db, C, QStringLiteral("CS"), QStringLiteral("CS.ID = R.ID_COMUNE_SEDE"));
    // The table's own order, by key.
    report.setData(readRows(db, columns, from, QStringLiteral("1 ORDER BY R.ID_RICHIEDENTE"), {}));
}

namespace {

// The template is read first, so that a missing one is told before a large data set is read.
template <typename Fill>
bool preview(const QString &name, Fill fill)
{
    Report report(name);
    QString error;
    if (!report.loadTemplate(report.templatePath(dm->AppPath), &error)) {
        Tdm::ShowMsg(error);
        return false;
    }
    {
        BusyCursor busy;
        fill(report, *dm);
    }
    ui().previewReport(report);
    return true;
}

} // namespace

bool Printouts::PrintCommunication()
{
    return preview(QStringLiteral("denuncia"), &Printouts::fillCommunication);
}

bool Printouts::PrintRichiedenti()
{
    return preview(QStringLiteral("richiedenti"), &Printouts::fillRichiedenti);
}
