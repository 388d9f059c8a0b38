#pragma once

#include <QDialog>

class ApplicantDialogs;
class ApplicantSearchModel;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

// "Ricerca in anagrafica": applicants found by the start of their surname or denomination and of
// their code; a double click opens the applicant's dialog.
class TdlgRicerca : public QDialog
{
    Q_OBJECT
public:
    explicit TdlgRicerca(ApplicantDialogs &applicantDialogs, QWidget *parent = nullptr);

    ApplicantSearchModel *result() const { return m_model; }

public slots:
    void Cerca();
    void Pulisci();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void openFound(const QModelIndex &index);

    ApplicantDialogs &m_applicantDialogs;
    QLineEdit *m_cognome = nullptr;
    QLineEdit *m_codice = nullptr;
    QPushButton *m_cerca = nullptr;
    QPushButton *m_pulisci = nullptr;
    QLabel *m_trovati = nullptr;
    QTableView *m_grid = nullptr;
    ApplicantSearchModel *m_model = nullptr;
};
