#include "applicants/Applicants.h"

#include "applicants/ApplicantDialogs.h"
#include "applicants/CodiceFiscale.h"
#include "data/Tdm.h"
#include "data/Ui.h"

namespace {

const QString Heading = QStringLiteral("Sono stati rilevati i seguenti problemi:\r");

QString problems(const QStringList &lines)
{
    if (lines.isEmpty())
        return QString();
    QString text = Heading;
    for (const QString &l : lines)
        text += l + QLatin1Char('\r');
    return text;
}

bool blank(const Record &row, const char *field)
{
    return row.text(QLatin1String(field)).trimmed().isEmpty();
}

} // namespace

QString Applicants::validatePerson(const Record &row)
{
    QStringList lines;
    if (blank(row, "PERS_COGNOME"))
        lines << QStringLiteral("Cognome - campo obbligatorio");
    if (blank(row, "PERS_NOME"))
        lines << QStringLiteral("Nome - campo obbligatorio");
    if (!isGivenDate(row.date(QStringLiteral("PERS_DNASCITA"))))
        lines << QStringLiteral("Data di nascita - campo obbligatorio");
    if (blank(row, "PERS_SESSO"))
        lines << QStringLiteral("Sesso - campo obbligatorio");
    return problems(lines);
}

QString Applicants::validateCompany(const Record &row)
{
    QStringList lines;
    if (blank(row, "DENOMINAZIONE"))
        lines << QStringLiteral("Denominazione - campo obbligatorio");
    return problems(lines);
}

bool Applicants::EditRichiedente(ApplicantDialogs &dialogs)
{
    TableCursor *t = dm->ttRICHIEDENTI;
    if (t->text(QStringLiteral("TIPO_RICHIEDENTE")).isEmpty())
        dialogs.chooseType();
    const QString tipo = t->text(QStringLiteral("TIPO_RICHIEDENTE"));
    if (tipo != QLatin1String("P") && tipo != QLatin1String("A"))
        return false;
    for (;;) {
        const bool ok = tipo == QLatin1String("P") ? dialogs.editPerson() : dialogs.editCompany();
        if (!ok) {
            t->cancel();
            return false;
        }
        try {
            t->post();
            return true;
        } catch (const std::exception &e) {
            // The row keeps its edit state and what was typed: the dialog opens again on it.
            ui().showError(QString::fromUtf8(e.what()));
        }
    }
}

bool Applicants::InsertRichiedente(const QString &code, ApplicantDialogs &dialogs)
{
    TableCursor *t = dm->ttRICHIEDENTI;
    t->append();
    try {
        t->setFieldValue(QStringLiteral("PERS_CF"), code);
        t->setFieldValue(QStringLiteral("TIPO_RICHIEDENTE"), code.size() == 16 ? QStringLiteral("P") : QStringLiteral("A"));
    } catch (...) {
        t->cancel();
        throw;
    }
    return EditRichiedente(dialogs);
}

bool Applicants::DeleteRichiedente(qint64 id)
{
    TableCursor *t = dm->ttRICHIEDENTI;
    if (t->isEmpty())
        return false;
    if (!ui().askYesNo(QStringLiteral("Avviso"), QStringLiteral("Sei sicuro di voler eliminare il richiedente selezionato?"),
                       Ui::Icon::Information, false))
        return false;
    const qint64 used = dm->Database1.connection()
                            .scalar(QStringLiteral("Select COUNT(ID_RICHIEDENTE) From RICHIESTE Where (ID_RICHIEDENTE=?)"), {id})
                            .toLongLong();
    if (used > 0) {
        ui().messageBox(QStringLiteral("Avviso"),
                        QStringLiteral("Impossibile eliminare il richiedente selezionato\rperchè utilizzato nell'archivio "
                                       "delle richieste."),
                        Ui::Icon::Information);
        return false;
    }
    // The row deleted is the one whose use was counted.
    if (t->key() != id && !t->moveToKey(id))
        return false;
    t->deleteCurrent();
    return true;
}

bool Applicants::computeCodiceFiscale()
{
    TableCursor *t = dm->ttRICHIEDENTI;
    const qint64 comune = t->integer(QStringLiteral("ID_COMUNE"));
    if (comune <= 0)
        return false;
    const QVariant codice =
        dm->Database1.connection().scalar(QStringLiteral("SELECT CODICE FROM COMUNI WHERE ID = ?"), {comune});
    if (!codice.isValid())
        return false;
    const QDate nascita = t->date(QStringLiteral("PERS_DNASCITA"));
    if (!isGivenDate(nascita))
        return false;
    t->setFieldValue(QStringLiteral("PERS_CF"),
                     ComputeCodiceFiscale(t->text(QStringLiteral("PERS_COGNOME")).toUpper(),
                                          t->text(QStringLiteral("PERS_NOME")).toUpper(),
                                          t->text(QStringLiteral("PERS_SESSO")).toUpper(),
                                          nascita.toString(QStringLiteral("dd/MM/yy")), codice.toString()));
    return true;
}

void Applicants::chooseMunicipality(Kind kind, qint64 comuneId)
{
    TableCursor *t = dm->ttRICHIEDENTI;
    if (comuneId == 0)
        return;
    t->setFieldValue(municipalityField(kind), comuneId);
    Statement s(dm->Database1.connection(), QStringLiteral("SELECT CODICE, PROV FROM COMUNI WHERE ID = ?"));
    s.bind(1, comuneId);
    if (s.step()) {
        t->setFieldValue(QStringLiteral("BELFIORE"), s.value(0));
        t->setFieldValue(provinceField(kind), s.value(1));
    }
}

void Applicants::clearMunicipality(Kind kind)
{
    dm->ttRICHIEDENTI->setFieldValue(municipalityField(kind), QVariant());
}

bool Applicants::canInsert()
{
    const TableCursor *t = dm ? dm->ttRICHIEDENTI : nullptr;
    return t && t->isOpen() && !t->isEditing();
}

bool Applicants::canEdit()
{
    const TableCursor *t = dm ? dm->ttRICHIEDENTI : nullptr;
    return t && t->isOpen() && !t->isEditing() && !t->isEmpty();
}
