#include "data/Database.h"

#include "data/Schema.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <QUrl>
#include <QUuid>

#include <sqlite3.h>

bool DataError::isDamage() const
{
    const int primary = m_code & 0xff;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB || primary == SQLITE_IOERR;
}

bool isWindows1252(const QString &text)
{
    // Windows-1252 maps 0x00-0x7F and 0xA0-0xFF to the same code points; 0x80-0x9F hold 27 others.
    static const char16_t extra[] = {0x20AC, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030,
                                     0x0160, 0x2039, 0x0152, 0x017D, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                     0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x017E, 0x0178};
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
            continue;
        bool ok = false;
        for (char16_t e : extra) {
            if (e == u) {
                ok = true;
                break;
            }
        }
        if (!ok)
            return false;
    }
    return true;
}

// ---- Connection

Connection::~Connection()
{
    close();
}

void Connection::open(const QString &path, int flags)
{
    close();
    const QByteArray name = path.toUtf8();
    int rc = sqlite3_open_v2(name.constData(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString text = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString();
        sqlite3_close(m_db);
        m_db = nullptr;
        throw DataError(QStringLiteral("Impossibile aprire %1: %2").arg(QDir::toNativeSeparators(path), text), rc);
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, 2000);
    exec(QStringLiteral("PRAGMA case_sensitive_like = ON"));
}

void Connection::close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

void Connection::fail(int rc, const QString &context) const
{
    QString text = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString::fromUtf8(sqlite3_errstr(rc));
    if (!context.isEmpty())
        text = context + QStringLiteral(": ") + text;
    throw DataError(QStringLiteral("Errore del database: %1").arg(text), rc);
}

void Connection::exec(const QString &sql, const QVariantList &params)
{
    Statement s(*this, sql);
    s.bindAll(params);
    while (s.step()) {
    }
}

QVariant Connection::scalar(const QString &sql, const QVariantList &params)
{
    Statement s(*this, sql);
    s.bindAll(params);
    if (s.step())
        return s.value(0);
    return {};
}

qint64 Connection::lastInsertId() const
{
    return sqlite3_last_insert_rowid(m_db);
}

int Connection::changes() const
{
    return sqlite3_changes(m_db);
}

void Connection::begin()
{
    if (inTransaction())
        throw DataError(QStringLiteral("Errore del database: una transazione è già attiva"));
    exec(QStringLiteral("BEGIN"));
}

void Connection::commit()
{
    exec(QStringLiteral("COMMIT"));
}

void Connection::rollback()
{
    if (inTransaction())
        exec(QStringLiteral("ROLLBACK"));
}

bool Connection::inTransaction() const
{
    return m_db && sqlite3_get_autocommit(m_db) == 0;
}

// ---- Statement

Statement::Statement(Connection &c, const QString &sql) : m_c(c)
{
    if (!c.isOpen())
        throw DataError(QStringLiteral("Errore del database: il database non è aperto"));
    const QByteArray text = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(c.handle(), text.constData(), int(text.size()), &m_stmt, nullptr);
    if (rc != SQLITE_OK)
        c.fail(rc);
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

Statement &Statement::bind(int index, const QVariant &value)
{
    int rc = SQLITE_OK;
    if (!value.isValid() || value.isNull()) {
        rc = sqlite3_bind_null(m_stmt, index);
    } else {
        switch (value.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::Bool:
            rc = sqlite3_bind_int64(m_stmt, index, value.toLongLong());
            break;
        case QMetaType::Double:
            rc = sqlite3_bind_double(m_stmt, index, value.toDouble());
            break;
        case QMetaType::QDate:
            rc = sqlite3_bind_text(m_stmt, index, value.toDate().toString(Qt::ISODate).toUtf8().constData(), -1,
                                   SQLITE_TRANSIENT);
            break;
        default: {
            const QByteArray t = value.toString().toUtf8();
            rc = sqlite3_bind_text(m_stmt, index, t.constData(), int(t.size()), SQLITE_TRANSIENT);
        }
        }
    }
    if (rc != SQLITE_OK)
        m_c.fail(rc);
    return *this;
}

Statement &Statement::bind(const QString &name, const QVariant &value)
{
    const int index = sqlite3_bind_parameter_index(m_stmt, name.toUtf8().constData());
    if (index == 0)
        throw DataError(QStringLiteral("Errore del database: parametro %1 sconosciuto").arg(name));
    return bind(index, value);
}

Statement &Statement::bindAll(const QVariantList &values)
{
    for (int i = 0; i < values.size(); ++i)
        bind(i + 1, values.at(i));
    return *this;
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(m_stmt);
    m_c.fail(rc);
}

void Statement::reset()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

int Statement::columnCount() const
{
    return sqlite3_column_count(m_stmt);
}

QString Statement::columnName(int i) const
{
    return QString::fromUtf8(sqlite3_column_name(m_stmt, i));
}

QVariant Statement::value(int i) const
{
    switch (sqlite3_column_type(m_stmt, i)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(m_stmt, i)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_stmt, i));
    case SQLITE_NULL:
        return {};
    default: {
        const char *t = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, i));
        return QVariant(QString::fromUtf8(t, sqlite3_column_bytes(m_stmt, i)));
    }
    }
}

QByteArrayView Statement::utf8(int i) const
{
    const auto *t = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, i));
    return t ? QByteArrayView(t, sqlite3_column_bytes(m_stmt, i)) : QByteArrayView();
}

bool Statement::isNull(int i) const
{
    return sqlite3_column_type(m_stmt, i) == SQLITE_NULL;
}

// ---- Transaction

Transaction::~Transaction()
{
    if (!m_done) {
        try {
            m_c.rollback();
        } catch (...) {
        }
    }
}

void Transaction::commit()
{
    m_c.commit();
    m_done = true;
}

// ---- SingleFileDatabase

SingleFileDatabase::SingleFileDatabase(const QString &path, Mode mode)
{
    int flags = SQLITE_OPEN_READWRITE;
    if (mode == Create)
        flags |= SQLITE_OPEN_CREATE;
    else if (mode == ReadOnly)
        flags = SQLITE_OPEN_READONLY;
    m_c.open(path, flags);
}

// ---- Database

Database::~Database()
{
    close();
}

void Database::open(const QString &folder)
{
    close();
    if (!QFileInfo(folder).isDir())
        throw DataError(QStringLiteral("La cartella dei dati %1 non esiste").arg(QDir::toNativeSeparators(folder)));
    m_folder = folder;
    m_mainPath = QDir(QDir::tempPath())
                     .filePath(QStringLiteral("tarvido-%1.db").arg(QUuid::createUuid().toString(QUuid::Id128)));
    m_c.open(m_mainPath, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI);
}

void Database::close()
{
    if (m_c.isOpen()) {
        try {
            m_c.rollback();
        } catch (...) {
        }
    }
    m_c.close();
    m_attached.clear();
    if (!m_mainPath.isEmpty()) {
        QFile::remove(m_mainPath);
        QFile::remove(m_mainPath + QStringLiteral("-journal"));
        m_mainPath.clear();
    }
}

QString Database::tablePath(const TableDef &table) const
{
    return QDir(m_folder).filePath(table.fileName);
}

bool Database::isAttached(const TableDef &table) const
{
    return m_attached.contains(table.name);
}

Database::OpenResult Database::attachTable(const TableDef &table, QString *errorText)
{
    if (!isOpen())
        throw DataError(QStringLiteral("Errore del database: il database non è aperto"));
    if (isAttached(table))
        return OpenResult::Opened;
    const QString path = tablePath(table);
    auto unavailable = [&](const QString &text) {
        if (errorText)
            *errorText = text;
        return OpenResult::Unavailable;
    };
    if (!QFileInfo(path).isFile())
        return unavailable(QStringLiteral("File %1 non trovato").arg(table.fileName));

    const QString uri = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded)
                        + QStringLiteral("?mode=rw");
    try {
        m_c.exec(QStringLiteral("ATTACH DATABASE ? AS %1").arg(table.name), {uri});
    } catch (const DataError &e) {
        if (errorText)
            *errorText = e.message();
        return e.isDamage() ? OpenResult::Damaged : OpenResult::Unavailable;
    }
    m_attached << table.name;
    try {
        const QVariant found = m_c.scalar(
            QStringLiteral("SELECT count(*) FROM %1.sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE")
                .arg(table.name),
            {table.name});
        if (found.toInt() != 1) {
            detachTable(table);
            return unavailable(QStringLiteral("Tabella %1 non trovata nel file %2").arg(table.name, table.fileName));
        }
        // A page-level check: finds a file damaged anywhere, not just in its header.
        QString verdict;
        {
            Statement check(m_c, QStringLiteral("PRAGMA %1.quick_check(1)").arg(table.name));
            if (check.step())
                verdict = check.value(0).toString();
        }
        if (verdict != QLatin1String("ok")) {
            const QString text = verdict;
            detachTable(table);
            if (errorText)
                *errorText = text;
            return OpenResult::Damaged;
        }
    } catch (const DataError &e) {
        detachTable(table);
        if (errorText)
            *errorText = e.message();
        return e.isDamage() ? OpenResult::Damaged : OpenResult::Unavailable;
    }
    return OpenResult::Opened;
}

void Database::detachTable(const TableDef &table)
{
    if (!isAttached(table))
        return;
    m_attached.removeAll(table.name);
    try {
        m_c.exec(QStringLiteral("DETACH DATABASE %1").arg(table.name));
    } catch (const DataError &) {
    }
}
