#pragma once

#include "data/Report.h"
#include "data/Ui.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>
#include <functional>

// Records every text shown and answers questions and file choosers from queues.
// An unexpected question (empty queue) answers No and is recorded in `unexpected`.
class ScriptedUi final : public Ui
{
public:
    struct Shown
    {
        QString kind; // "message", "box", "question", "confirm", "error", "open", "save", "url", "report"
        QString caption;
        QString text;
        Icon icon = Icon::None;
        bool defaultNo = false;
    };

    ScriptedUi();  // installs itself
    ~ScriptedUi() override; // installs the previous one again

    QQueue<bool> answers;       // questions and confirmations, in order
    QQueue<QString> fileNames;  // file choosers, in order
    QList<Shown> shown;
    QStringList unexpected;
    int busyDepth = 0;
    int maxBusyDepth = 0;
    QList<QUrl> openedUrls;
    QList<Report> reports; // every report previewed, as filled (also in `shown` as kind "report")
    // Called with each entry as it is shown, e.g. to look at a window while a box stands open.
    std::function<void(const Shown &)> onShow;
    bool openUrlResult = true;

    // Texts of everything shown, in order.
    QStringList texts() const;
    QStringList texts(const QString &kind) const;
    QString lastText() const { return shown.isEmpty() ? QString() : shown.last().text; }
    void clear() { shown.clear(); unexpected.clear(); }

    void showMessage(const QString &text) override;
    void messageBox(const QString &caption, const QString &text, Icon icon) override;
    bool askYesNo(const QString &caption, const QString &text, Icon icon, bool defaultNo) override;
    bool askOkCancel(const QString &caption, const QString &text, Icon icon) override;
    void showError(const QString &text) override;
    QString openFileName(const QString &caption, const QString &folder, const QString &filter) override;
    QString saveFileName(const QString &caption, const QString &folder, const QString &filter) override;
    void setBusy(bool busy) override;
    void processEvents() override;
    bool openUrl(const QUrl &url) override;
    void previewReport(const Report &report) override;

private:
    bool answer(const QString &text);
    void notify();
    Ui *m_previous = nullptr;
};
