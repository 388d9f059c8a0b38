#pragma once

#include <QDialog>

class QPushButton;
class QStandardItemModel;
class QTableView;

// "Selezione Denuncia": the destination of a copy of requests, among the other communications of the
// current communication's year. exec() runs the query and tells the user what to do before showing
// the list; it closes with OK once a destination is chosen, with Cancel otherwise.
class TdlgSelDenuncia : public QDialog
{
    Q_OBJECT
public:
    explicit TdlgSelDenuncia(QWidget *parent = nullptr);

    // The chosen communication's ID_DENUNCIA, set when the picker closes with OK.
    qint64 DestinationId = 0;

    int exec() override;
    void done(int result) override;

    QTableView *GridSel = nullptr;
    QPushButton *bSeleziona = nullptr;
    QPushButton *bAnnulla = nullptr;

public slots:
    // "Seleziona": with an empty list the picker stays open.
    void Seleziona();

private:
    // Runs the query for dm's current communication and positions the grid on the last row.
    void openQuery();

    QStandardItemModel *m_model = nullptr;
};
