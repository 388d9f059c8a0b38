#pragma once

#include "applicants/gui/ApplicantDialogBase.h"

class DateLineEdit;
class QComboBox;

// "Richiedente - Persona Fisica": the natural-person dialog on the current row of dm->ttRICHIEDENTI.
class TdlgRichPers : public ApplicantDialogBase
{
    Q_OBJECT
public:
    explicit TdlgRichPers(QWidget *parent = nullptr);
    QString validate() const override;

public slots:
    // The button beside "Cod.Fis.:".
    void calcolaCodiceFiscale();

protected:
    void load() override;

private:
    DateLineEdit *m_nascita = nullptr;
    QComboBox *m_sesso = nullptr;
    QLineEdit *m_cf = nullptr;
};
