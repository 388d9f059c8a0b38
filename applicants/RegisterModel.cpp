#include "applicants/RegisterModel.h"

#include "data/Tdm.h"

RegisterModel::RegisterModel(Tdm &data, QObject *parent) : PagedQueryModel(data.Database1, parent), m_data(data)
{
    connect(m_data.ttRICHIEDENTI, &TableCursor::contentChanged, this, &RegisterModel::reload);
    connect(&m_data, &Tdm::tablesReopened, this, &RegisterModel::reload);
    reload();
}

void RegisterModel::reload()
{
    beginResetModel();
    const QStringList headers{QStringLiteral("Codice Fiscale"), QStringLiteral("Cognome"), QStringLiteral("Nome"),
                              QStringLiteral("Persona non fisica")};
    try {
        if (!m_data.ttRICHIEDENTI->isOpen())
            throw DataError(QString());
        const QString from = QStringLiteral("RICHIEDENTI R");
        const QString key = QStringLiteral("R.ID_RICHIEDENTE");
        PagedSegment noCode{from, QStringLiteral("R.PERS_CF IS NULL"), {}, {key}, false, key};
        PagedSegment byCode{from, QStringLiteral("R.PERS_CF IS NOT NULL"), {}, {QStringLiteral("R.PERS_CF"), key}, false, key};
        setListing({key, QStringLiteral("R.PERS_CF"), QStringLiteral("R.PERS_COGNOME"), QStringLiteral("R.PERS_NOME"),
                    QStringLiteral("R.DENOMINAZIONE")},
                   headers, {noCode, byCode});
    } catch (const DataError &) {
        setListing({}, headers, {}, 0);
    }
    endResetModel();
}
