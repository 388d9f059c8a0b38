#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QStringList>
#include <QVariantList>

class Database;

// One part of an ordered listing: the rows of `from` that satisfy `where`, in the order of the
// expressions `order` (all ascending or all descending, never NULL inside the segment). A listing is
// one or more segments one after the other, so that rows whose order value is missing can follow
// (or precede) the others without losing the index that gives the order.
struct PagedSegment
{
    QString from;         // "RICHIEDENTI R"
    QString where;        // "R.PERS_CF IS NOT NULL"; empty for every row
    QVariantList params;  // bound to `where`
    QStringList order;    // "R.PERS_CF", "R.ID_RICHIEDENTE": the last one unique
    bool descending = false;
    QString keyExpr;      // the row's key, for finding a row by key
    // Finding a row's position means counting the rows before it; false when that walks a join
    // instead of an index range, so that only the rows already read are searched.
    bool countable = true;
};

// A grid model over a listing of any size: it counts first and reads rows in pages as the view asks
// for them, each page by its key from the page next to it (an index range, whatever the depth), or
// by position after a jump. Only a bounded number of pages stays in memory.
//
// A subclass describes its listing in reload() through setListing(); the first select expression
// is the row's key, the others are the columns shown.
class PagedQueryModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int PageSize = 128;

    explicit PagedQueryModel(Database &db, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The key of a row, 0 when out of range.
    qint64 keyAt(int row) const;
    // The row holding the key, -1 when it is not in the listing (or, for a listing that cannot count
    // cheaply, not among the rows read).
    int rowOfKey(qint64 key) const;
    // The row holding the key among the rows around `row` (its page and the two beside it), -1 otherwise.
    int rowNear(qint64 key, int row) const;
    // Reads the listing again (count and order).
    virtual void reload() = 0;

    void setMaxCachedPages(int pages) { m_maxPages = qMax(2, pages); }
    int cachedRows() const;

protected:
    // total: the number of rows when known cheaply; -1 counts every segment.
    void setListing(const QStringList &select, const QStringList &headers, const QList<PagedSegment> &segments,
                    int total = -1);
    void clearListing();
    Database &database() const { return m_db; }

private:
    struct Row
    {
        int segment = 0;
        QVariantList order;
        QVariantList values; // select expressions, the key first
    };
    using Rows = QList<Row>;

    const Row *row(int index) const;
    void fetchPage(int page) const;
    int segmentCount(int segment) const;
    QString selectFrom(const PagedSegment &s) const;
    QString orderBy(const PagedSegment &s, bool reversed) const;
    Rows query(int segment, const QString &extraWhere, const QVariantList &extraParams, bool reversed, int limit,
               int offset) const;
    Rows after(const Row &last, int n) const;
    Rows before(const Row &first, int n) const;
    Rows atOffset(int offset, int n) const;
    void keep(int page, const Rows &rows) const;

    Database &m_db;
    QStringList m_select;
    QStringList m_headers;
    QList<PagedSegment> m_segments;
    int m_total = 0;
    int m_maxPages = 64;
    mutable QList<int> m_counts;
    mutable QHash<int, Rows> m_pages;
    mutable QList<int> m_recent; // pages, the most recently used last
};
