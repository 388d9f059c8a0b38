#include "applicants/RequestEntry.h"

#include "applicants/ApplicantSelection.h"
#include "applicants/Applicants.h"
#include "data/Tdm.h"
#include "data/Ui.h"

namespace {

QString withHeading(const QStringList &lines)
{
    QString text = RequestEntry::missingHeading();
    for (const QString &l : lines)
        text += l + QLatin1Char('\r');
    return text;
}

} // namespace

RequestEntry::RequestEntry(ApplicantDialogs &applicantDialogs, ApplicantSelectionDialog &selectionDialog)
    : m_applicantDialogs(applicantDialogs), m_selectionDialog(selectionDialog)
{
}

void RequestEntry::open()
{
    // While a new row is being inserted, the key is still that of the row current before it.
    m_position = dm->ttRICHIESTE->key();
}

void RequestEntry::setApplicant(qint64 id)
{
    dm->ttRICHIESTE->setFieldValue(QStringLiteral("ID_RICHIEDENTE"), id);
}

bool RequestEntry::autosearchRich(const QString &boxText)
{
    const qsizetype length = boxText.trimmed().size();
    if (length != 11 && length != 16) {
        Tdm::ShowMsg(invalidCodeMessage());
        return false;
    }
    TableCursor *richiedenti = dm->ttRICHIEDENTI;
    if (richiedenti->locate(QStringLiteral("PERS_CF"), boxText)) {
        setApplicant(richiedenti->key());
        return true;
    }
    if (!Applicants::InsertRichiedente(boxText, m_applicantDialogs))
        return false;
    setApplicant(richiedenti->key());
    return true;
}

bool RequestEntry::selectFromList()
{
    ApplicantSelection::SelectRichiedente(m_selectionDialog);
    if (Ricerca.ID <= 0)
        return false;
    setApplicant(Ricerca.ID);
    return true;
}

bool RequestEntry::ValidateRichiesta()
{
    const TableCursor *r = dm->ttRICHIESTE;
    QStringList missing;
    if (r->integer(QStringLiteral("ID_RICHIEDENTE")) <= 0)
        missing << QStringLiteral("Richiedente");
    if (r->text(QStringLiteral("CODICE")).isEmpty())
        missing << QStringLiteral("Codice del Provvedimento");
    if (!missing.isEmpty()) {
        Tdm::ShowMsg(withHeading(missing));
        return false;
    }
    QStringList dates;
    if (!isGivenDate(r->date(QStringLiteral("DATA_INIZIO"))))
        dates << QStringLiteral("Data inizio");
    if (!isGivenDate(r->date(QStringLiteral("DATA_FINE"))))
        dates << QStringLiteral("Data fine");
    if (dates.isEmpty())
        return true;
    Tdm::ShowMsg(withHeading(dates));
    return ui().askYesNo(QStringLiteral("Avviso"), missingDatesQuestion(), Ui::Icon::Warning, false);
}

bool RequestEntry::saveAndExit()
{
    if (!ValidateRichiesta())
        return false;
    try {
        dm->ttRICHIESTE->post();
        dm->Database1.commit();
    } catch (const std::exception &e) {
        // The row keeps what was typed and the transaction stays open: the user may try again or
        // leave without saving, which rolls it back.
        ui().showError(QString::fromUtf8(e.what()));
        return false;
    }
    return true;
}

void RequestEntry::exitWithoutSaving()
{
    TableCursor *r = dm->ttRICHIESTE;
    r->cancel();
    if (dm->Database1.inTransaction())
        dm->Database1.rollback();
    r->close();
    r->open();
    if (m_position > 0)
        r->moveToKey(m_position);
    // The applicant cursor may stand on a row created in the transaction, now gone.
    TableCursor *richiedenti = dm->ttRICHIEDENTI;
    if (richiedenti->isOpen() && !richiedenti->isEditing())
        richiedenti->refresh();
    // Rows the transaction had written are gone: lists that showed them read their rows again.
    emit r->contentChanged();
    emit richiedenti->contentChanged();
}

RequestEntry::Applicant RequestEntry::applicant()
{
    const TableCursor *r = dm->ttRICHIESTE;
    Applicant a;
    a.cognome = r->text(QStringLiteral("lkCognomeRich"));
    a.nome = r->text(QStringLiteral("lkNomeRich"));
    a.comuneNascita = r->text(QStringLiteral("lkCOMUNE"));
    a.nascita = r->date(QStringLiteral("lkDnascitaRich"));
    a.sesso = r->text(QStringLiteral("lkSessoRich"));
    a.denominazione = r->text(QStringLiteral("lkDenominazione"));
    a.comuneSede = r->text(QStringLiteral("lkComune_Sede"));
    a.codiceFiscale = r->text(QStringLiteral("lkCodFisRich"));
    return a;
}

QList<RequestEntry::Provision> RequestEntry::provisions()
{
    QList<Provision> out;
    if (!dm->ttPROVVEDIMENTI->isOpen())
        return out;
    Statement s(dm->Database1.connection(),
                QStringLiteral("SELECT CODICE, DESCRIZIONE FROM PROVVEDIMENTI WHERE CODICE IS NOT NULL ORDER BY rowid"));
    while (s.step())
        out.append({s.value(0).toString(), s.value(1).toString()});
    return out;
}
