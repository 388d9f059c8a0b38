#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The two lists of the repair dialog, SrcList (kept sorted) and DstList (in the order of insertion),
// with their selections, the four moves between them and the enabling of the buttons.
class RepairLists
{
public:
    enum class List { Source, Destination };

    // Fills SrcList and empties DstList; nothing selected, the buttons as when the dialog opens.
    void setAvailable(const QStringList &tables);

    QStringList source() const;
    QStringList destination() const;
    QList<int> sourceSelection() const { return selection(m_src); }
    QList<int> destinationSelection() const { return selection(m_dst); }
    void setSourceSelection(const QList<int> &rows) { select(m_src, rows); }
    void setDestinationSelection(const QList<int> &rows) { select(m_dst, rows); }

    void Include();    // IncludeBtn
    void IncludeAll(); // IncAllBtn
    void Exclude();    // ExcludeBtn
    void ExcludeAll(); // ExAllBtn

    bool includeEnabled() const { return m_includeEnabled; } // IncludeBtn and IncAllBtn
    bool excludeEnabled() const { return m_excludeEnabled; } // ExcludeBtn and ExAllBtn
    bool repairEnabled() const { return m_repairEnabled; }   // btnRepair
    // The list given the focus by the latest move.
    List focus() const { return m_focus; }

private:
    struct Item
    {
        QString name;
        bool selected = false;
    };
    static QList<int> selection(const QList<Item> &list);
    static void select(QList<Item> &list, const QList<int> &rows);
    void addSorted(const QString &name);
    void reselect(List which, int index);

    QList<Item> m_src;
    QList<Item> m_dst;
    bool m_includeEnabled = true;
    bool m_excludeEnabled = false;
    bool m_repairEnabled = true;
    List m_focus = List::Source;
};
