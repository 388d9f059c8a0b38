#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

class Tdm;

// What a command works with: the program folder, the two streams and the parsed options.
struct CliContext
{
    QString root; // program folder, with a trailing separator
    QTextStream &out;
    QTextStream &err;
};

// One administration command. execute() returns the exit status: 0 success, 1 refused or failed,
// 2 usage error.
class Command
{
public:
    virtual ~Command() = default;
    virtual QString name() const = 0;
    virtual QString usage() const = 0; // arguments, for the usage text
    virtual int execute(const QStringList &args, CliContext &context) = 0;

protected:
    int usageError(CliContext &context) const;
};

// Helper for commands: pulls "--flag" and "--option VALUE" out of an argument list.
class CliArgs
{
public:
    explicit CliArgs(QStringList args) : m_args(std::move(args)) {}
    bool takeFlag(const QString &flag);
    // false when the option is present without a value
    bool takeOption(const QString &option, QString *value);
    const QStringList &positional() const { return m_args; }
    bool hasUnknownOptions() const;

private:
    QStringList m_args;
};
