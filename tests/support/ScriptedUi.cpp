#include "tests/support/ScriptedUi.h"

#include <QCoreApplication>

namespace {
Ui *current = nullptr;
}

ScriptedUi::ScriptedUi()
{
    m_previous = current;
    current = this;
    setUi(this);
}

ScriptedUi::~ScriptedUi()
{
    current = m_previous;
    setUi(m_previous);
}

QStringList ScriptedUi::texts() const
{
    QStringList out;
    for (const Shown &s : shown)
        out << s.text;
    return out;
}

QStringList ScriptedUi::texts(const QString &kind) const
{
    QStringList out;
    for (const Shown &s : shown) {
        if (s.kind == kind)
            out << s.text;
    }
    return out;
}

bool ScriptedUi::answer(const QString &text)
{
    if (answers.isEmpty()) {
        unexpected << text;
        return false;
    }
    return answers.dequeue();
}

void ScriptedUi::showMessage(const QString &text)
{
    shown.append({QStringLiteral("message"), QString(), text});
    notify();
}

void ScriptedUi::messageBox(const QString &caption, const QString &text, Icon icon)
{
    shown.append({QStringLiteral("box"), caption, text, icon});
    notify();
}

bool ScriptedUi::askYesNo(const QString &caption, const QString &text, Icon icon, bool defaultNo)
{
    shown.append({QStringLiteral("question"), caption, text, icon, defaultNo});
    notify();
    return answer(text);
}

bool ScriptedUi::askOkCancel(const QString &caption, const QString &text, Icon icon)
{
    shown.append({QStringLiteral("confirm"), caption, text, icon});
    notify();
    return answer(text);
}

void ScriptedUi::showError(const QString &text)
{
    shown.append({QStringLiteral("error"), QString(), text});
    notify();
}

QString ScriptedUi::openFileName(const QString &caption, const QString &folder, const QString &filter)
{
    shown.append({QStringLiteral("open"), caption, folder + QLatin1Char('|') + filter});
    notify();
    return fileNames.isEmpty() ? QString() : fileNames.dequeue();
}

QString ScriptedUi::saveFileName(const QString &caption, const QString &folder, const QString &filter)
{
    shown.append({QStringLiteral("save"), caption, folder + QLatin1Char('|') + filter});
    notify();
    return fileNames.isEmpty() ? QString() : fileNames.dequeue();
}

void ScriptedUi::setBusy(bool busy)
{
    busyDepth += busy ? 1 : -1;
    maxBusyDepth = qMax(maxBusyDepth, busyDepth);
}

void ScriptedUi::processEvents()
{
    QCoreApplication::processEvents();
}

bool ScriptedUi::openUrl(const QUrl &url)
{
    openedUrls << url;
    shown.append({QStringLiteral("url"), QString(), url.toString()});
    notify();
    return openUrlResult;
}

void ScriptedUi::previewReport(const Report &report)
{
    reports << report;
    shown.append({QStringLiteral("report"), report.name(), report.title()});
    notify();
}

void ScriptedUi::notify()
{
    if (onShow)
        onShow(shown.last());
}
