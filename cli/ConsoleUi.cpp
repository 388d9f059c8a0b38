#include "cli/ConsoleUi.h"

void ConsoleUi::print(const QString &text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    m_err << t << Qt::endl;
}

void ConsoleUi::showMessage(const QString &text)
{
    print(text);
}

void ConsoleUi::messageBox(const QString &, const QString &text, Icon icon)
{
    if (icon == Icon::Error)
        ++m_errors;
    print(text);
}

bool ConsoleUi::askYesNo(const QString &, const QString &text, Icon, bool)
{
    print(text + (m_answer ? QStringLiteral(" Sì") : QStringLiteral(" No")));
    return m_answer;
}

bool ConsoleUi::askOkCancel(const QString &, const QString &text, Icon)
{
    print(text + (m_answer ? QStringLiteral(" OK") : QStringLiteral(" Annulla")));
    return m_answer;
}

void ConsoleUi::showError(const QString &text)
{
    ++m_errors;
    print(text);
}
