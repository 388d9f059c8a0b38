#include "communications/RequestsModel.h"

#include "data/Tdm.h"

RequestsModel::RequestsModel(Tdm &data, QObject *parent) : PagedQueryModel(data.Database1, parent), m_data(data)
{
    connect(m_data.ttRICHIESTE, &TableCursor::contentChanged, this, &RequestsModel::reload);
    connect(m_data.ttRICHIEDENTI, &TableCursor::contentChanged, this, &RequestsModel::reload);
    connect(m_data.ttDENUNCE, &TableCursor::currentChanged, this, &RequestsModel::masterMoved);
    connect(&m_data, &Tdm::tablesReopened, this, &RequestsModel::reload);
    reload();
}

void RequestsModel::masterMoved()
{
    if (m_data.ttDENUNCE->key() != m_denuncia)
        reload();
}

void RequestsModel::reload()
{
    beginResetModel();
    const QStringList headers{QStringLiteral("Codice"), QStringLiteral("Numero"), QStringLiteral("Cognome"),
                              QStringLiteral("Nome"), QStringLiteral("Azienda/Ditta")};
    const QStringList select{QStringLiteral("R.ID_RICHIESTA"), QStringLiteral("R.CODICE"), QStringLiteral("R.NUMERO"),
                             QStringLiteral("P.PERS_COGNOME"), QStringLiteral("P.PERS_NOME"),
                             QStringLiteral("P.DENOMINAZIONE")};
    const QString key = QStringLiteral("R.ID_RICHIESTA");
    m_denuncia = m_data.ttDENUNCE->isOpen() ? m_data.ttDENUNCE->key() : 0;
    try {
        if (!m_data.ttRICHIESTE->isOpen() || !m_data.ttRICHIEDENTI->isOpen() || m_denuncia == 0)
            throw DataError(QString());
        const int total = m_data.Database1.connection()
                              .scalar(QStringLiteral("SELECT count(*) FROM RICHIESTE WHERE ID_DENUNCIA = ?"), {m_denuncia})
                              .toInt();
        const QString joined = QStringLiteral("RICHIESTE R LEFT JOIN RICHIEDENTI P ON P.ID_RICHIEDENTE = R.ID_RICHIEDENTE");
        if (total <= LargeCommunication) {
            // Few rows: sorting them is cheaper than walking every surname of the register.
            PagedSegment all{joined, QStringLiteral("R.ID_DENUNCIA = ?"), {m_denuncia},
                             {QStringLiteral("COALESCE(P.PERS_COGNOME, '')"), key}, true, key};
            setListing(select, headers, {all}, total);
        } else {
            // Many rows: walk the surnames down their index and pick this communication's requests.
            PagedSegment named{QStringLiteral("RICHIEDENTI P CROSS JOIN RICHIESTE R ON R.ID_RICHIEDENTE = P.ID_RICHIEDENTE"),
                               QStringLiteral("R.ID_DENUNCIA = ? AND P.PERS_COGNOME > ''"),
                               {m_denuncia},
                               {QStringLiteral("P.PERS_COGNOME"), QStringLiteral("P.ID_RICHIEDENTE"), key},
                               true,
                               key,
                               false};
            PagedSegment unnamed{joined, QStringLiteral("R.ID_DENUNCIA = ? AND COALESCE(P.PERS_COGNOME, '') = ''"),
                                 {m_denuncia}, {key}, true, key};
            setListing(select, headers, {named, unnamed}, total);
        }
    } catch (const DataError &) {
        setListing({}, headers, {}, 0);
    }
    endResetModel();
}
