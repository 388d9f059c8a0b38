#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

class Report;

// The one way the program speaks to the user modally. The GUI installs message boxes and
// dialogs, the tests a scripted fake, the administration tool a console version.
class Ui
{
public:
    enum class Icon { None, Information, Warning, Error, Question };

    virtual ~Ui() = default;

    // Plain message: the application's title as caption, the text, one OK button, no icon.
    virtual void showMessage(const QString &text) = 0;
    // An OK box with its own caption and icon.
    virtual void messageBox(const QString &caption, const QString &text, Icon icon) = 0;
    // A Yes/No question; true means Yes.
    virtual bool askYesNo(const QString &caption, const QString &text, Icon icon, bool defaultNo) = 0;
    // An OK/Cancel confirmation; true means OK.
    virtual bool askOkCancel(const QString &caption, const QString &text, Icon icon) = 0;
    // The text of a failure that no handler caught ("the application's default error display").
    virtual void showError(const QString &text) = 0;

    // File choosers; an empty result means the user cancelled.
    virtual QString openFileName(const QString &caption, const QString &folder, const QString &filter) = 0;
    virtual QString saveFileName(const QString &caption, const QString &folder, const QString &filter) = 0;

    // The hourglass cursor; calls nest.
    virtual void setBusy(bool busy) = 0;
    // Lets windows repaint during a long loop.
    virtual void processEvents() = 0;
    // Hands a URL (a document, a folder, a mailto: address) to the desktop; false when nothing took it.
    virtual bool openUrl(const QUrl &url) = 0;
    // Shows a filled report (data/Report.h) in the print preview until the user closes it.
    virtual void previewReport(const Report &report) = 0;
};

// The installed Ui; never null once the program or a test has installed one.
Ui &ui();
void setUi(Ui *instance);

// Hourglass for the lifetime of the guard, restored however the scope ends.
class BusyCursor
{
public:
    BusyCursor() { ui().setBusy(true); }
    ~BusyCursor() { ui().setBusy(false); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

// Runs an action; a failure it raises reaches the default error display and the program goes on.
template <typename F>
bool guarded(F &&action)
{
    try {
        action();
        return true;
    } catch (const std::exception &e) {
        ui().showError(QString::fromUtf8(e.what()));
        return false;
    }
}
