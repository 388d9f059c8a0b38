#include "applicants/ApplicantSelectionModel.h"

#include "applicants/ApplicantSearch.h"
#include "applicants/ApplicantSearchModel.h"
#include "data/Tdm.h"

ApplicantSelectionModel::ApplicantSelectionModel(Tdm &data, QObject *parent)
    : PagedQueryModel(data.Database1, parent), m_data(data)
{
    connect(&m_data, &Tdm::tablesReopened, this, &ApplicantSelectionModel::reload);
    reload();
}

void ApplicantSelectionModel::reload()
{
    beginResetModel();
    const QStringList headers = ApplicantSearchModel::headers();
    try {
        if (!m_data.ttRICHIEDENTI->isOpen())
            throw DataError(QString());
        const QString name = ApplicantSearch::nameExpression();
        PagedSegment all{QStringLiteral("RICHIEDENTI R"), QString(), {}, {name, QStringLiteral("R.ID_RICHIEDENTE")}, false,
                         QStringLiteral("R.ID_RICHIEDENTE")};
        setListing({QStringLiteral("R.ID_RICHIEDENTE"), QStringLiteral("R.PERS_CF"), name}, headers, {all});
    } catch (const DataError &) {
        setListing({}, headers, {}, 0);
    }
    endResetModel();
}
