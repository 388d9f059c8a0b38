#include "cli/Command.h"

int Command::usageError(CliContext &context) const
{
    context.err << "uso: tarvido-cli [--root CARTELLA] " << name() << ' ' << usage() << Qt::endl;
    return 2;
}

bool CliArgs::takeFlag(const QString &flag)
{
    const int i = m_args.indexOf(flag);
    if (i < 0)
        return false;
    m_args.removeAt(i);
    return true;
}

bool CliArgs::takeOption(const QString &option, QString *value)
{
    const int i = m_args.indexOf(option);
    if (i < 0)
        return true;
    if (i + 1 >= m_args.size())
        return false;
    *value = m_args.at(i + 1);
    m_args.remove(i, 2);
    return true;
}

bool CliArgs::hasUnknownOptions() const
{
    for (const QString &a : m_args) {
        if (a.startsWith(QStringLiteral("--")))
            return true;
    }
    return false;
}
