#include "communications/TransmissionFile.h"

#include "applicants/ConsistencyCheck.h"
#include "communications/TransmissionFormat.h"
#include "data/Database.h"
#include "data/Tdm.h"
#include "data/Ui.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSaveFile>

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

// "YYYY-MM-DD" as stored; anything else is a missing date.
QDate isoDate(QByteArrayView d)
{
    if (d.size() != 10 || d[4] != '-' || d[7] != '-')
        return QDate();
    int v[3] = {0, 0, 0};
    const int from[3] = {0, 5, 8}, len[3] = {4, 2, 2};
    for (int f = 0; f < 3; ++f) {
        for (int i = from[f]; i < from[f] + len[f]; ++i) {
            if (d[i] < '0' || d[i] > '9')
                return QDate();
            v[f] = v[f] * 10 + (d[i] - '0');
        }
    }
    return QDate(v[0], v[1], v[2]);
}

// Reuses the string's buffer: the loop over the requests should not allocate per field.
void assignUtf8(QString &out, QByteArrayView utf8)
{
    for (char c : utf8) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            out = QString::fromUtf8(utf8);
            return;
        }
    }
    out.resize(utf8.size());
    QChar *p = out.data();
    for (char c : utf8)
        *p++ = QLatin1Char(c);
}

// Windows-1252: 0x00-0x7F and 0xA0-0xFF are the same code points; 0x80-0x9F hold these.
char16_t const Cp1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                  0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Writes records as Windows-1252 lines ended by CR LF, one byte per character.
class RecordWriter
{
public:
    explicit RecordWriter(QSaveFile &file) : m_file(file) {}

    void write(const QString &record)
    {
        m_line.resize(record.size() + 2);
        char *out = m_line.data();
        for (QChar ch : record) {
            const char16_t u = ch.unicode();
            if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
                *out++ = char(u);
                continue;
            }
            int b = 0;
            while (b < 32 && Cp1252High[b] != u)
                ++b;
            if (b == 32)
                throw WriteError("carattere non rappresentabile");
            *out++ = char(0x80 + b);
        }
        *out++ = '\r';
        *out++ = '\n';
        if (m_file.write(m_line) != m_line.size())
            throw WriteError("scrittura non riuscita");
    }

private:
    QSaveFile &m_file;
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
                assignUtf8(request.codice, q.utf8(0));
                assignUtf8(request.numero, q.utf8(1));
                request.dataInizio = isoDate(q.utf8(2));
                request.dataFine = isoDate(q.utf8(3));
                const bool found = !q.isNull(4);
                if (found) {
                    assignUtf8(applicant.tipo, q.utf8(5));
                    assignUtf8(applicant.cf, q.utf8(6));
                    assignUtf8(applicant.cognome, q.utf8(7));
                    assignUtf8(applicant.nome, q.utf8(8));
                    assignUtf8(applicant.sesso, q.utf8(9));
                    applicant.dnascita = isoDate(q.utf8(10));
                    assignUtf8(applicant.denominazione, q.utf8(11));
                    if (q.isNull(12)) {
                        applicant.comune.reset();
                    } else {
                        if (!applicant.comune)
                            applicant.comune.emplace();
                        assignUtf8(applicant.comune->nome, q.utf8(13));
                        assignUtf8(applicant.comune->prov, q.utf8(14));
                    }
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
