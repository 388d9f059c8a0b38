#include "applicants/gui/RichiestaDateEdit.h"

#include "data/Tdm.h"

#include <QFocusEvent>

namespace {
const QString Format = QStringLiteral("dd/MM/yyyy");
}

RichiestaDateEdit::RichiestaDateEdit(QWidget *parent) : QLineEdit(parent)
{
    setInputMask(QStringLiteral("99/99/9999;_"));
    setPlaceholderText(QStringLiteral("gg/mm/aaaa"));
}

void RichiestaDateEdit::setDate(const QDate &date)
{
    setText(date.isValid() ? date.toString(Format) : QString());
    setCursorPosition(0);
}

bool RichiestaDateEdit::isBlank() const
{
    QString digits = text(); // the mask's blanks are left out
    digits.remove(QLatin1Char('/'));
    return digits.trimmed().isEmpty();
}

bool RichiestaDateEdit::typedDate(QDate *date) const
{
    if (isBlank()) {
        *date = QDate();
        return true;
    }
    *date = QDate::fromString(text(), Format);
    return date->isValid();
}

QString RichiestaDateEdit::notADateMessage(const QString &typed)
{
    return QStringLiteral("'%1' non è una data valida").arg(typed);
}

bool RichiestaDateEdit::commit()
{
    QDate d;
    if (!typedDate(&d)) {
        m_refusing = true;
        Tdm::ShowMsg(notADateMessage(displayText()));
        m_refusing = false;
        setFocus(Qt::OtherFocusReason);
        return false;
    }
    emit committed(d);
    return true;
}

void RichiestaDateEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    // An empty mask is typed from its first position, wherever the field was entered.
    if (isBlank() && !hasSelectedText())
        setCursorPosition(0);
}

void RichiestaDateEdit::mousePressEvent(QMouseEvent *event)
{
    QLineEdit::mousePressEvent(event);
    if (isBlank())
        setCursorPosition(0);
}

void RichiestaDateEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    // A message box or a menu taking the focus for a moment is not leaving the field.
    const Qt::FocusReason r = event->reason();
    if (m_refusing || r == Qt::ActiveWindowFocusReason || r == Qt::PopupFocusReason)
        return;
    commit();
}
