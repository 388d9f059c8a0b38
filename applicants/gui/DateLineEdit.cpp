#include "applicants/gui/DateLineEdit.h"

#include <QValidator>

namespace {

// Digits of a part of the masked text, -1 while not all of them are typed, -2 when it is empty.
int part(const QString &text, int from, int length)
{
    int value = 0, digits = 0;
    for (int i = from; i < from + length && i < text.size(); ++i) {
        if (text.at(i).isDigit()) {
            value = value * 10 + text.at(i).digitValue();
            ++digits;
        }
    }
    if (digits == 0)
        return -2;
    return digits == length ? value : -1;
}

class DateValidator final : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override
    {
        const int day = part(input, 0, 2), month = part(input, 3, 2), year = part(input, 6, 4);
        if (day == -2 && month == -2 && year == -2)
            return Acceptable;
        if (day == 0 || day > 31 || month == 0 || month > 12)
            return Invalid;
        if (day > 0 && month > 0) {
            // The longest month of any year: 29 February is possible until the year says otherwise.
            const int longest = QDate(2000, month, 1).daysInMonth();
            if (day > longest)
                return Invalid;
            if (year >= 0 && !QDate(year, month, day).isValid())
                return Invalid;
        }
        if (year == 0)
            return Invalid;
        return day > 0 && month > 0 && year > 0 ? Acceptable : Intermediate;
    }
};

} // namespace

DateLineEdit::DateLineEdit(QWidget *parent) : QLineEdit(parent)
{
    setInputMask(QStringLiteral("99/99/9999;_"));
    setValidator(new DateValidator(this));
    setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 16);
    connect(this, &QLineEdit::textEdited, this, &DateLineEdit::edited);
}

QDate DateLineEdit::parse(const QString &text)
{
    const int day = part(text, 0, 2), month = part(text, 3, 2), year = part(text, 6, 4);
    if (day <= 0 || month <= 0 || year <= 0)
        return {};
    return QDate(year, month, day);
}

void DateLineEdit::setDate(const QDate &date)
{
    m_date = date.isValid() ? date : QDate();
    setText(m_date.isValid() ? m_date.toString(QStringLiteral("dd/MM/yyyy")) : QString());
}

void DateLineEdit::edited()
{
    // text() drops the mask's blanks; the displayed text keeps every part in its place.
    const QString text = displayText();
    const QDate d = parse(text);
    const bool empty = part(text, 0, 2) == -2 && part(text, 3, 2) == -2 && part(text, 6, 4) == -2;
    if (d.isValid() || empty) {
        if (d != m_date) {
            m_date = d;
            emit dateEdited(m_date);
        }
    }
}

void DateLineEdit::focusOutEvent(QFocusEvent *event)
{
    const QString text = displayText();
    if (!parse(text).isValid() && !(part(text, 0, 2) == -2 && part(text, 3, 2) == -2 && part(text, 6, 4) == -2))
        setDate(m_date);
    QLineEdit::focusOutEvent(event);
}
