#pragma once

#include "data/Ui.h"

// Message boxes, file dialogs and the desktop, for the GUI program.
class QtUi final : public Ui
{
public:
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

    // Message texts break lines with a carriage return; the toolkit wants line feeds.
    static QString displayText(const QString &text);
};
