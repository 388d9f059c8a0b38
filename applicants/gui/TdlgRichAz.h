#pragma once

#include "applicants/gui/ApplicantDialogBase.h"

// "Richiedente - Persona non Fisica": the non-natural-person dialog on the current row of
// dm->ttRICHIEDENTI.
class TdlgRichAz : public ApplicantDialogBase
{
    Q_OBJECT
public:
    explicit TdlgRichAz(QWidget *parent = nullptr);
    QString validate() const override;
};
