#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QList>

class Tdm;

// The communications of the main window's list: year, title, state image and text.
// Rows are fetched in chunks as the view scrolls.
class DenunceListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit DenunceListModel(Tdm &data, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

    qint64 keyAt(int row) const;
    int rowOfKey(qint64 key) const;
    // Reads the list again from the start (after a change to DENUNCE).
    void reload();

    static QString stateText(const QString &stato);
    static int stateImage(const QString &stato); // -1 for an unknown state
    static QIcon stateIcon(int image);

private:
    struct Row
    {
        qint64 id;
        int anno;
        QString descrizione;
        QString stato;
    };
    Tdm &m_data;
    QList<Row> m_rows;
    bool m_atEnd = false;
};
