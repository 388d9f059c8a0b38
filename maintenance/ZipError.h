#pragma once

#include <QString>
#include <stdexcept>

// A failure while writing or reading a zip archive, with a text for the user.
class ZipError : public std::runtime_error
{
public:
    explicit ZipError(const QString &message) : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};
