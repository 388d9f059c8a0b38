#pragma once

#include "applicants/ApplicantSelectionDialog.h"

#include <QDialog>

class ApplicantSelectionModel;
class QPushButton;
class QTableView;

// "Selezione...": every applicant, to pick one for a request. The list is read when the dialog opens
// and dropped when it closes; the choice goes into Ricerca.ID (0 for "Annulla" and the close box).
class TdlgSeleziona : public QDialog, public ApplicantSelectionDialog
{
    Q_OBJECT
public:
    explicit TdlgSeleziona(QWidget *parent = nullptr);
    ~TdlgSeleziona() override;

    // Opens the list, shows the dialog modally, closes the list.
    void showSelection() override;
    // The list while the dialog is open, null otherwise.
    ApplicantSelectionModel *list() const { return m_model; }

public slots:
    void Seleziona();
    void reject() override;

private:
    void openList();
    void closeList();

    QTableView *m_grid = nullptr;
    QPushButton *m_seleziona = nullptr;
    QPushButton *m_annulla = nullptr;
    ApplicantSelectionModel *m_model = nullptr;
};
