#include "applicants/gui/ProvvedimentoCombo.h"

#include "applicants/RequestEntry.h"

#include <QKeyEvent>

ProvvedimentoCombo::ProvvedimentoCombo(QWidget *parent) : QComboBox(parent)
{
    setEditable(false);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(30);
    // Mouse, arrow keys and typed letters all change the current item.
    connect(this, &QComboBox::currentIndexChanged, this, [this](int) {
        if (!m_loading)
            emit codeChosen(code());
    });
}

void ProvvedimentoCombo::fill()
{
    const QString kept = code();
    m_loading = true;
    clear();
    for (const RequestEntry::Provision &p : RequestEntry::provisions())
        addItem(p.descrizione, p.codice);
    m_loading = false;
    setCode(kept);
}

void ProvvedimentoCombo::setCode(const QString &code)
{
    m_loading = true;
    setCurrentIndex(code.isEmpty() ? -1 : findData(code));
    m_loading = false;
}

QString ProvvedimentoCombo::code() const
{
    return currentIndex() < 0 ? QString() : currentData().toString();
}

void ProvvedimentoCombo::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        setCurrentIndex(-1);
        return;
    }
    QComboBox::keyPressEvent(event);
}
