#include "applicants/ApplicantSearchModel.h"

#include "applicants/ApplicantSearch.h"
#include "data/Tdm.h"
#include "data/Ui.h"

ApplicantSearchModel::ApplicantSearchModel(Tdm &data, QObject *parent) : PagedQueryModel(data.Database1, parent), m_data(data)
{
    connect(&m_data, &Tdm::tablesReopened, this, &ApplicantSearchModel::reload);
    setListing({}, headers(), {}, 0);
}

QStringList ApplicantSearchModel::headers()
{
    return {QStringLiteral("Codice Fiscale / P.IVA"), QStringLiteral("Cognome / Denominazione")};
}

bool ApplicantSearchModel::Cerca(const QString &nameBox, const QString &codeBox)
{
    if (ApplicantSearch::noCriteria(nameBox, codeBox)) {
        Tdm::ShowMsg(ApplicantSearch::noCriteriaMessage());
        return false;
    }
    beginResetModel();
    m_name = nameBox;
    m_code = codeBox;
    m_active = true;
    try {
        run();
    } catch (...) {
        m_active = false;
        setListing({}, headers(), {}, 0);
        endResetModel();
        throw;
    }
    endResetModel();
    return true;
}

void ApplicantSearchModel::Pulisci()
{
    beginResetModel();
    m_active = false;
    setListing({}, headers(), {}, 0);
    endResetModel();
}

void ApplicantSearchModel::reload()
{
    beginResetModel();
    try {
        if (m_active)
            run();
        else
            setListing({}, headers(), {}, 0);
    } catch (const DataError &) {
        m_active = false;
        setListing({}, headers(), {}, 0);
    }
    endResetModel();
}

void ApplicantSearchModel::run()
{
    if (!m_data.ttRICHIEDENTI->isOpen())
        throw DataError(QStringLiteral("Errore del database: la tabella RICHIEDENTI.DAT non è aperta"));
    const ApplicantSearch::Condition c = ApplicantSearch::condition(m_name, m_code);
    const QString name = ApplicantSearch::nameExpression();
    const QString key = QStringLiteral("R.ID_RICHIEDENTE");
    const QStringList select{key, QStringLiteral("R.PERS_CF"), name};
    const QString literal = ApplicantSearch::literalPrefix(m_name);

    if (m_code.trimmed().isEmpty() && !literal.trimmed().isEmpty()
        && ApplicantSearch::nameOrderFollowsPrefix(m_data.Database1)) {
        // Every surname or denomination found starts with the typed text, so does its name: the
        // rows come in order from the name index, from the prefix on, a page at a time. The count
        // reads the prefix indexes alone.
        const int total = m_data.Database1.connection()
                              .scalar(QStringLiteral("SELECT count(*) FROM RICHIEDENTI R WHERE ") + c.where, c.params)
                              .toInt();
        PagedSegment s{QStringLiteral("RICHIEDENTI R INDEXED BY RICHIEDENTI_NOME_IDX"),
                       QStringLiteral("(%1 >= ? AND %1 < ?) AND ").arg(name) + c.where,
                       QVariantList{literal, ApplicantSearch::prefixEnd(literal)} + c.params, {name, key}, false, key};
        setListing(select, headers(), {s}, total);
        return;
    }
    // Otherwise the prefix indexes find the rows and only those are sorted; the unary + keeps the
    // planner from walking the whole register in name order looking for them.
    PagedSegment s{QStringLiteral("RICHIEDENTI R"), c.where, c.params,
                   {QStringLiteral("+(") + name + QLatin1Char(')'), QStringLiteral("+R.ID_RICHIEDENTE")}, false, key};
    setListing(select, headers(), {s});
}
