#pragma once

#include "data/Record.h"
#include "data/Schema.h"

#include <QObject>
#include <functional>

class Database;

// A cursor on one table: the current row in key order, its lookup and calculated fields, and an
// edit buffer for appending or changing a row. A detail cursor shows only the rows whose link field
// equals the master's current value and gives that value to the rows appended through it.
class TableCursor : public QObject
{
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Insert, Edit };

    TableCursor(Database &db, const TableDef &def, QObject *parent = nullptr);

    const TableDef &definition() const { return m_def; }
    QString fileName() const { return m_def.fileName; }
    QString tableName() const { return m_def.name; }

    // The table must be attached to the database; otherwise opening raises a DataError.
    void open();
    void close();
    bool isOpen() const { return m_state != State::Inactive; }
    State state() const { return m_state; }
    bool isEditing() const { return m_state == State::Insert || m_state == State::Edit; }

    void setMasterLink(TableCursor *master, const QString &linkField);
    // Browses in the order of this field (then of the key) instead of the key alone.
    void setOrderField(const QString &field) { m_orderField = field; }
    TableCursor *master() const { return m_master; }

    // Navigation in key order.
    void first();
    void next();
    void prior();
    void last();
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    bool isEmpty() const { return m_key == 0 && !isEditing() && countRows() == 0; }
    int recordCount() const;
    // Exact match on one or more fields; the cursor moves to the first match, or stays.
    bool locate(const QStringList &fields, const QVariantList &values);
    bool locate(const QString &field, const QVariant &value) { return locate(QStringList{field}, {value}); }
    // Moves to the row with that key (a bookmark); false, and no move, when it does not exist.
    bool moveToKey(qint64 key);
    qint64 key() const { return m_key; }
    // Reads the current row again, after a change made through another cursor.
    void refresh();

    // The current row (or the edit buffer while inserting or editing).
    const Record &record() const { return isEditing() ? m_buffer : m_row; }
    QVariant fieldValue(const QString &name) const;
    QString text(const QString &name) const { return record().text(name); }
    qint64 integer(const QString &name) const { return record().integer(name); }
    QDate date(const QString &name) const { return record().date(name); }
    bool hasField(const QString &name) const { return m_row.contains(name); }
    // Only while inserting or editing; lookup and calculated fields are read-only.
    void setFieldValue(const QString &name, const QVariant &value);

    void append();
    void edit();
    void post();
    void cancel();
    void deleteCurrent();

    // Defaults of a new row, run after append() fills the link field.
    std::function<void(TableCursor &)> afterInsert;
    // Computes calculated fields into the record, after every read and change.
    std::function<void(Record &)> calcFields;
    // Calculated fields: added to every record, filled by calcFields.
    void addCalculatedField(const QString &name);

signals:
    // The current row moved or its values changed.
    void currentChanged();
    void stateChanged();
    // Rows were added, changed or removed: lists showing the table reload.
    void contentChanged();

private:
    QString selectList() const;
    QString filterSql() const;
    QVariantList filterParams() const;
    qint64 seekKey(const QString &cond, const QVariantList &params, bool descending) const;
    int countRows() const;
    void load(qint64 key);
    void loadEmpty();
    Record emptyRecord() const;
    void refreshLookups(Record &r) const;
    void setState(State s);
    void requireOpen() const;
    void masterMoved();

    Database &m_db;
    const TableDef &m_def;
    State m_state = State::Inactive;
    TableCursor *m_master = nullptr;
    QString m_linkField;
    QString m_orderField;
    qint64 m_masterKey = -1;
    QStringList m_calculated;
    Record m_row;
    Record m_buffer;
    qint64 m_key = 0;
    bool m_eof = true;
    bool m_bof = true;
};
