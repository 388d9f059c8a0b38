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
    // The unary + keeps the planner on the prefix indexes: the few rows found are sorted, rather
    // than the whole register walked in name order looking for them.
    PagedSegment s{QStringLiteral("RICHIEDENTI R"), c.where, c.params,
                   {QStringLiteral("+(") + ApplicantSearch::nameExpression() + QLatin1Char(')'),
                    QStringLiteral("+R.ID_RICHIEDENTE")},
                   false, QStringLiteral("R.ID_RICHIEDENTE")};
    setListing({QStringLiteral("R.ID_RICHIEDENTE"), QStringLiteral("R.PERS_CF"), ApplicantSearch::nameExpression()},
               headers(), {s});
}
