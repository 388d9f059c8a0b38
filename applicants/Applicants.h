#pragma once

#include <QString>

class ApplicantDialogs;
class Record;

// The register of applicants (RICHIEDENTI): the data-module routines that create, edit and delete an
// applicant, and the rules of the applicant dialogs. Everything works on dm->ttRICHIEDENTI.
//
// From a window, use the GUI functions of applicants/gui/ApplicantEditing.h, which run these routines
// with the real dialogs:
//     if (ApplicantEditing::InsertRichiedente(this, code))   // a new applicant for a typed code
//         id = dm->ttRICHIEDENTI->key();
//     dm->ttRICHIEDENTI->edit(); ApplicantEditing::EditRichiedente(this); // the current one
class Applicants
{
public:
    enum class Kind { Person, Company };

    // Opens the dialog of the current row's kind (the caller has put the row into insert or edit state;
    // an empty kind goes through the type picker first). OK posts the row, any other close cancels it.
    // A failure while posting is shown and the dialog opens again on what was typed. Another kind opens
    // nothing and leaves the row in its state. True when the row was posted.
    static bool EditRichiedente(ApplicantDialogs &dialogs);
    // Appends an applicant with PERS_CF = code: 16 characters make a natural person ("P"), any other
    // length a non-natural one ("A"); opens its dialog. True when it was saved: dm->ttRICHIEDENTI then
    // stands on the new row. Inside the request dialog the caller's transaction surrounds it.
    static bool InsertRichiedente(const QString &code, ApplicantDialogs &dialogs);
    // Deletes the applicant `id` after a question, unless a request uses it. True when deleted.
    static bool DeleteRichiedente(qint64 id);

    // "Salva": the message to show ("" when the row can be saved).
    static QString validatePerson(const Record &row);
    static QString validateCompany(const Record &row);

    // The compute button of the natural-person dialog on the row being edited: PERS_CF from surname,
    // name, sex, birth date and the cadastral code of the birth municipality. Stops without a word when
    // municipality or birth date is missing; true when PERS_CF was written (possibly empty).
    static bool computeCodiceFiscale();

    // A municipality chosen in the drop-down: its ID into ID_COMUNE (or ID_COMUNE_SEDE), and its
    // CODICE and PROV copied into BELFIORE and PROV (or PROV_SEDE).
    static void chooseMunicipality(Kind kind, qint64 comuneId);
    // Del on the drop-down: clears the choice only; BELFIORE and the province stay.
    static void clearMunicipality(Kind kind);
    static QString municipalityField(Kind kind) { return kind == Kind::Person ? QStringLiteral("ID_COMUNE") : QStringLiteral("ID_COMUNE_SEDE"); }
    static QString provinceField(Kind kind) { return kind == Kind::Person ? QStringLiteral("PROV") : QStringLiteral("PROV_SEDE"); }

    // The register window's buttons "Nuovo" and "Modifica ".
    static bool canInsert();
    static bool canEdit();
};
