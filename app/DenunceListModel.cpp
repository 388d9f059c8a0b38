#include "app/DenunceListModel.h"

#include "communications/Communications.h"
#include "data/Tdm.h"

#include <QPainter>
#include <QPixmap>

namespace {
const int Chunk = 200;
}

DenunceListModel::DenunceListModel(Tdm &data, QObject *parent) : QAbstractTableModel(parent), m_data(data)
{
    connect(m_data.ttDENUNCE, &TableCursor::contentChanged, this, &DenunceListModel::reload);
    connect(&m_data, &Tdm::tablesReopened, this, &DenunceListModel::reload);
}

int DenunceListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int DenunceListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 3;
}

QString DenunceListModel::stateText(const QString &stato)
{
    return Communications::stateLabel(stato);
}

int DenunceListModel::stateImage(const QString &stato)
{
    if (stato == QLatin1String("A"))
        return 0;
    if (stato == QLatin1String("C"))
        return 1;
    if (stato == QLatin1String("T"))
        return 2;
    return -1;
}

QIcon DenunceListModel::stateIcon(int image)
{
    // 0 open (green), 1 file created (amber), 2 transmitted (blue, with a tick).
    static const QColor colours[] = {QColor(0x2e, 0x9d, 0x4c), QColor(0xe0, 0x9b, 0x16), QColor(0x1f, 0x6f, 0xc5)};
    if (image < 0 || image > 2)
        return QIcon();
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(colours[image]);
    p.setPen(colours[image].darker(130));
    p.drawEllipse(QRectF(3, 3, 18, 18));
    p.setPen(QPen(Qt::white, 2.2));
    if (image == 0) {
        p.drawLine(QPointF(12, 7), QPointF(12, 17));
        p.drawLine(QPointF(7, 12), QPointF(17, 12));
    } else if (image == 1) {
        p.drawRect(QRectF(8.5, 7.5, 7, 9));
    } else {
        p.drawPolyline(QPolygonF({QPointF(7.5, 12.5), QPointF(10.5, 15.5), QPointF(16.5, 8.5)}));
    }
    return QIcon(pm);
}

QVariant DenunceListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const Row &r = m_rows.at(index.row());
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case 0: return r.anno;
        case 1: return r.descrizione;
        case 2: return stateText(r.stato);
        }
    }
    if (role == Qt::DecorationRole && index.column() == 2)
        return stateIcon(stateImage(r.stato));
    if (role == Qt::ToolTipRole)
        return QStringLiteral("Elenco delle denunce presenti in archivio.\n\nFare doppio clic per aprire una denuncia.");
    return {};
}

bool DenunceListModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && !m_atEnd && m_data.ttDENUNCE->isOpen();
}

void DenunceListModel::fetchMore(const QModelIndex &parent)
{
    if (!canFetchMore(parent))
        return;
    const qint64 after = m_rows.isEmpty() ? 0 : m_rows.last().id;
    QList<Row> chunk;
    try {
        Statement s(m_data.Database1.connection(),
                    QStringLiteral("SELECT ID_DENUNCIA, ANNO, DESCRIZIONE, STATO FROM DENUNCE WHERE ID_DENUNCIA > ? "
                                   "ORDER BY ID_DENUNCIA LIMIT ?"));
        s.bind(1, after).bind(2, Chunk);
        while (s.step())
            chunk.append({s.value(0).toLongLong(), s.value(1).toInt(), s.value(2).toString(), s.value(3).toString()});
    } catch (const DataError &) {
        m_atEnd = true;
        return;
    }
    m_atEnd = chunk.size() < Chunk;
    if (chunk.isEmpty())
        return;
    beginInsertRows(QModelIndex(), int(m_rows.size()), int(m_rows.size() + chunk.size() - 1));
    m_rows += chunk;
    endInsertRows();
}

qint64 DenunceListModel::keyAt(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).id : 0;
}

int DenunceListModel::rowOfKey(qint64 key) const
{
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_rows.at(i).id == key)
            return i;
    }
    return -1;
}

void DenunceListModel::reload()
{
    beginResetModel();
    m_rows.clear();
    m_atEnd = false;
    endResetModel();
    if (canFetchMore(QModelIndex()))
        fetchMore(QModelIndex());
}
