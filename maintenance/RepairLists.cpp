#include "maintenance/RepairLists.h"

#include <algorithm>

namespace {
bool before(const QString &a, const QString &b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}
} // namespace

void RepairLists::setAvailable(const QStringList &tables)
{
    m_src.clear();
    m_dst.clear();
    for (const QString &t : tables)
        addSorted(t);
    m_includeEnabled = true;
    m_excludeEnabled = false;
    m_repairEnabled = true;
    m_focus = List::Source;
}

QStringList RepairLists::source() const
{
    QStringList out;
    for (const Item &i : m_src)
        out << i.name;
    return out;
}

QStringList RepairLists::destination() const
{
    QStringList out;
    for (const Item &i : m_dst)
        out << i.name;
    return out;
}

QList<int> RepairLists::selection(const QList<Item> &list)
{
    QList<int> rows;
    for (int i = 0; i < list.size(); ++i) {
        if (list.at(i).selected)
            rows << i;
    }
    return rows;
}

void RepairLists::select(QList<Item> &list, const QList<int> &rows)
{
    for (int i = 0; i < list.size(); ++i)
        list[i].selected = rows.contains(i);
}

void RepairLists::addSorted(const QString &name)
{
    const auto at = std::upper_bound(m_src.begin(), m_src.end(), name,
                                     [](const QString &n, const Item &item) { return before(n, item.name); });
    m_src.insert(at, Item{name, false});
}

void RepairLists::Include()
{
    if (m_src.isEmpty())
        return;
    m_repairEnabled = true;
    const QList<int> selected = sourceSelection();
    const int first = selected.isEmpty() ? -1 : selected.first();
    for (int i = m_src.size() - 1; i >= 0; --i) {
        if (m_src.at(i).selected) {
            m_dst.append(Item{m_src.at(i).name, false});
            m_src.removeAt(i);
        }
    }
    reselect(List::Source, first);
}

void RepairLists::IncludeAll()
{
    if (m_src.isEmpty())
        return;
    m_repairEnabled = true;
    for (const Item &i : std::as_const(m_src))
        m_dst.append(Item{i.name, false});
    m_src.clear();
    reselect(List::Source, 0);
}

void RepairLists::Exclude()
{
    if (m_dst.isEmpty())
        return;
    const QList<int> selected = destinationSelection();
    const int first = selected.isEmpty() ? -1 : selected.first();
    for (int i = m_dst.size() - 1; i >= 0; --i) {
        if (m_dst.at(i).selected) {
            addSorted(m_dst.at(i).name);
            m_dst.removeAt(i);
        }
    }
    reselect(List::Destination, first);
    m_repairEnabled = !m_dst.isEmpty();
}

void RepairLists::ExcludeAll()
{
    if (m_dst.isEmpty())
        return;
    for (const Item &i : std::as_const(m_dst))
        addSorted(i.name);
    m_dst.clear();
    reselect(List::Destination, 0);
    m_repairEnabled = false;
}

void RepairLists::reselect(List which, int index)
{
    m_focus = which;
    QList<Item> &list = which == List::Source ? m_src : m_dst;
    if (!list.isEmpty()) {
        if (index < 0)
            index = 0;
        else if (index > list.size() - 1)
            index = int(list.size()) - 1;
        select(list, {index});
    }
    m_includeEnabled = !m_src.isEmpty();
    m_excludeEnabled = !m_dst.isEmpty();
}
