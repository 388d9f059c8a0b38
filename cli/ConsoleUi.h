#pragma once

#include "data/Ui.h"

#include <QTextStream>

// Messages go to stderr; questions take the answer the command line gave (No unless told otherwise).
class ConsoleUi final : public Ui
{
public:
    explicit ConsoleUi(QTextStream &err) : m_err(err) {}
    void setAnswer(bool yes) { m_answer = yes; }

    void showMessage(const QString &text) override;
    void messageBox(const QString &caption, const QString &text, Icon icon) override;
    bool askYesNo(const QString &caption, const QString &text, Icon icon, bool defaultNo) override;
    bool askOkCancel(const QString &caption, const QString &text, Icon icon) override;
    void showError(const QString &text) override;
    QString openFileName(const QString &, const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &, const QString &) override { return {}; }
    void setBusy(bool) override {}
    void processEvents() override {}
    bool openUrl(const QUrl &) override { return false; }
    void previewReport(const Report &report) override;

    int errorsShown() const { return m_errors; }

private:
    void print(const QString &text);
    QTextStream &m_err;
    bool m_answer = false;
    int m_errors = 0;
};
