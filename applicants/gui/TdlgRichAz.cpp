#include "applicants/gui/TdlgRichAz.h"

#include "data/Tdm.h"

TdlgRichAz::TdlgRichAz(QWidget *parent)
    : ApplicantDialogBase(QStringLiteral("Richiedente - Persona non Fisica"), QStringLiteral("Dati del soggetto"),
                          Applicants::Kind::Company, parent)
{
    setObjectName(QStringLiteral("dlgRichAz"));
    addText(QStringLiteral("P.Iva:"), QStringLiteral("PERS_CF"), QStringLiteral("ePIva"), 16, true);
    addText(QStringLiteral("Denominazione:"), QStringLiteral("DENOMINAZIONE"), QStringLiteral("eDenominazione"), 50, true);
    addMunicipality(QStringLiteral("Sede - Comune:"), QStringLiteral("cbComuneSede"));
    addText(QStringLiteral("Prov:"), QStringLiteral("PROV_SEDE"), QStringLiteral("eProvSede"), 2, true);
    addText(QStringLiteral("Cod.Catastale:"), QStringLiteral("BELFIORE"), QStringLiteral("eBelfiore"), 5, true);
    finish();
    resize(680, sizeHint().height());
}

QString TdlgRichAz::validate() const
{
    return Applicants::validateCompany(dm->ttRICHIEDENTI->record());
}
