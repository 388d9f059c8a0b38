#pragma once

#include "applicants/gui/DateLineEdit.h"

// The request dialog's date fields: DateLineEdit, typed from the mask's first position while empty,
// however the field is entered (a click or the program's focus would leave the cursor at its end).
class RichiestaDateEdit : public DateLineEdit
{
    Q_OBJECT
public:
    using DateLineEdit::DateLineEdit;

protected:
    void focusInEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void toStartWhenEmpty();
};
