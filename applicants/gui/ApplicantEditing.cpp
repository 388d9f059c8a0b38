#include "applicants/gui/ApplicantEditing.h"

#include "applicants/Applicants.h"
#include "applicants/gui/QtApplicantDialogs.h"

namespace ApplicantEditing {

bool InsertRichiedente(QWidget *parent, const QString &code)
{
    QtApplicantDialogs dialogs(parent);
    return Applicants::InsertRichiedente(code, dialogs);
}

bool EditRichiedente(QWidget *parent)
{
    QtApplicantDialogs dialogs(parent);
    return Applicants::EditRichiedente(dialogs);
}

} // namespace ApplicantEditing
