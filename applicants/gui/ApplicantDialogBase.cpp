#include "applicants/gui/ApplicantDialogBase.h"

#include "applicants/ComuniListModel.h"
#include "applicants/gui/MunicipalityCombo.h"
#include "data/Tdm.h"
#include "data/Ui.h"
#include "data/gui/EditRules.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

ApplicantDialogBase::ApplicantDialogBase(const QString &caption, const QString &page, Applicants::Kind kind, QWidget *parent)
    : QDialog(parent), m_kind(kind)
{
    setWindowTitle(caption);
    auto *layout = new QVBoxLayout(this);
    auto *bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    auto *salvaButton = new QToolButton(bar);
    salvaButton->setObjectName(QStringLiteral("bSalva"));
    salvaButton->setText(QStringLiteral("Salva"));
    salvaButton->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    salvaButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    auto *annulla = new QToolButton(bar);
    annulla->setObjectName(QStringLiteral("bAnnulla"));
    annulla->setText(QStringLiteral("Annulla"));
    annulla->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    annulla->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    // Tab and Enter go through the fields only.
    salvaButton->setFocusPolicy(Qt::NoFocus);
    annulla->setFocusPolicy(Qt::NoFocus);
    bar->addWidget(salvaButton);
    bar->addWidget(annulla);
    connect(salvaButton, &QToolButton::clicked, this, &ApplicantDialogBase::salva);
    connect(annulla, &QToolButton::clicked, this, &ApplicantDialogBase::reject);
    layout->addWidget(bar);

    auto *tabs = new QTabWidget(this);
    auto *pageWidget = new QWidget(tabs);
    m_form = new QGridLayout(pageWidget);
    m_form->setColumnStretch(1, 1);
    tabs->addTab(pageWidget, page);
    layout->addWidget(tabs, 1);

    m_comuni = new ComuniListModel(*dm, this);
}

void ApplicantDialogBase::addRow(const QString &label, QWidget *field, QWidget *beside)
{
    const int row = m_form->rowCount();
    auto *l = new QLabel(label, this);
    l->setBuddy(field);
    m_form->addWidget(l, row, 0, Qt::AlignRight | Qt::AlignVCenter);
    if (beside) {
        auto *h = new QHBoxLayout;
        h->addWidget(field, 1);
        h->addWidget(beside);
        m_form->addLayout(h, row, 1);
    } else {
        m_form->addWidget(field, row, 1, Qt::AlignLeft | Qt::AlignVCenter);
    }
}

QLineEdit *ApplicantDialogBase::addText(const QString &label, const QString &field, const QString &name, int maxLength,
                                        bool upperCase)
{
    auto *edit = new QLineEdit(this);
    edit->setObjectName(name);
    applyTextRules(edit, maxLength, upperCase);
    const int width = edit->fontMetrics().horizontalAdvance(QLatin1Char('W')) * std::max(4, std::min(maxLength, 30)) + 12;
    edit->setMinimumWidth(width);
    edit->setMaximumWidth(width);
    connect(edit, &QLineEdit::textEdited, this, [this, field](const QString &text) {
        writeField(field, text.isEmpty() ? QVariant() : QVariant(text));
    });
    m_texts.append({edit, field});
    addRow(label, edit);
    return edit;
}

MunicipalityCombo *ApplicantDialogBase::addMunicipality(const QString &label, const QString &name)
{
    m_comune = new MunicipalityCombo(m_comuni, m_kind == Applicants::Kind::Company, this);
    m_comune->setObjectName(name);
    m_comune->setMinimumWidth(m_comune->fontMetrics().horizontalAdvance(QLatin1Char('W')) * 22);
    auto *hint = new QLabel(QStringLiteral("Premere CANC per azzerare la scelta del comune"), this);
    hint->setObjectName(name + QStringLiteral("Hint"));
    QFont small = hint->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    hint->setFont(small);
    addRow(label, m_comune, hint);
    connect(m_comune, &MunicipalityCombo::chosen, this, [this](qint64 id) {
        guarded([&] { Applicants::chooseMunicipality(m_kind, id); });
        load();
    });
    connect(m_comune, &MunicipalityCombo::cleared, this, [this] {
        guarded([&] { Applicants::clearMunicipality(m_kind); });
    });
    return m_comune;
}

void ApplicantDialogBase::finish()
{
    m_form->setRowStretch(m_form->rowCount(), 1);
    EnterAsTab::install(this);
}

void ApplicantDialogBase::writeField(const QString &field, const QVariant &value)
{
    guarded([&] { dm->ttRICHIEDENTI->setFieldValue(field, value); });
}

void ApplicantDialogBase::load()
{
    const TableCursor *t = dm->ttRICHIEDENTI;
    for (const auto &[edit, field] : m_texts) {
        const QString value = t->text(field);
        if (edit->text() != value)
            edit->setText(value);
    }
    if (m_comune)
        m_comune->setCurrentId(t->integer(Applicants::municipalityField(m_kind)));
}

void ApplicantDialogBase::commitTyped()
{
    if (m_comune)
        m_comune->commitTyped();
}

void ApplicantDialogBase::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        load();
        if (!m_texts.isEmpty())
            m_texts.first().first->setFocus();
    }
    QDialog::showEvent(event);
}

void ApplicantDialogBase::salva()
{
    commitTyped();
    const QString problems = validate();
    if (!problems.isEmpty()) {
        Tdm::ShowMsg(problems);
        return;
    }
    accept();
}
