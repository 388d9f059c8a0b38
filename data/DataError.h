#pragma once

#include <QString>
#include <stdexcept>

// A failure of the data layer: the engine's result code and a text for the user.
class DataError : public std::runtime_error
{
public:
    explicit DataError(const QString &message, int code = 0)
        : std::runtime_error(message.toStdString()), m_message(message), m_code(code)
    {
    }
    QString message() const { return m_message; }
    // The engine's extended result code, 0 when the error is the program's own.
    int code() const { return m_code; }
    // True for the engine's corruption and read/write failures: the table needs a repair.
    bool isDamage() const;

private:
    QString m_message;
    int m_code;
};
