#pragma once

// The three applicant dialogs as the register routines see them. Each works on the current row of
// dm->ttRICHIEDENTI, which the caller has put into insert or edit state, and writes what the user
// types into that row. The GUI implements them with TdlgSelTipoRich, TdlgRichPers and TdlgRichAz
// (applicants/gui/QtApplicantDialogs.h); tests implement them with a script.
class ApplicantDialogs
{
public:
    virtual ~ApplicantDialogs() = default;
    // The type picker: sets TIPO_RICHIEDENTE to "P" or "A". It cannot be dismissed without a choice.
    virtual void chooseType() = 0;
    // The natural-person dialog; true when it closed with OK ("Salva" after its checks).
    virtual bool editPerson() = 0;
    // The non-natural-person dialog; true when it closed with OK.
    virtual bool editCompany() = 0;
};
