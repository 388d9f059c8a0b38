#pragma once

#include <QDate>
#include <QLineEdit>

// A date field of the request dialog: typed through the mask "gg/mm/aaaa", empty for no date (the
// column then holds NULL). What is typed reaches the owner through committed() only when it is a
// date or empty; anything else is refused with a message and the focus stays in the field.
class RichiestaDateEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit RichiestaDateEdit(QWidget *parent = nullptr);

    void setDate(const QDate &date); // an invalid date shows the empty mask
    // The typed text as a date: invalid for the empty mask; false when the text is not a date.
    bool typedDate(QDate *date) const;
    // Takes what is typed: emits committed() and returns true, or refuses with the message.
    bool commit();

    static QString notADateMessage(const QString &typed);

signals:
    void committed(const QDate &date);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    bool isBlank() const;
    bool m_refusing = false;
};
