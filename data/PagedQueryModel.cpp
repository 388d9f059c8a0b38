#include "data/PagedQueryModel.h"

#include "data/Database.h"

#include <algorithm>

namespace {

QString tuple(const QStringList &exprs)
{
    return QLatin1Char('(') + exprs.join(QStringLiteral(", ")) + QLatin1Char(')');
}

QString marks(qsizetype n)
{
    return tuple(QStringList(n, QStringLiteral("?")));
}

// Rows past (or before) the given order values. The bound on the leading values repeats what the
// row comparison says, so that an index on them can start the scan there even across a join.
QString beyond(const PagedSegment &s, bool forward, QVariantList &params, const QVariantList &values)
{
    const bool greater = (forward != s.descending);
    QString cond = tuple(s.order) + (greater ? QStringLiteral(" > ") : QStringLiteral(" < ")) + marks(s.order.size());
    params += values;
    if (s.order.size() >= 2) {
        const QStringList lead = s.order.mid(0, s.order.size() - 1);
        cond += QStringLiteral(" AND ") + tuple(lead) + (greater ? QStringLiteral(" >= ") : QStringLiteral(" <= "))
                + marks(lead.size());
        params += values.mid(0, lead.size());
    }
    return cond;
}

} // namespace

PagedQueryModel::PagedQueryModel(Database &db, QObject *parent) : QAbstractTableModel(parent), m_db(db)
{
}

int PagedQueryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_total;
}

int PagedQueryModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_headers.size());
}

QVariant PagedQueryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_headers.size())
        return m_headers.at(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

QVariant PagedQueryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    const Row *r = row(index.row());
    if (!r || index.column() + 1 >= r->values.size())
        return {};
    return r->values.at(index.column() + 1);
}

qint64 PagedQueryModel::keyAt(int index) const
{
    const Row *r = row(index);
    return r && !r->values.isEmpty() ? r->values.first().toLongLong() : 0;
}

int PagedQueryModel::cachedRows() const
{
    int n = 0;
    for (const Rows &p : m_pages)
        n += int(p.size());
    return n;
}

void PagedQueryModel::setListing(const QStringList &select, const QStringList &headers, const QList<PagedSegment> &segments,
                                 int total)
{
    m_select = select;
    m_headers = headers;
    m_segments = segments;
    m_pages.clear();
    m_recent.clear();
    m_counts = QList<int>(segments.size(), -1);
    if (total < 0) {
        total = 0;
        for (int i = 0; i < segments.size(); ++i)
            total += segmentCount(i);
    }
    m_total = total;
}

void PagedQueryModel::clearListing()
{
    m_segments.clear();
    m_counts.clear();
    m_pages.clear();
    m_recent.clear();
    m_total = 0;
}

const PagedQueryModel::Row *PagedQueryModel::row(int index) const
{
    if (index < 0 || index >= m_total)
        return nullptr;
    const int page = index / PageSize;
    auto it = m_pages.constFind(page);
    if (it == m_pages.constEnd()) {
        fetchPage(page);
        it = m_pages.constFind(page);
        if (it == m_pages.constEnd())
            return nullptr;
    } else if (m_recent.isEmpty() || m_recent.last() != page) {
        m_recent.removeOne(page);
        m_recent.append(page);
    }
    const int at = index % PageSize;
    return at < it->size() ? &it->at(at) : nullptr;
}

void PagedQueryModel::keep(int page, const Rows &rows) const
{
    m_pages.insert(page, rows);
    m_recent.removeOne(page);
    m_recent.append(page);
    while (m_recent.size() > m_maxPages)
        m_pages.remove(m_recent.takeFirst());
}

void PagedQueryModel::fetchPage(int page) const
{
    const int start = page * PageSize;
    const int n = std::min(PageSize, m_total - start);
    if (n <= 0 || m_segments.isEmpty())
        return;
    Rows rows;
    try {
        const auto prev = m_pages.constFind(page - 1);
        const auto next = m_pages.constFind(page + 1);
        if (prev != m_pages.constEnd() && prev->size() == PageSize)
            rows = after(prev->last(), n);
        else if (next != m_pages.constEnd() && !next->isEmpty())
            rows = before(next->first(), n);
        else
            rows = atOffset(start, n);
    } catch (const DataError &) {
        // A table closed under the view (maintenance): the rows read as empty until the next reload.
        rows.clear();
    }
    keep(page, rows);
}

int PagedQueryModel::segmentCount(int segment) const
{
    if (m_counts.at(segment) < 0) {
        const PagedSegment &s = m_segments.at(segment);
        QString sql = QStringLiteral("SELECT count(*) FROM ") + s.from;
        if (!s.where.isEmpty())
            sql += QStringLiteral(" WHERE ") + s.where;
        m_counts[segment] = m_db.connection().scalar(sql, s.params).toInt();
    }
    return m_counts.at(segment);
}

QString PagedQueryModel::orderBy(const PagedSegment &s, bool reversed) const
{
    const bool desc = s.descending != reversed;
    QStringList parts;
    for (const QString &o : s.order)
        parts << o + (desc ? QStringLiteral(" DESC") : QString());
    return parts.join(QStringLiteral(", "));
}

PagedQueryModel::Rows PagedQueryModel::query(int segment, const QString &extraWhere, const QVariantList &extraParams,
                                             bool reversed, int limit, int offset) const
{
    const PagedSegment &s = m_segments.at(segment);
    QString sql = QStringLiteral("SELECT %1, %2 FROM %3 WHERE (%4)")
                      .arg(s.order.join(QStringLiteral(", ")), m_select.join(QStringLiteral(", ")), s.from,
                           s.where.isEmpty() ? QStringLiteral("1") : s.where);
    if (!extraWhere.isEmpty())
        sql += QStringLiteral(" AND ") + extraWhere;
    sql += QStringLiteral(" ORDER BY ") + orderBy(s, reversed) + QStringLiteral(" LIMIT ? OFFSET ?");
    Statement st(m_db.connection(), sql);
    st.bindAll(s.params + extraParams + QVariantList{limit, offset});
    Rows rows;
    const int m = int(s.order.size());
    const int columns = st.columnCount();
    while (st.step()) {
        Row r;
        r.segment = segment;
        for (int i = 0; i < m; ++i)
            r.order << st.value(i);
        for (int i = m; i < columns; ++i)
            r.values << st.value(i);
        rows.append(std::move(r));
    }
    if (reversed)
        std::reverse(rows.begin(), rows.end());
    return rows;
}

PagedQueryModel::Rows PagedQueryModel::after(const Row &last, int n) const
{
    QVariantList params;
    const QString cond = beyond(m_segments.at(last.segment), true, params, last.order);
    Rows rows = query(last.segment, cond, params, false, n, 0);
    for (int seg = last.segment + 1; rows.size() < n && seg < m_segments.size(); ++seg)
        rows += query(seg, QString(), {}, false, n - int(rows.size()), 0);
    return rows;
}

PagedQueryModel::Rows PagedQueryModel::before(const Row &first, int n) const
{
    QVariantList params;
    const QString cond = beyond(m_segments.at(first.segment), false, params, first.order);
    Rows rows = query(first.segment, cond, params, true, n, 0);
    for (int seg = first.segment - 1; rows.size() < n && seg >= 0; --seg)
        rows = query(seg, QString(), {}, true, n - int(rows.size()), 0) + rows;
    // The view wants the n rows that end right before `first`; a short read aligns them at its end.
    return rows;
}

PagedQueryModel::Rows PagedQueryModel::atOffset(int offset, int n) const
{
    Rows rows;
    for (int seg = 0; seg < m_segments.size() && rows.size() < n; ++seg) {
        if (!rows.isEmpty()) {
            rows += query(seg, QString(), {}, false, n - int(rows.size()), 0);
            continue;
        }
        const bool last = seg + 1 == m_segments.size();
        if (!last && m_counts.at(seg) >= 0 && offset >= m_counts.at(seg)) {
            offset -= m_counts.at(seg);
            continue;
        }
        rows = query(seg, QString(), {}, false, n, offset);
        if (rows.isEmpty() && !last)
            offset = std::max(0, offset - segmentCount(seg));
    }
    return rows;
}

int PagedQueryModel::rowNear(qint64 key, int row) const
{
    if (key == 0 || m_total == 0)
        return -1;
    const int page = std::clamp(row, 0, m_total - 1) / PageSize;
    for (int p : {page, page - 1, page + 1}) {
        const int first = p * PageSize;
        if (first < 0 || first >= m_total)
            continue;
        for (int i = first; i < std::min(first + PageSize, m_total); ++i) {
            if (keyAt(i) == key)
                return i;
        }
    }
    return -1;
}

int PagedQueryModel::rowOfKey(qint64 key) const
{
    if (key == 0)
        return -1;
    for (auto it = m_pages.constBegin(); it != m_pages.constEnd(); ++it) {
        for (int i = 0; i < it->size(); ++i) {
            if (it->at(i).values.value(0).toLongLong() == key)
                return it.key() * PageSize + i;
        }
    }
    for (const PagedSegment &s : m_segments) {
        if (!s.countable)
            return -1;
    }
    try {
        int before = 0;
        for (int seg = 0; seg < m_segments.size(); ++seg) {
            const PagedSegment &s = m_segments.at(seg);
            const Rows found = query(seg, s.keyExpr + QStringLiteral(" = ?"), {key}, false, 1, 0);
            if (found.isEmpty()) {
                before += segmentCount(seg);
                continue;
            }
            QVariantList params = s.params;
            const QString cond = tuple(s.order) + (s.descending ? QStringLiteral(" > ") : QStringLiteral(" < "))
                                 + marks(s.order.size());
            params += found.first().order;
            QString sql = QStringLiteral("SELECT count(*) FROM %1 WHERE (%2) AND %3")
                              .arg(s.from, s.where.isEmpty() ? QStringLiteral("1") : s.where, cond);
            const int pos = before + m_db.connection().scalar(sql, params).toInt();
            return pos < m_total ? pos : -1;
        }
    } catch (const DataError &) {
    }
    return -1;
}
