#pragma once

#include <QDate>
#include <QList>
#include <QString>

class ApplicantDialogs;
class ApplicantSelectionDialog;

// The request dialog's work on the current row of dm->ttRICHIESTE, which the communication window has
// put into insert or edit state inside a transaction it started. The dialog ends that transaction:
// "Salva ed esci" commits it, "Esci senza salvare" rolls it back, together with any applicant created
// meanwhile through the applicant dialogs.
class RequestEntry
{
public:
    RequestEntry(ApplicantDialogs &applicantDialogs, ApplicantSelectionDialog &selectionDialog);

    // Opening: remembers the position of RICHIESTE, to return to it after "Esci senza salvare".
    void open();
    qint64 rememberedPosition() const { return m_position; }

    // Enter in the codice fiscale box. The trimmed text must have 11 or 16 characters; the untrimmed
    // text is then searched exactly in PERS_CF, or given to InsertRichiedente when unknown. True when
    // the request got its applicant (the focus moves on), false otherwise (it stays in the box).
    bool autosearchRich(const QString &boxText);
    // "Seleziona da Elenco": the applicant picked from the register, if any. True when one was picked.
    bool selectFromList();

    // The checks before saving, on what the row holds: the missing applicant or provision code
    // refuse; missing dates are only warned about, and the user decides.
    bool ValidateRichiesta();
    // "Salva ed esci": true when the request was posted and committed and the dialog closes. A
    // failure of the database is shown; the dialog then stays open with the transaction active.
    bool saveAndExit();
    // "Esci senza salvare": cancels the row, rolls the transaction back, reopens RICHIESTE on the
    // remembered position (or wherever it stands when that row is gone).
    void exitWithoutSaving();

    // "Dati del soggetto": the request's applicant, from the lookups of RICHIESTE.
    struct Applicant
    {
        QString cognome, nome, comuneNascita, sesso;
        QDate nascita;
        QString denominazione, comuneSede;
        QString codiceFiscale;
    };
    static Applicant applicant();

    // The drop-down of provision codes: PROVVEDIMENTI in its stored order.
    struct Provision
    {
        QString codice;
        QString descrizione;
    };
    static QList<Provision> provisions();

    static QString invalidCodeMessage() { return QStringLiteral("Il Codice Fiscale del Richiedente inserito non è valido"); }
    static QString missingHeading() { return QStringLiteral("I seguenti campi sono stati omessi o sono errati:\r"); }
    static QString missingDatesQuestion()
    {
        return QStringLiteral("Scegliendo SI i dati saranno comunque salvati. Si ricorda però che l'eventuale omissione "
                              "di dati obbligatori potrebbe comunque portare a problemi in fase di creazione del file "
                              "di trasmissione");
    }

private:
    static void setApplicant(qint64 id);

    ApplicantDialogs &m_applicantDialogs;
    ApplicantSelectionDialog &m_selectionDialog;
    qint64 m_position = 0;
};
