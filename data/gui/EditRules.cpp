#include "data/gui/EditRules.h"

#include "data/Database.h"

#include <QAbstractSpinBox>
#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

QValidator::State Cp1252Validator::validate(QString &input, int &) const
{
    if (m_upper) {
        // Only a-z: accented letters keep their case, as the program stores them.
        for (QChar &c : input) {
            if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
                c = QChar(c.unicode() - 32);
        }
    }
    return isWindows1252(input) ? Acceptable : Invalid;
}

void Cp1252Validator::fixup(QString &input) const
{
    QString kept;
    for (QChar c : input) {
        if (isWindows1252(QString(c)))
            kept += c;
    }
    input = kept;
}

void applyTextRules(QLineEdit *edit, int maxLength, bool upperCase)
{
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    edit->setValidator(new Cp1252Validator(upperCase, edit));
}

EnterAsTab *EnterAsTab::install(QWidget *dialog)
{
    auto *filter = new EnterAsTab(dialog);
    for (QWidget *w : dialog->findChildren<QWidget *>()) {
        if (qobject_cast<QLineEdit *>(w) || qobject_cast<QAbstractSpinBox *>(w) || qobject_cast<QComboBox *>(w))
            w->installEventFilter(filter);
    }
    return filter;
}

bool EnterAsTab::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && key->modifiers() == Qt::NoModifier) {
            if (auto *w = qobject_cast<QWidget *>(watched)) {
                // A drop-down open for choosing takes Enter itself.
                if (auto *combo = qobject_cast<QComboBox *>(w); combo && combo->view() && combo->view()->isVisible())
                    return false;
                QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
                QCoreApplication::sendEvent(w, &tab);
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}
