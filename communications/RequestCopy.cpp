#include "communications/RequestCopy.h"

#include "communications/TransmissionFile.h"
#include "data/Tdm.h"
#include "data/Ui.h"

const QString RequestCopy::MsgSourceOpen = QStringLiteral(
    "Impossibile copiare le richieste da una comunicazione ancora Aperta in una'altra comunicazione");
const QString RequestCopy::MsgNothingSelected = QStringLiteral(
    "Non vi sono richieste selezionate. Per selezionare una richiesta cliccare sulla riga corrispondente tenendo "
    "premuto il tasto CTRL");
const QString RequestCopy::MsgDone =
    QStringLiteral("Operazione completata. Le richieste sono state copiate nella comunicazione selezionata");
const QString RequestCopy::MsgFailed =
    QStringLiteral("Si è verificato un errore durante la copia. L'operazione è stata annullata.");

RequestCopy::RequestCopy(Tdm &data) : m_data(data), T1(std::make_unique<TableCursor>(data.Database1, Schema::richieste()))
{
    T1->open();
}

RequestCopy::~RequestCopy()
{
    T1->close();
}

QString RequestCopy::copiedNumber(const QString &numero)
{
    const QString digits = numero.trimmed();
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            throw DataError(QStringLiteral("'%1' non è un numero valido").arg(numero));
    }
    qsizetype first = 0;
    while (first < digits.size() - 1 && digits.at(first) == QLatin1Char('0'))
        ++first;
    return digits.mid(first);
}

void RequestCopy::CopyRequest(qint64 destination)
{
    const TableCursor *source = m_data.ttRICHIESTE;
    if (source->key() == 0)
        throw DataError(QStringLiteral("Nessuna richiesta da copiare"));
    auto asText = [](const QVariant &v) { return v.isNull() ? QVariant() : QVariant(v.toString()); };
    auto dateOrZero = [](const QDate &d) { return d.isValid() ? d : zeroDate(); };

    // The number is worked out first, so that a bad one leaves nothing half appended.
    const QVariant numero = source->fieldValue(QStringLiteral("NUMERO"));
    const QVariant copiedNumero = numero.isNull() ? QVariant() : QVariant(copiedNumber(numero.toString()));

    T1->append();
    try {
        T1->setFieldValue(QStringLiteral("ID_DENUNCIA"), destination);
        T1->setFieldValue(QStringLiteral("ID_RICHIEDENTE"), source->fieldValue(QStringLiteral("ID_RICHIEDENTE")));
        T1->setFieldValue(QStringLiteral("CODICE"), asText(source->fieldValue(QStringLiteral("CODICE"))));
        T1->setFieldValue(QStringLiteral("DATA_INIZIO"), dateOrZero(source->date(QStringLiteral("DATA_INIZIO"))));
        T1->setFieldValue(QStringLiteral("DATA_FINE"), dateOrZero(source->date(QStringLiteral("DATA_FINE"))));
        T1->setFieldValue(QStringLiteral("NUMERO"), copiedNumero);
        T1->post();
    } catch (...) {
        T1->cancel();
        throw;
    }
}

QList<CopyDestination> RequestCopy::destinations(Connection &connection, int anno, qint64 idDenuncia)
{
    Statement q(connection, QStringLiteral("select ID_DENUNCIA,ANNO,DESCRIZIONE,PROGRESSIVO from DENUNCE\n"
                                           "where (ANNO = :anno) and (ID_DENUNCIA <> :id)\n"
                                           "order by PROGRESSIVO"));
    q.bind(QStringLiteral(":anno"), anno);
    q.bind(QStringLiteral(":id"), idDenuncia);
    QList<CopyDestination> out;
    while (q.step())
        out.append({q.value(0).toLongLong(), q.value(1).toInt(), q.value(2).toString(), q.value(3).toInt()});
    return out;
}

QString RequestCopy::pickerMessage(bool listEmpty)
{
    if (listEmpty)
        return QStringLiteral("Non vi sono denuncie in cui copiare la richiesta selezionata.\r"
                              "E' necessario creare una nuova denuncia della stesssa annualità di quella corrente.");
    return QStringLiteral("Selezionare la denuncia di destinazione, ovvero la denuncia nella quale\r"
                          " copiare le richieste selezionate.");
}

bool RequestCopy::CopiaIn(const QList<qint64> &selected, const std::function<std::optional<qint64>()> &pick,
                          TransmissionProgress *progress)
{
    Tdm &data = *dm;
    if (data.ttDENUNCE->text(QStringLiteral("STATO")) == QLatin1String("A")) {
        Tdm::ShowMsg(MsgSourceOpen);
        return false;
    }
    if (selected.isEmpty()) {
        Tdm::ShowMsg(MsgNothingSelected);
        return false;
    }
    const std::optional<qint64> destination = pick();
    if (!destination)
        return false;

    auto busy = std::make_unique<BusyCursor>();
    if (progress) {
        progress->setMaximum(int(selected.size()));
        progress->setValue(0);
    }
    TableCursor *requests = data.ttRICHIESTE;
    const qint64 home = requests->key();
    // The grid's focused row is the request the window edits next: put the cursor back on it.
    auto finish = [&] {
        if (progress)
            progress->setValue(0);
        busy.reset();
        try {
            if (!home || !requests->moveToKey(home))
                requests->first();
        } catch (const std::exception &) {
        }
    };

    bool started = false;
    try {
        data.Database1.startTransaction();
        started = true;
        {
            RequestCopy copy(data);
            int done = 0;
            for (const qint64 key : selected) {
                if (!requests->moveToKey(key))
                    throw DataError(QStringLiteral("La richiesta %1 non è più presente nella comunicazione").arg(key));
                copy.CopyRequest(*destination);
                if (progress)
                    progress->setValue(++done);
                ui().processEvents();
            }
        }
        data.Database1.commit();
        started = false;
        busy.reset();
        Tdm::ShowMsg(MsgDone);
    } catch (...) {
        finish();
        if (started) {
            Tdm::ShowMsg(MsgFailed);
            try {
                if (data.Database1.inTransaction())
                    data.Database1.rollback();
            } catch (const std::exception &) {
                // The error that stopped the copy is the one to show.
            }
        }
        throw;
    }
    finish();
    return true;
}
