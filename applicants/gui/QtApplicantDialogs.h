#pragma once

#include "applicants/ApplicantDialogs.h"

class QWidget;

// The applicant dialogs of the program: TdlgSelTipoRich, TdlgRichPers and TdlgRichAz, modal over a parent.
class QtApplicantDialogs final : public ApplicantDialogs
{
public:
    explicit QtApplicantDialogs(QWidget *parent) : m_parent(parent) {}
    void chooseType() override;
    bool editPerson() override;
    bool editCompany() override;

private:
    QWidget *m_parent;
};
