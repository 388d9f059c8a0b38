#include "data/Record.h"

#include "data/DataError.h"

void Record::append(const QString &name, const QVariant &value)
{
    m_names.append(name);
    m_values.append(value);
}

int Record::indexOf(const QString &name) const
{
    for (int i = 0; i < m_names.size(); ++i) {
        if (m_names.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int Record::checkedIndex(const QString &name) const
{
    const int i = indexOf(name);
    if (i < 0)
        throw DataError(QStringLiteral("Campo '%1' non trovato").arg(name));
    return i;
}

QVariant Record::value(const QString &name) const
{
    return m_values.at(checkedIndex(name));
}

void Record::setValue(const QString &name, const QVariant &value)
{
    m_values[checkedIndex(name)] = value;
}

bool Record::isNull(const QString &name) const
{
    const QVariant v = value(name);
    return !v.isValid() || v.isNull();
}

QString Record::text(const QString &name) const
{
    return value(name).toString();
}

qint64 Record::integer(const QString &name) const
{
    return value(name).toLongLong();
}

QDate Record::date(const QString &name) const
{
    const QVariant v = value(name);
    if (v.typeId() == QMetaType::QDate)
        return v.toDate();
    return QDate::fromString(v.toString(), Qt::ISODate);
}

void Record::clearValues()
{
    for (QVariant &v : m_values)
        v = QVariant();
}
