#pragma once

#include <QDate>
#include <QLineEdit>

// A date typed as GG/MM/AAAA through an input mask. A keystroke that cannot lead to a calendar date
// (day 32, month 13, 30 February) is refused where it is typed. Empty means no date: date() is then
// invalid, which the tables store as NULL. Leaving the field with a date half typed restores the
// last date it held.
class DateLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit DateLineEdit(QWidget *parent = nullptr);

    QDate date() const { return m_date; }
    void setDate(const QDate &date);

    // The date of a text laid out by the mask; invalid when empty or incomplete.
    static QDate parse(const QString &text);

signals:
    // The user typed a whole date or emptied the field.
    void dateEdited(const QDate &date);

protected:
    void focusOutEvent(QFocusEvent *event) override;

private:
    void edited();
    QDate m_date;
};
