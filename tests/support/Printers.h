#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <ostream>

// Readable failure messages for Qt values in GoogleTest.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList &l, std::ostream *os)
{
    *os << '[';
    for (int i = 0; i < l.size(); ++i)
        *os << (i ? ", " : "") << '"' << l.at(i).toStdString() << '"';
    *os << ']';
}
inline void PrintTo(const QByteArray &b, std::ostream *os)
{
    *os << '"' << b.toStdString() << '"';
}
inline void PrintTo(const QDate &d, std::ostream *os)
{
    *os << d.toString(Qt::ISODate).toStdString();
}
inline void PrintTo(const QVariant &v, std::ostream *os)
{
    *os << v.toString().toStdString();
}
