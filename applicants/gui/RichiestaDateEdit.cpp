#include "applicants/gui/RichiestaDateEdit.h"

void RichiestaDateEdit::toStartWhenEmpty()
{
    QString digits = text(); // the mask's blanks are left out
    digits.remove(QLatin1Char('/'));
    if (digits.isEmpty() && !hasSelectedText())
        setCursorPosition(0);
}

void RichiestaDateEdit::focusInEvent(QFocusEvent *event)
{
    DateLineEdit::focusInEvent(event);
    toStartWhenEmpty();
}

void RichiestaDateEdit::mousePressEvent(QMouseEvent *event)
{
    DateLineEdit::mousePressEvent(event);
    toStartWhenEmpty();
}
