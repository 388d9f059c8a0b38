#include "applicants/ComuniListModel.h"

#include "data/Tdm.h"

ComuniListModel::ComuniListModel(Tdm &data, QObject *parent) : QAbstractTableModel(parent), m_data(data)
{
    connect(&m_data, &Tdm::tablesReopened, this, &ComuniListModel::reload);
    reload();
}

QString ComuniListModel::label(const QString &nome, const QString &prov)
{
    return prov.isEmpty() ? nome : nome + QStringLiteral(" (") + prov + QLatin1Char(')');
}

void ComuniListModel::reload()
{
    beginResetModel();
    m_rows.clear();
    m_rowOfId.clear();
    try {
        if (m_data.ttCOMUNI->isOpen()) {
            Statement s(m_data.Database1.connection(), QStringLiteral("SELECT ID, NOME, PROV, CODICE FROM COMUNI ORDER BY NOME, PROV, ID"));
            while (s.step()) {
                m_rowOfId.insert(s.value(0).toLongLong(), int(m_rows.size()));
                m_rows.append({s.value(0).toLongLong(), label(s.value(1).toString(), s.value(2).toString()), s.value(3).toString()});
            }
        }
    } catch (const DataError &) {
        m_rows.clear();
        m_rowOfId.clear();
    }
    endResetModel();
}

int ComuniListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ComuniListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant ComuniListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const Comune &c = m_rows.at(index.row());
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return index.column() == 0 ? c.label : c.codice;
    if (role == IdRole)
        return c.id;
    return {};
}

qint64 ComuniListModel::idAt(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).id : 0;
}

int ComuniListModel::rowOfId(qint64 id) const
{
    return m_rowOfId.value(id, -1);
}
