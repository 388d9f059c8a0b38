#include "data/gui/QtUi.h"

#include "data/gui/ReportPreview.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>

namespace {

QMessageBox::Icon toIcon(Ui::Icon icon)
{
    switch (icon) {
    case Ui::Icon::Information: return QMessageBox::Information;
    case Ui::Icon::Warning: return QMessageBox::Warning;
    case Ui::Icon::Error: return QMessageBox::Critical;
    case Ui::Icon::Question: return QMessageBox::Question;
    case Ui::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

QWidget *owner()
{
    return QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow();
}

// A box shown with the normal cursor, whatever long operation asked for it.
int runBox(QMessageBox &box)
{
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int r = box.exec();
    if (busy)
        QApplication::restoreOverrideCursor();
    return r;
}

} // namespace

QString QtUi::displayText(const QString &text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

void QtUi::showMessage(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), displayText(text), QMessageBox::Ok, owner());
    box.setObjectName(QStringLiteral("ShowMsg"));
    runBox(box);
}

void QtUi::messageBox(const QString &caption, const QString &text, Icon icon)
{
    QMessageBox box(toIcon(icon), caption, displayText(text), QMessageBox::Ok, owner());
    runBox(box);
}

bool QtUi::askYesNo(const QString &caption, const QString &text, Icon icon, bool defaultNo)
{
    QMessageBox box(toIcon(icon), caption, displayText(text), QMessageBox::Yes | QMessageBox::No, owner());
    box.setButtonText(QMessageBox::Yes, QStringLiteral("Sì"));
    box.setDefaultButton(defaultNo ? QMessageBox::No : QMessageBox::Yes);
    return runBox(box) == QMessageBox::Yes;
}

bool QtUi::askOkCancel(const QString &caption, const QString &text, Icon icon)
{
    QMessageBox box(toIcon(icon), caption, displayText(text), QMessageBox::Ok | QMessageBox::Cancel, owner());
    box.setButtonText(QMessageBox::Cancel, QStringLiteral("Annulla"));
    return runBox(box) == QMessageBox::Ok;
}

void QtUi::showError(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), displayText(text), QMessageBox::Ok, owner());
    runBox(box);
}

QString QtUi::openFileName(const QString &caption, const QString &folder, const QString &filter)
{
    return QFileDialog::getOpenFileName(owner(), caption, folder, filter);
}

QString QtUi::saveFileName(const QString &caption, const QString &folder, const QString &filter)
{
    return QFileDialog::getSaveFileName(owner(), caption, folder, filter, nullptr, QFileDialog::DontConfirmOverwrite);
}

void QtUi::setBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void QtUi::processEvents()
{
    QApplication::processEvents();
}

bool QtUi::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

void QtUi::previewReport(const Report &report)
{
    ReportPreview preview(report, owner());
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    preview.exec();
    if (busy)
        QApplication::restoreOverrideCursor();
}
