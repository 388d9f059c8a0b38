#pragma once

// The selection dialog as SelectRichiedente sees it: shown modally, it leaves the chosen applicant's
// key in Ricerca.ID ("Seleziona") or 0 ("Annulla", the close box). The GUI implements it with
// TdlgSeleziona; tests with a script.
class ApplicantSelectionDialog
{
public:
    virtual ~ApplicantSelectionDialog() = default;
    virtual void showSelection() = 0;
};
