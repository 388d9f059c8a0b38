#include "applicants/gui/QtApplicantDialogs.h"

#include "applicants/gui/TdlgRichAz.h"
#include "applicants/gui/TdlgRichPers.h"
#include "applicants/gui/TdlgSelTipoRich.h"
#include "data/Tdm.h"

void QtApplicantDialogs::chooseType()
{
    TdlgSelTipoRich picker(m_parent);
    picker.exec();
    if (!picker.tipo().isEmpty())
        dm->ttRICHIEDENTI->setFieldValue(QStringLiteral("TIPO_RICHIEDENTE"), picker.tipo());
}

bool QtApplicantDialogs::editPerson()
{
    TdlgRichPers dialog(m_parent);
    return dialog.exec() == QDialog::Accepted;
}

bool QtApplicantDialogs::editCompany()
{
    TdlgRichAz dialog(m_parent);
    return dialog.exec() == QDialog::Accepted;
}
