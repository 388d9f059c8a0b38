#include "data/TableRepair.h"

#include "data/Database.h"
#include "data/Schema.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

namespace {

QString keptName(const QString &path)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmm"));
    QString candidate = path + QStringLiteral(".danneggiato-") + stamp;
    for (int n = 2; QFileInfo::exists(candidate); ++n)
        candidate = path + QStringLiteral(".danneggiato-%1-%2").arg(stamp).arg(n);
    return candidate;
}

// Reads rows in key order, stepping over ranges the engine cannot read.
class Salvage
{
public:
    Salvage(const QString &path, const TableDef &def) : m_def(def)
    {
        try {
            m_src.open(path, SQLITE_OPEN_READONLY);
            m_src.exec(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE"));
            m_maxKey = m_src.scalar(QStringLiteral("SELECT max(rowid) FROM %1").arg(def.name)).toLongLong();
        } catch (const DataError &) {
            // Unreadable header or schema: try the key range anyway, rows may still be reachable.
        }
        if (m_maxKey <= 0 && m_src.isOpen()) {
            try {
                m_maxKey = m_src.scalar(QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = ?"), {def.name}).toLongLong();
            } catch (const DataError &) {
            }
        }
        try {
            if (m_src.isOpen())
                m_sequence = m_src.scalar(QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = ?"), {def.name}).toLongLong();
        } catch (const DataError &) {
        }
    }

    qint64 maxKey() const { return m_maxKey; }
    qint64 sequence() const { return m_sequence; }

    // Calls `row` for each readable row; `progress` gets the share of the key range covered.
    void run(const std::function<void(const QVariantList &)> &row, const std::function<void(int)> &progress)
    {
        if (!m_src.isOpen())
            return;
        QStringList cols;
        for (const FieldDef &f : m_def.fields)
            cols << f.name;
        const QString sql = QStringLiteral("SELECT rowid, %1 FROM %2 WHERE rowid > ? ORDER BY rowid LIMIT 256")
                                .arg(cols.join(QLatin1Char(',')), m_def.name);
        qint64 last = 0;
        qint64 step = 1;
        int lastPercent = -1;
        for (;;) {
            bool failed = false;
            int got = 0;
            try {
                Statement s(m_src, sql);
                s.bind(1, last);
                while (s.step()) {
                    QVariantList values;
                    for (int i = 1; i < s.columnCount(); ++i)
                        values << s.value(i);
                    last = s.value(0).toLongLong();
                    row(values);
                    ++got;
                    step = 1;
                }
            } catch (const DataError &) {
                failed = true;
            }
            if (m_maxKey > 0) {
                const int percent = int(qMin<qint64>(100, last * 100 / m_maxKey));
                if (percent != lastPercent)
                    progress(lastPercent = percent);
            }
            if (!failed && got == 0)
                break;
            if (failed) {
                if (last >= m_maxKey)
                    break;
                last += step; // skip the unreadable stretch, further each time it fails again
                step = qMin<qint64>(step * 2, 4096);
            }
        }
    }

private:
    const TableDef &m_def;
    Connection m_src;
    qint64 m_maxKey = 0;
    qint64 m_sequence = 0;
};

// A table whose pages all read back needs no salvage: its indexes are rebuilt and the file compacted
// where it is, and no copy of it is kept.
bool rebuildInPlaceWhenSound(const QString &path, const TableDef &def)
{
    try {
        SingleFileDatabase db(path, SingleFileDatabase::Open);
        Connection &c = db.connection();
        c.exec(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE"));
        if (c.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"),
                     {def.name})
                .toInt()
            != 1)
            return false;
        if (c.scalar(QStringLiteral("PRAGMA quick_check(1)")).toString() != QLatin1String("ok"))
            return false;
        c.exec(QStringLiteral("REINDEX"));
        c.exec(QStringLiteral("VACUUM"));
        return c.scalar(QStringLiteral("PRAGMA quick_check(1)")).toString() == QLatin1String("ok");
    } catch (const DataError &) {
        return false;
    }
}

} // namespace

TableRepair::Result TableRepair::repair(const QString &tableFilePath, const Progress &progress)
{
    Result result;
    auto report = [&](int p) {
        if (progress)
            progress(p);
    };
    const TableDef *def = Schema::find(QFileInfo(tableFilePath).fileName());
    if (!def) {
        result.error = QStringLiteral("Il file %1 non è una tabella del programma").arg(QFileInfo(tableFilePath).fileName());
        return result;
    }
    if (!QFileInfo(tableFilePath).isFile()) {
        result.error = QStringLiteral("Il file %1 non esiste").arg(QDir::toNativeSeparators(tableFilePath));
        return result;
    }
    report(0);
    if (rebuildInPlaceWhenSound(tableFilePath, *def)) {
        result.ok = true;
        result.rowsRecovered = -1;
        report(100);
        return result;
    }
    const QString rebuilt = tableFilePath + QStringLiteral(".ricostruzione");
    QFile::remove(rebuilt);
    QFile::remove(rebuilt + QStringLiteral("-journal"));
    try {
        Schema::createTableFile(rebuilt, *def);
        {
            SingleFileDatabase out(rebuilt, SingleFileDatabase::Open);
            Connection &c = out.connection();
            QStringList cols, marks;
            for (const FieldDef &f : def->fields) {
                cols << f.name;
                marks << QStringLiteral("?");
            }
            Transaction tr(c);
            Statement insert(c, QStringLiteral("INSERT OR IGNORE INTO %1 (%2) VALUES (%3)")
                                    .arg(def->name, cols.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
            Salvage salvage(tableFilePath, *def);
            salvage.run(
                [&](const QVariantList &values) {
                    insert.reset();
                    insert.bindAll(values);
                    insert.step();
                    ++result.rowsRecovered;
                },
                [&](int p) { report(qMin(p, 99)); });
            // Keys handed out before the damage are never handed out again.
            const qint64 seq = qMax(salvage.sequence(), salvage.maxKey());
            if (seq > 0 && def->fields.first().type == FieldType::AutoInc) {
                c.exec(QStringLiteral("DELETE FROM sqlite_sequence WHERE name = ?"), {def->name});
                c.exec(QStringLiteral("INSERT INTO sqlite_sequence (name, seq) VALUES (?, ?)"), {def->name, seq});
            }
            tr.commit();
        }
        const QString kept = keptName(tableFilePath);
        if (!QFile::rename(tableFilePath, kept))
            throw DataError(QStringLiteral("Impossibile spostare il file %1").arg(QDir::toNativeSeparators(tableFilePath)));
        // A journal left by the damaged file must not be applied to the rebuilt one.
        const QString journal = tableFilePath + QStringLiteral("-journal");
        if (QFileInfo::exists(journal))
            QFile::rename(journal, kept + QStringLiteral("-journal"));
        if (!QFile::rename(rebuilt, tableFilePath)) {
            QFile::rename(kept, tableFilePath);
            throw DataError(QStringLiteral("Impossibile sostituire il file %1").arg(QDir::toNativeSeparators(tableFilePath)));
        }
        result.keptOriginal = kept;
        result.ok = true;
        report(100);
    } catch (const DataError &e) {
        QFile::remove(rebuilt);
        QFile::remove(rebuilt + QStringLiteral("-journal"));
        result.error = e.message();
    }
    return result;
}
