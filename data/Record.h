#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>

// One row: ordered fields whose names are matched without regard to case.
class Record
{
public:
    void append(const QString &name, const QVariant &value = {});
    int count() const { return int(m_names.size()); }
    int indexOf(const QString &name) const;
    bool contains(const QString &name) const { return indexOf(name) >= 0; }
    QString name(int i) const { return m_names.at(i); }

    // Unknown names raise a DataError.
    QVariant value(const QString &name) const;
    QVariant value(int i) const { return m_values.at(i); }
    void setValue(const QString &name, const QVariant &value);
    void setValue(int i, const QVariant &value) { m_values[i] = value; }

    bool isNull(const QString &name) const;
    QString text(const QString &name) const;
    qint64 integer(const QString &name) const; // a missing value reads as 0
    QDate date(const QString &name) const;     // a missing value reads as an invalid date

    void clearValues();

private:
    int checkedIndex(const QString &name) const;
    QList<QString> m_names;
    QList<QVariant> m_values;
};
