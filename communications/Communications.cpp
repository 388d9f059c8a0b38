#include "communications/Communications.h"

#include "data/Tdm.h"
#include "data/Ui.h"

#include <QFileInfo>

int Communications::NextProgressivo(int anno)
{
    const QVariant max = dm->Database1.connection().scalar(
        QStringLiteral("select MAX(PROGRESSIVO) from DENUNCE WHERE (ANNO = :anno)"), {anno});
    return (max.isNull() ? 0 : max.toInt()) + 1;
}

QString Communications::description(int progressivo, int anno)
{
    return QStringLiteral("Comunicazione n. %1 / %2").arg(progressivo).arg(anno);
}

bool Communications::NewCommunication(int anno)
{
    const int progressivo = NextProgressivo(anno);
    TableCursor *t = dm->ttDENUNCE;
    const qint64 open = dm->Database1.connection()
                            .scalar(QStringLiteral("SELECT count(*) FROM DENUNCE WHERE ANNO = ? AND STATO = 'A'"), {anno})
                            .toLongLong();
    if (open > 0)
        return false;
    t->append();
    try {
        t->setFieldValue(QStringLiteral("ANNO"), anno);
        t->setFieldValue(QStringLiteral("DESCRIZIONE"), description(progressivo, anno));
        t->setFieldValue(QStringLiteral("PROGRESSIVO"), progressivo);
        t->setFieldValue(QStringLiteral("DATA_CREAZIONE"), QDate::currentDate());
        t->setFieldValue(QStringLiteral("STATO"), QStringLiteral("A"));
        t->post();
    } catch (...) {
        t->cancel();
        throw;
    }
    return true;
}

QString Communications::currentState()
{
    TableCursor *t = dm ? dm->ttDENUNCE : nullptr;
    if (!t || !t->isOpen() || t->key() == 0)
        return QString();
    return t->text(QStringLiteral("STATO"));
}

QString Communications::stateLabel(const QString &stato)
{
    if (stato == QLatin1String("A"))
        return QStringLiteral("Aperta");
    if (stato == QLatin1String("C"))
        return QStringLiteral("Creata");
    if (stato == QLatin1String("T"))
        return QStringLiteral("Trasmessa");
    return QString();
}

QString Communications::fileInfoText(const QString &stato, const QString &nomeFile, bool fileExists)
{
    if (stato == QLatin1String("A"))
        return QStringLiteral("La comunicazione è ancora Aperta");
    if (nomeFile.isEmpty())
        return QStringLiteral("Nessun file associato alla comunicazione");
    if (fileExists)
        return QStringLiteral("File: ") + nomeFile;
    return QStringLiteral("File: ") + nomeFile + QStringLiteral(" (Il file è stato Rimosso!!!)");
}

void Communications::InfoSulFile()
{
    const TableCursor *t = dm->ttDENUNCE;
    const QString nome = t->text(QStringLiteral("NOME_FILE"));
    Tdm::ShowMsg(fileInfoText(t->text(QStringLiteral("STATO")), nome, !nome.isEmpty() && QFileInfo(nome).isFile()));
}

namespace {

bool changeState(const QString &from, const QString &to, const QString &question)
{
    TableCursor *t = dm->ttDENUNCE;
    if (t->key() == 0 || t->text(QStringLiteral("STATO")) != from)
        return false;
    if (!ui().askYesNo(QStringLiteral("Richiesta conferma"), question, Ui::Icon::Question, true))
        return false;
    t->edit();
    try {
        t->setFieldValue(QStringLiteral("STATO"), to);
        t->post();
    } catch (...) {
        t->cancel();
        throw;
    }
    return true;
}

} // namespace

bool Communications::MarkTransmitted()
{
    return changeState(QStringLiteral("C"), QStringLiteral("T"),
                       QStringLiteral("Si vuole segnare la comunicazione come trasmessa all'Agenzia delle Entrate?"));
}

bool Communications::MarkNotTransmitted()
{
    return changeState(QStringLiteral("T"), QStringLiteral("C"),
                       QStringLiteral("Si vuole annullare la trasmissione della comunicazione, riportandola allo "
                                      "stato di file creato?"));
}

bool Communications::DeleteCurrentRequest()
{
    TableCursor *r = dm->ttRICHIESTE;
    if (r->isEmpty())
        return false;
    if (!ui().askYesNo(QStringLiteral("Richiesta conferma"),
                       QStringLiteral("Si è scelto di eliminare la richiesta selezionata. Si vuole realmente eseguire "
                                      "questa operazione?"),
                       Ui::Icon::Information, true))
        return false;
    r->deleteCurrent();
    return true;
}

void Communications::BeginNewRequest()
{
    dm->Database1.startTransaction();
    try {
        dm->ttRICHIESTE->append();
    } catch (...) {
        dm->Database1.rollback();
        throw;
    }
}

bool Communications::BeginEditRequest()
{
    TableCursor *r = dm->ttRICHIESTE;
    if (r->isEmpty())
        return false;
    dm->Database1.startTransaction();
    try {
        r->edit();
    } catch (...) {
        dm->Database1.rollback();
        throw;
    }
    return true;
}

void Communications::EndRequestDialog()
{
    TableCursor *r = dm->ttRICHIESTE;
    if (r->isEditing())
        r->cancel();
    if (dm->Database1.inTransaction()) {
        dm->Database1.rollback();
        // What the dialog had written inside the transaction is gone: show the rows as they are.
        if (r->isOpen())
            r->refresh();
        if (dm->ttRICHIEDENTI->isOpen() && !dm->ttRICHIEDENTI->isEditing())
            dm->ttRICHIEDENTI->refresh();
    }
}

CommunicationCommands CommunicationCommands::forState(const QString &stato, const Wired &wired, bool busy)
{
    CommunicationCommands c;
    if (busy)
        return c;
    c.nuova = wired.requestDialog;
    c.modifica = wired.requestDialog;
    c.elimina = true;
    c.copiaIn = wired.copy && !stato.isEmpty() && stato != QLatin1String("A");
    c.stampa = wired.print;
    c.creaFile = wired.createFile;
    c.info = true;
    c.uscita = true;
    c.trasmessa = stato == QLatin1String("C");
    c.nonTrasmessa = stato == QLatin1String("T");
    return c;
}
