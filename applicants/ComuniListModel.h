#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QList>

class Tdm;

// Every municipality of COMUNI in order of name, for the drop-downs of the applicant dialogs:
// column 0 the name with its province beside it ("ABBADIA (TO)"), so that names that repeat can be
// told apart, column 1 the cadastral code. A reference table of about 14,000 rows, read once.
class ComuniListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int IdRole = Qt::UserRole + 1;

    explicit ComuniListModel(Tdm &data, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    qint64 idAt(int row) const;
    int rowOfId(qint64 id) const; // -1 when unknown
    static QString label(const QString &nome, const QString &prov);
    void reload();

private:
    struct Comune
    {
        qint64 id;
        QString label;
        QString codice;
    };
    Tdm &m_data;
    QList<Comune> m_rows;
    QHash<qint64, int> m_rowOfId;
};
