#include "applicants/gui/TdlgRichPers.h"

#include "applicants/gui/DateLineEdit.h"
#include "applicants/gui/MunicipalityCombo.h"
#include "data/Tdm.h"
#include "data/Ui.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QToolButton>

TdlgRichPers::TdlgRichPers(QWidget *parent)
    : ApplicantDialogBase(QStringLiteral("Richiedente - Persona Fisica"), QStringLiteral("Dati della persona fisica"),
                          Applicants::Kind::Person, parent)
{
    setObjectName(QStringLiteral("dlgRichPers"));
    addText(QStringLiteral("Cognome:"), QStringLiteral("PERS_COGNOME"), QStringLiteral("eCognome"), 26, true);
    addText(QStringLiteral("Nome:"), QStringLiteral("PERS_NOME"), QStringLiteral("eNome"), 25, true);
    addMunicipality(QStringLiteral("Nato a:"), QStringLiteral("cbComune"));

    m_nascita = new DateLineEdit(this);
    m_nascita->setObjectName(QStringLiteral("eDataNascita"));
    addRow(QStringLiteral("In data:"), m_nascita);
    connect(m_nascita, &DateLineEdit::dateEdited, this,
            [this](const QDate &d) { writeField(QStringLiteral("PERS_DNASCITA"), d.isValid() ? QVariant(d) : QVariant()); });

    m_sesso = new QComboBox(this);
    m_sesso->setObjectName(QStringLiteral("cbSesso"));
    m_sesso->addItem(QStringLiteral("Maschile"), QStringLiteral("M"));
    m_sesso->addItem(QStringLiteral("Femminile"), QStringLiteral("F"));
    m_sesso->setCurrentIndex(-1);
    m_sesso->setMinimumWidth(m_sesso->fontMetrics().horizontalAdvance(QStringLiteral("Femminile")) + 48);
    addRow(QStringLiteral("Sesso:"), m_sesso);
    connect(m_sesso, QOverload<int>::of(&QComboBox::activated), this,
            [this](int i) { writeField(QStringLiteral("PERS_SESSO"), m_sesso->itemData(i)); });

    addText(QStringLiteral("Prov:"), QStringLiteral("PROV"), QStringLiteral("eProv"), 2, true);
    addText(QStringLiteral("Cod.Catastale:"), QStringLiteral("BELFIORE"), QStringLiteral("eBelfiore"), 5, true);

    // The codice fiscale keeps the case as typed; the button beside it computes it.
    m_cf = addText(QStringLiteral("Cod.Fis.:"), QStringLiteral("PERS_CF"), QStringLiteral("eCodFis"), 16, false);
    auto *calcola = new QToolButton(this);
    calcola->setObjectName(QStringLiteral("bCalcolaCF"));
    calcola->setText(QStringLiteral("Calcola"));
    calcola->setToolTip(QStringLiteral("Calcola il codice fiscale dai dati della persona"));
    const int row = m_form->rowCount() - 1;
    m_form->removeWidget(m_cf);
    auto *h = new QHBoxLayout;
    h->addWidget(m_cf);
    h->addWidget(calcola);
    h->addStretch(1);
    m_form->addLayout(h, row, 1);
    connect(calcola, &QToolButton::clicked, this, &TdlgRichPers::calcolaCodiceFiscale);
    finish();
    resize(620, sizeHint().height());
}

void TdlgRichPers::load()
{
    ApplicantDialogBase::load();
    const TableCursor *t = dm->ttRICHIEDENTI;
    m_nascita->setDate(t->date(QStringLiteral("PERS_DNASCITA")));
    m_sesso->setCurrentIndex(m_sesso->findData(t->text(QStringLiteral("PERS_SESSO"))));
}

QString TdlgRichPers::validate() const
{
    return Applicants::validatePerson(dm->ttRICHIEDENTI->record());
}

void TdlgRichPers::calcolaCodiceFiscale()
{
    commitTyped();
    guarded([] { Applicants::computeCodiceFiscale(); });
    m_cf->setText(dm->ttRICHIEDENTI->text(QStringLiteral("PERS_CF")));
}
