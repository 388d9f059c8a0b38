#include "data/Ui.h"

#include <QTextStream>

namespace {

// Used before anything else is installed: prints and answers No.
class FallbackUi final : public Ui
{
public:
    void showMessage(const QString &text) override { print(text); }
    void messageBox(const QString &caption, const QString &text, Icon) override { print(caption + QStringLiteral(": ") + text); }
    bool askYesNo(const QString &, const QString &text, Icon, bool) override { print(text); return false; }
    bool askOkCancel(const QString &, const QString &text, Icon) override { print(text); return false; }
    void showError(const QString &text) override { print(text); }
    QString openFileName(const QString &, const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &, const QString &) override { return {}; }
    void setBusy(bool) override {}
    void processEvents() override {}
    bool openUrl(const QUrl &) override { return false; }
    void previewReport(const Report &) override {}

private:
    static void print(const QString &text)
    {
        QTextStream err(stderr);
        err << QString(text).replace(QLatin1Char('\r'), QLatin1Char('\n')) << Qt::endl;
    }
};

FallbackUi fallback;
Ui *installed = nullptr;

} // namespace

Ui &ui()
{
    return installed ? *installed : fallback;
}

void setUi(Ui *instance)
{
    installed = instance;
}
