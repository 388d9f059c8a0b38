#include "data/TableCursor.h"

#include "data/Database.h"

namespace {

QVariant fromStored(FieldType type, const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return {};
    switch (type) {
    case FieldType::Date: {
        const QDate d = QDate::fromString(v.toString(), Qt::ISODate);
        return d.isValid() ? QVariant(d) : QVariant();
    }
    case FieldType::AutoInc:
    case FieldType::Integer:
    case FieldType::SmallInt:
        return QVariant(v.toLongLong());
    case FieldType::Text:
        return QVariant(v.toString());
    }
    return v;
}

QVariant toStored(FieldType type, const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return {};
    switch (type) {
    case FieldType::Date: {
        const QDate d = v.typeId() == QMetaType::QDate ? v.toDate() : QDate::fromString(v.toString(), Qt::ISODate);
        return d.isValid() ? QVariant(d.toString(Qt::ISODate)) : QVariant();
    }
    case FieldType::AutoInc:
    case FieldType::Integer:
    case FieldType::SmallInt: {
        if (v.typeId() == QMetaType::QString && v.toString().trimmed().isEmpty())
            return {};
        bool ok = false;
        const qlonglong n = v.toLongLong(&ok);
        if (!ok)
            throw DataError(QStringLiteral("'%1' non è un numero intero valido").arg(v.toString()));
        return QVariant(n);
    }
    case FieldType::Text:
        return QVariant(v.toString());
    }
    return v;
}

} // namespace

TableCursor::TableCursor(Database &db, const TableDef &def, QObject *parent) : QObject(parent), m_db(db), m_def(def)
{
    m_row = emptyRecord();
    m_buffer = emptyRecord();
}

void TableCursor::addCalculatedField(const QString &name)
{
    m_calculated << name;
    m_row = emptyRecord();
    m_buffer = emptyRecord();
}

Record TableCursor::emptyRecord() const
{
    Record r;
    for (const FieldDef &f : m_def.fields)
        r.append(f.name);
    for (const LookupDef &l : m_def.lookups)
        r.append(l.name);
    for (const QString &c : m_calculated)
        r.append(c);
    return r;
}

void TableCursor::requireOpen() const
{
    if (!isOpen())
        throw DataError(QStringLiteral("Errore del database: la tabella %1 non è aperta").arg(m_def.fileName));
}

void TableCursor::setState(State s)
{
    if (m_state == s)
        return;
    m_state = s;
    emit stateChanged();
}

void TableCursor::open()
{
    if (isOpen())
        return;
    if (!m_db.isOpen() || !m_db.isAttached(m_def))
        throw DataError(QStringLiteral("Errore del database: la tabella %1 non è disponibile").arg(m_def.fileName));
    setState(State::Browse);
    m_masterKey = -1;
    first();
}

void TableCursor::close()
{
    m_row = emptyRecord();
    m_buffer = emptyRecord();
    m_key = 0;
    m_eof = m_bof = true;
    setState(State::Inactive);
}

void TableCursor::setMasterLink(TableCursor *master, const QString &linkField)
{
    if (m_master)
        disconnect(m_master, nullptr, this, nullptr);
    m_master = master;
    m_linkField = linkField;
    if (m_master)
        connect(m_master, &TableCursor::currentChanged, this, &TableCursor::masterMoved);
}

void TableCursor::masterMoved()
{
    if (!isOpen() || isEditing())
        return;
    const qint64 k = m_master->fieldValue(m_linkField).toLongLong();
    if (k != m_masterKey)
        first();
}

QString TableCursor::selectList() const
{
    QStringList cols;
    for (const FieldDef &f : m_def.fields)
        cols << QStringLiteral("R.") + f.name;
    for (const LookupDef &l : m_def.lookups) {
        bool available = true;
        for (const TableDef *t : Schema::all()) {
            if (l.expression.contains(QStringLiteral(" ") + t->name + QStringLiteral(" ")) && !m_db.isAttached(*t))
                available = false;
        }
        cols << (available ? l.expression : QStringLiteral("NULL")) + QStringLiteral(" AS ") + l.name;
    }
    return cols.join(QStringLiteral(", "));
}

QString TableCursor::filterSql() const
{
    if (!m_master)
        return QStringLiteral("1");
    return QStringLiteral("R.%1 = ?").arg(m_linkField);
}

QVariantList TableCursor::filterParams() const
{
    if (!m_master)
        return {};
    return {m_master->fieldValue(m_linkField).toLongLong()};
}

qint64 TableCursor::seekKey(const QString &cond, const QVariantList &params, bool descending) const
{
    const QString dir = descending ? QStringLiteral(" DESC") : QString();
    QString order = QStringLiteral("R.%1%2").arg(m_def.key, dir);
    if (!m_orderField.isEmpty())
        order = QStringLiteral("R.%1%2, ").arg(m_orderField, dir) + order;
    const QString sql = QStringLiteral("SELECT R.%1 FROM %2 R WHERE %3 AND (%4) ORDER BY %5 LIMIT 1")
                            .arg(m_def.key, m_def.name, filterSql(), cond, order);
    Statement s(m_db.connection(), sql);
    s.bindAll(filterParams() + params);
    if (s.step())
        return s.value(0).toLongLong();
    return 0;
}

int TableCursor::countRows() const
{
    if (!isOpen())
        return 0;
    Statement s(m_db.connection(), QStringLiteral("SELECT count(*) FROM %1 R WHERE %2").arg(m_def.name, filterSql()));
    s.bindAll(filterParams());
    return s.step() ? s.value(0).toInt() : 0;
}

int TableCursor::recordCount() const
{
    requireOpen();
    return countRows();
}

void TableCursor::loadEmpty()
{
    m_row = emptyRecord();
    m_key = 0;
    if (calcFields)
        calcFields(m_row);
}

void TableCursor::load(qint64 key)
{
    Statement s(m_db.connection(),
                QStringLiteral("SELECT %1 FROM %2 R WHERE R.%3 = ?").arg(selectList(), m_def.name, m_def.key));
    s.bind(1, key);
    if (!s.step()) {
        loadEmpty();
        return;
    }
    Record r = emptyRecord();
    int i = 0;
    for (const FieldDef &f : m_def.fields)
        r.setValue(i, fromStored(f.type, s.value(i))), ++i;
    for (const LookupDef &l : m_def.lookups)
        r.setValue(i, fromStored(l.type, s.value(i))), ++i;
    if (calcFields)
        calcFields(r);
    m_row = r;
    m_key = key;
}

void TableCursor::refreshLookups(Record &r) const
{
    if (m_def.lookups.isEmpty())
        return;
    QStringList keyFields;
    for (const LookupDef &l : m_def.lookups) {
        if (!keyFields.contains(l.keyField))
            keyFields << l.keyField;
    }
    QStringList derived;
    QVariantList params;
    for (const QString &k : keyFields) {
        derived << QStringLiteral("? AS %1").arg(k);
        params << r.value(k);
    }
    QStringList exprs;
    for (const LookupDef &l : m_def.lookups) {
        bool available = true;
        for (const TableDef *t : Schema::all()) {
            if (l.expression.contains(QStringLiteral(" ") + t->name + QStringLiteral(" ")) && !m_db.isAttached(*t))
                available = false;
        }
        exprs << (available ? l.expression : QStringLiteral("NULL"));
    }
    Statement s(m_db.connection(),
                QStringLiteral("SELECT %1 FROM (SELECT %2) R").arg(exprs.join(QStringLiteral(", ")), derived.join(QStringLiteral(", "))));
    s.bindAll(params);
    const bool found = s.step();
    for (int i = 0; i < m_def.lookups.size(); ++i)
        r.setValue(m_def.lookups.at(i).name, found ? fromStored(m_def.lookups.at(i).type, s.value(i)) : QVariant());
}

void TableCursor::first()
{
    requireOpen();
    if (m_master)
        m_masterKey = m_master->fieldValue(m_linkField).toLongLong();
    const qint64 k = seekKey(QStringLiteral("1"), {}, false);
    if (k)
        load(k);
    else
        loadEmpty();
    m_bof = true;
    m_eof = (k == 0);
    emit currentChanged();
}

void TableCursor::last()
{
    requireOpen();
    const qint64 k = seekKey(QStringLiteral("1"), {}, true);
    if (k)
        load(k);
    else
        loadEmpty();
    m_eof = true;
    m_bof = (k == 0);
    emit currentChanged();
}

void TableCursor::next()
{
    requireOpen();
    if (m_key == 0) {
        m_eof = true;
        return;
    }
    qint64 k = 0;
    if (m_orderField.isEmpty()) {
        k = seekKey(QStringLiteral("R.%1 > ?").arg(m_def.key), {m_key}, false);
    } else {
        const QVariant v = m_row.value(m_orderField);
        k = seekKey(QStringLiteral("R.%1 > ? OR (R.%1 = ? AND R.%2 > ?)").arg(m_orderField, m_def.key), {v, v, m_key}, false);
    }
    if (k) {
        load(k);
        m_bof = false;
        m_eof = false;
        emit currentChanged();
    } else {
        m_eof = true;
    }
}

void TableCursor::prior()
{
    requireOpen();
    if (m_key == 0) {
        m_bof = true;
        return;
    }
    qint64 k = 0;
    if (m_orderField.isEmpty()) {
        k = seekKey(QStringLiteral("R.%1 < ?").arg(m_def.key), {m_key}, true);
    } else {
        const QVariant v = m_row.value(m_orderField);
        k = seekKey(QStringLiteral("R.%1 < ? OR (R.%1 = ? AND R.%2 < ?)").arg(m_orderField, m_def.key), {v, v, m_key}, true);
    }
    if (k) {
        load(k);
        m_eof = false;
        m_bof = false;
        emit currentChanged();
    } else {
        m_bof = true;
    }
}

bool TableCursor::locate(const QStringList &fields, const QVariantList &values)
{
    requireOpen();
    QStringList conds;
    QVariantList params;
    for (int i = 0; i < fields.size(); ++i) {
        const FieldDef *f = m_def.field(fields.at(i));
        if (!f)
            throw DataError(QStringLiteral("Campo '%1' non trovato").arg(fields.at(i)));
        const QVariant v = toStored(f->type, values.value(i));
        if (v.isNull()) {
            conds << QStringLiteral("R.%1 IS NULL").arg(f->name);
        } else {
            conds << QStringLiteral("R.%1 = ?").arg(f->name);
            params << v;
        }
    }
    const qint64 k = seekKey(conds.join(QStringLiteral(" AND ")), params, false);
    if (!k)
        return false;
    load(k);
    m_eof = m_bof = false;
    emit currentChanged();
    return true;
}

bool TableCursor::moveToKey(qint64 key)
{
    requireOpen();
    const qint64 k = seekKey(QStringLiteral("R.%1 = ?").arg(m_def.key), {key}, false);
    if (!k)
        return false;
    load(k);
    m_eof = m_bof = false;
    emit currentChanged();
    return true;
}

void TableCursor::refresh()
{
    requireOpen();
    if (isEditing())
        return;
    if (m_key && seekKey(QStringLiteral("R.%1 = ?").arg(m_def.key), {m_key}, false))
        load(m_key);
    else
        first();
    emit currentChanged();
}

QVariant TableCursor::fieldValue(const QString &name) const
{
    return record().value(name);
}

void TableCursor::setFieldValue(const QString &name, const QVariant &value)
{
    if (!isEditing())
        throw DataError(QStringLiteral("Errore del database: la tabella %1 non è in modifica").arg(m_def.fileName));
    const FieldDef *f = m_def.field(name);
    if (!f || f->type == FieldType::AutoInc)
        throw DataError(QStringLiteral("Il campo '%1' non è modificabile").arg(name));
    QVariant v = value;
    if (v.typeId() == QMetaType::QString && f->type == FieldType::Date)
        v = QDate::fromString(v.toString(), Qt::ISODate);
    if (f->type == FieldType::Date && v.typeId() == QMetaType::QDate && !v.toDate().isValid())
        v = QVariant();
    m_buffer.setValue(f->name, v);
    bool lookupKey = false;
    for (const LookupDef &l : m_def.lookups)
        lookupKey = lookupKey || l.keyField.compare(f->name, Qt::CaseInsensitive) == 0;
    if (lookupKey)
        refreshLookups(m_buffer);
    if (calcFields)
        calcFields(m_buffer);
    emit currentChanged();
}

void TableCursor::append()
{
    requireOpen();
    if (isEditing())
        throw DataError(QStringLiteral("Errore del database: la tabella %1 è già in modifica").arg(m_def.fileName));
    m_buffer = emptyRecord();
    setState(State::Insert);
    if (m_master)
        m_buffer.setValue(m_linkField, m_master->fieldValue(m_linkField).toLongLong());
    if (afterInsert)
        afterInsert(*this);
    refreshLookups(m_buffer);
    if (calcFields)
        calcFields(m_buffer);
    emit currentChanged();
}

void TableCursor::edit()
{
    requireOpen();
    if (isEditing())
        return;
    if (m_key == 0)
        throw DataError(QStringLiteral("Errore del database: nessuna riga da modificare in %1").arg(m_def.fileName));
    m_buffer = m_row;
    setState(State::Edit);
}

void TableCursor::post()
{
    if (!isEditing())
        return;
    QStringList cols;
    QVariantList values;
    for (const FieldDef &f : m_def.fields) {
        if (f.type == FieldType::AutoInc)
            continue;
        const QVariant v = toStored(f.type, m_buffer.value(f.name));
        if (f.type == FieldType::Text && !isWindows1252(v.toString()))
            throw DataError(QStringLiteral("Il campo %1 contiene caratteri non ammessi").arg(f.name));
        cols << f.name;
        values << v;
    }
    qint64 key = m_key;
    if (m_state == State::Insert) {
        QStringList marks(cols.size(), QStringLiteral("?"));
        m_db.connection().exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                   .arg(m_def.name, cols.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
                               values);
        key = m_db.connection().lastInsertId();
    } else {
        QStringList sets;
        for (const QString &c : cols)
            sets << c + QStringLiteral(" = ?");
        values << m_key;
        m_db.connection().exec(
            QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?").arg(m_def.name, sets.join(QLatin1Char(',')), m_def.key), values);
    }
    load(key);
    m_eof = m_bof = false;
    setState(State::Browse);
    emit contentChanged();
    emit currentChanged();
}

void TableCursor::cancel()
{
    if (!isEditing())
        return;
    setState(State::Browse);
    if (m_key)
        load(m_key);
    else
        loadEmpty();
    emit currentChanged();
}

void TableCursor::deleteCurrent()
{
    requireOpen();
    if (isEditing())
        cancel();
    if (m_key == 0)
        throw DataError(QStringLiteral("Errore del database: nessuna riga da eliminare in %1").arg(m_def.fileName));
    const qint64 old = m_key;
    next();
    const qint64 after = (m_key != old) ? m_key : 0;
    if (!after)
        prior();
    const qint64 target = (m_key != old) ? m_key : 0;
    m_db.connection().exec(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(m_def.name, m_def.key), {old});
    if (target)
        load(target);
    else
        loadEmpty();
    m_eof = (target == 0);
    emit contentChanged();
    emit currentChanged();
}
