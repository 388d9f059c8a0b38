#pragma once

#include <QString>

class QWidget;

// The register routines with the real dialogs, for windows. Both work on dm->ttRICHIEDENTI.
//
// The request dialog, when a typed code is not in the register:
//     if (ApplicantEditing::InsertRichiedente(this, code))
//         dm->ttRICHIESTE->setFieldValue("ID_RICHIEDENTE", dm->ttRICHIEDENTI->key());
// An existing applicant (the search dialog, the register):
//     if (dm->ttRICHIEDENTI->moveToKey(id)) { dm->ttRICHIEDENTI->edit(); ApplicantEditing::EditRichiedente(this); }
// Failures (the database refusing a post) are shown by the routines themselves; other exceptions
// reach the caller.
namespace ApplicantEditing {
// Applicants::InsertRichiedente: a new applicant for the code; true when saved (the cursor stands on it).
bool InsertRichiedente(QWidget *parent, const QString &code);
// Applicants::EditRichiedente on the current row, already in insert or edit state; true when posted.
bool EditRichiedente(QWidget *parent);
} // namespace ApplicantEditing
