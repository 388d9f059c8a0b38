#pragma once

#include <QObject>
#include <QValidator>

class QLineEdit;
class QWidget;

// Accepts only what Windows-1252 can hold, optionally turning letters into upper case as typed.
class Cp1252Validator : public QValidator
{
    Q_OBJECT
public:
    explicit Cp1252Validator(bool upperCase, QObject *parent = nullptr) : QValidator(parent), m_upper(upperCase) {}
    State validate(QString &input, int &pos) const override;
    void fixup(QString &input) const override;

private:
    bool m_upper;
};

// The rules of the program's text edits: maximum length, Windows-1252 only, upper case when asked.
void applyTextRules(QLineEdit *edit, int maxLength, bool upperCase);

// Makes Enter in the dialog's edits move to the next field, as Tab does.
class EnterAsTab : public QObject
{
    Q_OBJECT
public:
    // Installs itself on every child edit of the dialog.
    static EnterAsTab *install(QWidget *dialog);
    explicit EnterAsTab(QObject *parent) : QObject(parent) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
