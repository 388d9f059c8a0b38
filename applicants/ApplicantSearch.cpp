#include "applicants/ApplicantSearch.h"

#include "applicants/Applicants.h"
#include "data/Tdm.h"

namespace {

bool wildcard(QChar c)
{
    return c == QLatin1Char('%') || c == QLatin1Char('_');
}

} // namespace

QString ApplicantSearch::nameExpression()
{
    return QStringLiteral("CASE WHEN R.TIPO_RICHIEDENTE = 'P' THEN COALESCE(R.PERS_COGNOME, '') || ' ' || "
                          "COALESCE(R.PERS_NOME, '') ELSE COALESCE(R.DENOMINAZIONE, '') END");
}

QString ApplicantSearch::mixedCondition()
{
    return QStringLiteral("(TIPO_RICHIEDENTE = 'P' AND COALESCE(DENOMINAZIONE, '') <> '') OR "
                          "(TIPO_RICHIEDENTE IS NOT 'P' AND COALESCE(PERS_COGNOME, '') <> '')");
}

QString ApplicantSearch::literalPrefix(const QString &box)
{
    qsizetype n = 0;
    while (n < box.size() && !wildcard(box.at(n)))
        ++n;
    return box.left(n);
}

QString ApplicantSearch::prefixEnd(const QString &literal)
{
    // Texts compare by code point (UTF-8 bytes); edits hold Windows-1252 only, so the last character
    // can always be raised by one.
    if (literal.isEmpty())
        return QString();
    QString end = literal;
    end[end.size() - 1] = QChar(char16_t(end.at(end.size() - 1).unicode() + 1));
    return end;
}

bool ApplicantSearch::nameOrderFollowsPrefix(Database &db)
{
    Connection &c = db.connection();
    const int indexes = c.scalar(QStringLiteral("SELECT count(*) FROM RICHIEDENTI.sqlite_master WHERE type = 'index' AND "
                                                "name IN ('RICHIEDENTI_NOME_IDX', 'RICHIEDENTI_MISTI_IDX')"))
                            .toInt();
    if (indexes != 2)
        return false;
    return c.scalar(QStringLiteral("SELECT EXISTS (SELECT 1 FROM RICHIEDENTI WHERE %1)").arg(mixedCondition())).toInt() == 0;
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
