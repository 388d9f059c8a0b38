#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// The data set of a report: named fields and rows of values in that order. Values are texts, whole
// numbers or dates (an invalid or null value prints as an empty text).
class ReportData
{
public:
    ReportData() = default;
    explicit ReportData(const QStringList &fields) : m_fields(fields) {}

    const QStringList &fields() const { return m_fields; }
    // Without regard to case; -1 when unknown.
    int fieldIndex(const QString &name) const;

    void reserve(int rows) { m_rows.reserve(rows); }
    // Missing trailing values read as null.
    void addRow(const QVariantList &values) { m_rows.append(values); }
    int rowCount() const { return int(m_rows.size()); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    const QVariantList &row(int i) const { return m_rows.at(i); }
    QVariant value(int row, int field) const { return m_rows.at(row).value(field); }
    QVariant value(int row, const QString &field) const { return value(row, fieldIndex(field)); }

private:
    QStringList m_fields;
    QList<QVariantList> m_rows;
};
