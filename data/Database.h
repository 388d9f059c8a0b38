#pragma once

#include "data/DataError.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

struct sqlite3;
struct sqlite3_stmt;
struct TableDef;

// True when every character of the text has a place in Windows-1252.
bool isWindows1252(const QString &text);

// Owns one SQLite handle. Only data/ knows that the engine is SQLite.
class Connection
{
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    // flags: SQLite open flags; the file is never created unless the flags say so.
    void open(const QString &path, int flags);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    sqlite3 *handle() const { return m_db; }

    void exec(const QString &sql, const QVariantList &params = {});
    QVariant scalar(const QString &sql, const QVariantList &params = {});
    qint64 lastInsertId() const;
    int changes() const;

    void begin();
    void commit();
    void rollback();
    bool inTransaction() const;

    [[noreturn]] void fail(int rc, const QString &context = QString()) const;

private:
    sqlite3 *m_db = nullptr;
};

// A prepared statement; values bind from QVariant and read back as QVariant.
class Statement
{
public:
    Statement(Connection &c, const QString &sql);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    Statement &bind(int index, const QVariant &value); // 1-based
    Statement &bind(const QString &name, const QVariant &value); // ":name"
    Statement &bindAll(const QVariantList &values);
    bool step(); // true while a row is available
    void reset();

    int columnCount() const;
    QString columnName(int i) const;
    QVariant value(int i) const;
    // The column as UTF-8 text without a copy, valid until the next step; empty for NULL. For loops
    // over many rows that would otherwise allocate per value.
    QByteArrayView utf8(int i) const;
    bool isNull(int i) const;

private:
    Connection &m_c;
    sqlite3_stmt *m_stmt = nullptr;
};

// Rolls back in its destructor unless committed.
class Transaction
{
public:
    explicit Transaction(Connection &c) : m_c(c) { m_c.begin(); }
    ~Transaction();
    void commit();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

private:
    Connection &m_c;
    bool m_done = false;
};

// One table file opened on its own (creation, import, repair, maintenance).
class SingleFileDatabase
{
public:
    enum Mode { Open, Create, ReadOnly };
    SingleFileDatabase(const QString &path, Mode mode);
    Connection &connection() { return m_c; }

private:
    Connection m_c;
};

// The database "TARVIDO": the table files of one folder attached under one handle, so that
// joins and transactions work across them. The main schema is a scratch file outside the folder,
// needed for SQLite to commit a transaction over several files atomically.
class Database
{
public:
    enum class OpenResult { Opened, Damaged, Unavailable };

    Database() = default;
    ~Database();

    void open(const QString &folder); // the folder must exist
    void close();
    bool isOpen() const { return m_c.isOpen(); }
    QString folder() const { return m_folder; }
    Connection &connection() { return m_c; }

    // Attaches the table's file. Damaged: the engine found the file corrupt or unreadable;
    // Unavailable: missing file, missing table or any other failure. errorText gets the engine's text.
    OpenResult attachTable(const TableDef &table, QString *errorText = nullptr);
    void detachTable(const TableDef &table);
    bool isAttached(const TableDef &table) const;
    bool isAttached(const QString &tableName) const { return m_attached.contains(tableName, Qt::CaseInsensitive); }
    QString tablePath(const TableDef &table) const;

    void startTransaction() { m_c.begin(); }
    void commit() { m_c.commit(); }
    void rollback() { m_c.rollback(); }
    bool inTransaction() const { return m_c.inTransaction(); }

private:
    Connection m_c;
    QString m_folder;
    QString m_mainPath;
    QStringList m_attached;
};
