#include "communications/TransmissionFile.h"

#include "applicants/ConsistencyCheck.h"
#include "communications/TransmissionFormat.h"
#include "data/Database.h"
#include "data/Tdm.h"
#include "data/Ui.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSaveFile>
#include <QStringEncoder>

namespace {

const char *const RequestsSql =
    "SELECT Q.CODICE, Q.NUMERO, Q.DATA_INIZIO, Q.DATA_FINE, "
    "R.ID_RICHIEDENTE, R.TIPO_RICHIEDENTE, R.PERS_CF, R.PERS_COGNOME, R.PERS_NOME, R.PERS_SESSO, R.PERS_DNASCITA, "
    "R.DENOMINAZIONE, C.ID, C.NOME, C.PROV "
    "FROM RICHIESTE Q "
    "LEFT JOIN RICHIEDENTI R ON R.ID_RICHIEDENTE = Q.ID_RICHIEDENTE "
    "LEFT JOIN COMUNI C ON C.ID = CASE WHEN R.TIPO_RICHIEDENTE = 'A' THEN R.ID_COMUNE_SEDE ELSE R.ID_COMUNE END "
    "WHERE Q.ID_DENUNCIA = ? "
    "ORDER BY Q.ID_RICHIESTA";

const QString WriteFailed = QStringLiteral("Si è verificato un errore durante la creazione del file.");

// A failure while the records are written; the caller shows WriteFailed for any of them.
struct WriteError : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

QDate isoDate(const QVariant &v)
{
    return v.isNull() ? QDate() : QDate::fromString(v.toString(), Qt::ISODate);
}

// Writes records as Windows-1252 lines ended by CR LF.
class RecordWriter
{
public:
    explicit RecordWriter(QSaveFile &file) : m_file(file), m_encoder("windows-1252") {}

    void write(const QString &record)
    {
        m_line = m_encoder.encode(record);
        if (m_encoder.hasError())
            throw WriteError("carattere non rappresentabile");
        m_line.append("\r\n", 2);
        if (m_file.write(m_line) != m_line.size())
            throw WriteError("scrittura non riuscita");
    }

private:
    QSaveFile &m_file;
    QStringEncoder m_encoder;
    QByteArray m_line;
};

// Repaints the bar, and lets the window breathe, a few dozen times a second rather than per record.
class ProgressPacer
{
public:
    explicit ProgressPacer(TransmissionProgress *progress) : m_progress(progress) { m_clock.start(); }
    void advance(int written)
    {
        if (m_clock.elapsed() < 30)
            return;
        m_clock.restart();
        if (m_progress)
            m_progress->setValue(written);
        ui().processEvents();
    }

private:
    TransmissionProgress *m_progress;
    QElapsedTimer m_clock;
};

} // namespace

QString TransmissionFileName(int anno, int progressivo)
{
    return QStringLiteral("TARVIDO_%1_%2.txt").arg(anno).arg(progressivo);
}

bool CheckEnteData()
{
    QString problems;
    if (DatiEnte.CodiceFiscale.size() != 11)
        problems += QStringLiteral("Codice Fiscale Ente non valido\r");
    if (DatiEnte.Denominazione.trimmed().isEmpty())
        problems += QStringLiteral("Denominazione Ente non valida\r");
    if (DatiEnte.Belfiore.trimmed().size() != 4)
        problems += QStringLiteral("Codice belfiore del Comune non valido\r");
    const TableCursor *richieste = dm->ttRICHIESTE;
    const qint64 applicant = richieste->isOpen() && richieste->key() != 0 ? richieste->integer(QStringLiteral("ID_RICHIEDENTE")) : 0;
    if (applicant <= 0)
        problems += QStringLiteral("Dati richiedente mancanti\r");
    if (problems.isEmpty())
        return true;
    Tdm::ShowMsg(QStringLiteral("Sono stati rilevati i seguenti problemi:\r") + problems);
    return false;
}

bool CreateTransmissionFile(TransmissionProgress *progress)
{
    Connection &db = dm->Database1.connection();
    TableCursor *denunce = dm->ttDENUNCE;

    // 1. Every natural person of the register, not only this communication's.
    if (CheckCodiciFiscali()
        && !ui().askYesNo(QStringLiteral("Problemi rilevati"), QStringLiteral("Si vuole continuare lo stesso ?"),
                          Ui::Icon::None, true))
        return false;

    // 2.
    const qint64 denuncia = denunce->key();
    const qint64 requests = db.scalar(QStringLiteral("SELECT count(*) FROM RICHIESTE WHERE ID_DENUNCIA = ?"), {denuncia})
                                .toLongLong();
    if (denuncia == 0 || requests == 0) {
        Tdm::ShowMsg(QStringLiteral("Non vi sono richieste da trasmettere nella comunicazione corrente"));
        return false;
    }

    // 3.
    const int anno = int(denunce->integer(QStringLiteral("ANNO")));
    const int progressivo = int(denunce->integer(QStringLiteral("PROGRESSIVO")));
    const QString folder = dm->AppPath + QStringLiteral("Trasmissioni");
    const QString finalPath = QDir(folder).filePath(TransmissionFileName(anno, progressivo));

    // 4.
    if (!QDir().mkpath(folder))
        return false;

    // 5. The records go to a temporary file beside the final one, which replaces the final file only
    // once every record is written: a refused or failed run leaves an earlier file as it was.
    QSaveFile file(finalPath);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error(QStringLiteral("Impossibile creare il file \"%1\": %2")
                                     .arg(QDir::toNativeSeparators(finalPath), file.errorString())
                                     .toStdString());

    bool written = false;
    {
        // 6.
        BusyCursor busy;

        // 7.
        if (!CheckEnteData()) {
            Tdm::ShowMsg(QStringLiteral("Operazione annullata"));
            return false;
        }
        const QString limits = TransmissionLimitsProblem(anno, progressivo, requests, DatiEnte.Cap);
        if (!limits.isEmpty()) {
            Tdm::ShowMsg(limits);
            return false;
        }

        try {
            RecordWriter out(file);
            TransmissionHeader h{anno, progressivo, 0, QDate::currentDate()};
            // 8.
            out.write(HeaderTrailerRecord(QLatin1Char('0'), DatiEnte, h));

            // 9.
            int count = 0;
            if (progress) {
                progress->setValue(0);
                progress->setMaximum(int(requests));
            }
            ProgressPacer pacer(progress);

            // 10. One streamed join: the request, its applicant and the applicant's municipality.
            Statement q(db, QString::fromLatin1(RequestsSql));
            q.bind(1, denuncia);
            TransmissionRequest request;
            TransmissionApplicant applicant;
            while (q.step()) {
                request.codice = q.value(0).toString();
                request.numero = q.value(1).toString();
                request.dataInizio = isoDate(q.value(2));
                request.dataFine = isoDate(q.value(3));
                const bool found = !q.value(4).isNull();
                if (found) {
                    applicant.tipo = q.value(5).toString();
                    applicant.cf = q.value(6).toString();
                    applicant.cognome = q.value(7).toString();
                    applicant.nome = q.value(8).toString();
                    applicant.sesso = q.value(9).toString();
                    applicant.dnascita = isoDate(q.value(10));
                    applicant.denominazione = q.value(11).toString();
                    if (q.value(12).isNull())
                        applicant.comune.reset();
                    else
                        applicant.comune = TransmissionComune{q.value(13).toString(), q.value(14).toString()};
                }
                QString problem;
                const QString record = DetailRecord(found ? &applicant : nullptr, request, progressivo, count, &problem);
                if (record.isEmpty()) {
                    Tdm::ShowMsg(problem);
                    return false;
                }
                out.write(record);
                ++count;
                pacer.advance(count);
            }
            if (progress)
                progress->setValue(count);

            // 11.
            h.detailCount = count;
            out.write(HeaderTrailerRecord(QLatin1Char('9'), DatiEnte, h));
            // 13. Only a file whose every byte reached the disk takes the final name.
            if (!file.commit())
                throw WriteError("salvataggio non riuscito");
            written = true;
        } catch (const std::exception &) {
            // 12.
            Tdm::ShowMsg(WriteFailed);
        }
    }
    if (!written)
        return false;

    // 14.
    const QString shownPath = QDir::toNativeSeparators(finalPath);
    denunce->edit();
    denunce->setFieldValue(QStringLiteral("NOME_FILE"), shownPath);
    denunce->setFieldValue(QStringLiteral("STATO"), QStringLiteral("C"));
    denunce->post();
    Tdm::ShowMsg(QStringLiteral("Il file è stato creato correttamente nella posizione: \r") + shownPath
                 + QStringLiteral("\rAdesso sarà aperta la cartella che contiene il file."));
    ui().openFileName(QStringLiteral("Apri"), folder, QStringLiteral("File di testo (*.txt)"));
    return true;
}
