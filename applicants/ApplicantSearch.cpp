#include "applicants/ApplicantSearch.h"

#include "applicants/Applicants.h"
#include "data/Tdm.h"

QString ApplicantSearch::nameExpression()
{
    return QStringLiteral("CASE WHEN R.TIPO_RICHIEDENTE = 'P' THEN COALESCE(R.PERS_COGNOME, '') || ' ' || "
                          "COALESCE(R.PERS_NOME, '') ELSE COALESCE(R.DENOMINAZIONE, '') END");
}

bool ApplicantSearch::noCriteria(const QString &nameBox, const QString &codeBox)
{
    return nameBox.trimmed().isEmpty() && codeBox.trimmed().isEmpty();
}

ApplicantSearch::Condition ApplicantSearch::condition(const QString &nameBox, const QString &codeBox)
{
    Condition c;
    c.where = QStringLiteral("(R.ID_RICHIEDENTE > 0)");
    if (!nameBox.trimmed().isEmpty()) {
        const QString cogn = nameBox + QLatin1Char('%');
        c.where += QStringLiteral(" AND ((R.PERS_COGNOME LIKE ?) OR (R.DENOMINAZIONE LIKE ?))");
        c.params << cogn << cogn;
    }
    if (!codeBox.trimmed().isEmpty()) {
        c.where += QStringLiteral(" AND (R.PERS_CF LIKE ?)");
        c.params << codeBox + QLatin1Char('%');
    }
    return c;
}

bool ApplicantSearch::openApplicant(qint64 id, ApplicantDialogs &dialogs)
{
    TableCursor *t = dm->ttRICHIEDENTI;
    if (id <= 0 || !t->locate(QStringLiteral("ID_RICHIEDENTE"), id))
        return false;
    t->edit();
    return Applicants::EditRichiedente(dialogs);
}
