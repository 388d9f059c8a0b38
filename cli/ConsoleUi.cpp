#include "cli/ConsoleUi.h"

#include "data/Report.h"

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

// No preview on a console: the printouts have their own --pdf commands.
void ConsoleUi::previewReport(const Report &report)
{
    print(QStringLiteral("(anteprima di stampa \"%1\" non disponibile da riga di comando)").arg(report.name()));
}
