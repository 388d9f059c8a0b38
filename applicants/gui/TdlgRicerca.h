#pragma once

#include <QDialog>
#include <memory>

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
    // The applicant dialogs of the program open on a double click.
    explicit TdlgRicerca(QWidget *parent = nullptr);
    // Others in their place (tests).
    explicit TdlgRicerca(ApplicantDialogs &applicantDialogs, QWidget *parent = nullptr);
    ~TdlgRicerca() override;

    ApplicantSearchModel *result() const { return m_model; }

public slots:
    void Cerca();
    void Pulisci();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void build();
    void openFound(const QModelIndex &index);

    std::unique_ptr<ApplicantDialogs> m_ownDialogs;
    ApplicantDialogs *m_applicantDialogs = nullptr;
    QLineEdit *m_cognome = nullptr;
    QLineEdit *m_codice = nullptr;
    QPushButton *m_cerca = nullptr;
    QPushButton *m_pulisci = nullptr;
    QLabel *m_trovati = nullptr;
    QTableView *m_grid = nullptr;
    ApplicantSearchModel *m_model = nullptr;
};
