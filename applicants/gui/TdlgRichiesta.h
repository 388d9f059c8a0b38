#pragma once

#include "applicants/RequestEntry.h"

#include <QDialog>
#include <memory>

class ApplicantDialogs;
class ApplicantSelectionDialog;
class ProvvedimentoCombo;
class QLineEdit;
class QPushButton;
class QToolButton;
class RichiestaDateEdit;
class TdlgSeleziona;

// "Dettaglio richiesta": the current row of dm->ttRICHIESTE, which the caller has put into insert or
// edit state inside a transaction it started. The dialog ends the transaction itself: "Salva ed
// esci" commits, "Esci senza salvare" rolls back; it has no other way out (no close box, Esc does
// nothing). Either way it closes with OK.
//
// Calling it from the communication window:
//     Communications::BeginNewRequest();        // or BeginEditRequest()
//     TdlgRichiesta(parent).exec();
//     Communications::EndRequestDialog();
class TdlgRichiesta : public QDialog
{
    Q_OBJECT
public:
    // With the applicant dialogs and the selection dialog of the program.
    explicit TdlgRichiesta(QWidget *parent = nullptr);
    // Others in their place (tests).
    TdlgRichiesta(ApplicantDialogs &applicantDialogs, ApplicantSelectionDialog &selection, QWidget *parent = nullptr);
    ~TdlgRichiesta() override;

    RequestEntry &entry() { return *m_entry; }

public slots:
    void SalvaEdEsci();
    void EsciSenzaSalvare();
    void SelezionaDaElenco();
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build();
    void openRow();
    void showApplicant();
    // "Take into the row whatever is still being typed".
    void takeTyped();
    void setField(const QString &name, const QVariant &value);

    std::unique_ptr<ApplicantDialogs> m_ownDialogs;
    TdlgSeleziona *m_ownSelection = nullptr;
    std::unique_ptr<RequestEntry> m_entry;
    bool m_closing = false;

    QLineEdit *m_richsearch = nullptr;
    QPushButton *m_seleziona = nullptr;
    QLineEdit *m_cognome = nullptr;
    QLineEdit *m_nome = nullptr;
    QLineEdit *m_natoA = nullptr;
    QLineEdit *m_natoIl = nullptr;
    QLineEdit *m_sesso = nullptr;
    QLineEdit *m_denominazione = nullptr;
    QLineEdit *m_sede = nullptr;
    QLineEdit *m_codFis = nullptr;
    ProvvedimentoCombo *m_codice = nullptr;
    QLineEdit *m_numero = nullptr;
    RichiestaDateEdit *m_dataInizio = nullptr;
    RichiestaDateEdit *m_dataFine = nullptr;
    QToolButton *m_salva = nullptr;
    QToolButton *m_esci = nullptr;
};
