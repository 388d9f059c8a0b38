#include "communications/TransmissionFormat.h"

namespace {

// The record builders append in place: a file of many records should not allocate per field.
void appendAlpha(QString &out, const QString &text, int width)
{
    const qsizetype n = std::min<qsizetype>(text.size(), width);
    out.append(QStringView(text).left(n));
    out.append(QString(width - n, QLatin1Char(' ')));
}

void appendSpaces(QString &out, int width)
{
    for (int i = 0; i < width; ++i)
        out.append(QLatin1Char(' '));
}

void appendDigits(QString &out, const QString &text, int width)
{
    const QStringView piece = QStringView(text).left(width);
    bool digits = true;
    for (QChar c : piece) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            digits = false;
            break;
        }
    }
    const qsizetype kept = digits ? piece.size() : 0;
    for (qsizetype i = kept; i < width; ++i)
        out.append(QLatin1Char('0'));
    if (kept)
        out.append(piece);
}

void appendNumber(QString &out, qint64 value, int width)
{
    char buf[24];
    int n = 0;
    const bool negative = value < 0;
    quint64 v = negative ? quint64(0) - quint64(value) : quint64(value);
    do {
        buf[n++] = char('0' + v % 10);
        v /= 10;
    } while (v);
    // The sign counts in the width, as the plain decimal form would.
    for (int i = n + (negative ? 1 : 0); i < width; ++i)
        out.append(QLatin1Char('0'));
    if (negative)
        out.append(QLatin1Char('-'));
    while (n)
        out.append(QLatin1Char(buf[--n]));
}

void appendTwo(QString &out, int v)
{
    out.append(QLatin1Char(char('0' + v / 10)));
    out.append(QLatin1Char(char('0' + v % 10)));
}

void appendDate(QString &out, const QDate &date)
{
    if (!isGivenDate(date)) {
        appendSpaces(out, 8);
        return;
    }
    int y = 0, m = 0, d = 0;
    date.getDate(&y, &m, &d);
    appendTwo(out, d);
    appendTwo(out, m);
    appendNumber(out, y, 4);
}

void appendComune(QString &out, const std::optional<TransmissionComune> &comune)
{
    if (comune) {
        appendAlpha(out, comune->nome, 35);
        appendAlpha(out, comune->prov, 2);
    } else {
        appendSpaces(out, 37);
    }
}

bool appendApplicant(QString &out, const TransmissionApplicant *a, QString *problem)
{
    if (!a) {
        if (problem)
            *problem = ApplicantNotFound;
        return false;
    }
    if (a->tipo != QLatin1String("A") && a->tipo != QLatin1String("P")) {
        if (problem)
            *problem = ApplicantTypeUnknown;
        return false;
    }
    appendAlpha(out, a->cf, 16);
    if (a->tipo == QLatin1String("A")) {
        appendAlpha(out, a->denominazione, 60);
    } else {
        appendAlpha(out, a->cognome, 26);
        appendAlpha(out, a->nome, 25);
        appendAlpha(out, a->sesso, 1);
        appendDate(out, a->dnascita);
    }
    appendComune(out, a->comune);
    return true;
}

bool isWholeNumber(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

} // namespace

QString AlphaField(const QString &text, int width)
{
    QString out;
    out.reserve(width);
    appendAlpha(out, text, width);
    return out;
}

QString DigitsField(const QString &text, int width)
{
    QString out;
    out.reserve(width);
    appendDigits(out, text, width);
    return out;
}

QString NumberField(qint64 value, int width)
{
    QString out;
    appendNumber(out, value, width);
    return out;
}

QString DateField(const QDate &date)
{
    QString out;
    out.reserve(8);
    appendDate(out, date);
    return out;
}

int CapNumber(const QString &cap)
{
    bool ok = false;
    const int value = isWholeNumber(cap) ? cap.toInt(&ok) : 0;
    if (!ok)
        throw TransmissionFormatError(QStringLiteral("\"%1\" non è un CAP valido").arg(cap));
    return value;
}

QString HeaderTrailerRecord(QChar kind, const TDatiEnte &ente, const TransmissionHeader &h)
{
    const bool header = kind == QLatin1Char('0');
    QString out;
    out.reserve(200);
    out.append(kind);
    appendAlpha(out, ente.CodiceFiscale, 11);
    appendAlpha(out, ente.Denominazione, 60);
    appendAlpha(out, ente.Citta, 35);
    appendAlpha(out, ente.Provincia, 2);
    appendAlpha(out, ente.Indirizzo, 35);
    appendNumber(out, CapNumber(ente.Cap), 5);
    out.append(QLatin1String("03"));
    if (!header)
        appendNumber(out, h.detailCount, 7);
    appendNumber(out, h.anno, 4);
    out.append(QLatin1String("CC2006"));
    appendNumber(out, h.progressivo, 3);
    appendDate(out, h.today);
    out.append(QLatin1Char('O'));
    appendSpaces(out, header ? 27 : 20);
    return out;
}

QString ApplicantBlock(const TransmissionApplicant *applicant, QString *problem)
{
    QString out;
    out.reserve(113);
    if (!appendApplicant(out, applicant, problem))
        return QString();
    return out;
}

QString DetailRecord(const TransmissionApplicant *applicant, const TransmissionRequest &request, int progressivo,
                     int written, QString *problem)
{
    QString out;
    out.reserve(200);
    out.append(QLatin1Char('1'));
    if (!appendApplicant(out, applicant, problem))
        return QString();
    appendAlpha(out, request.codice, 2);
    appendDigits(out, request.numero, 16);
    appendDate(out, request.dataInizio);
    appendDate(out, request.dataFine);
    out.append(QLatin1String("2006"));
    appendNumber(out, progressivo, 3);
    appendNumber(out, written, 6);
    appendSpaces(out, 39);
    return out;
}

QString TransmissionLimitsProblem(int anno, int progressivo, qint64 requestCount, const QString &cap)
{
    const QString heading = QStringLiteral("Impossibile creare il file: ");
    if (anno < 0 || anno > 9999)
        return heading + QStringLiteral("l'anno della comunicazione (%1) non sta nelle 4 cifre del tracciato.").arg(anno);
    if (progressivo < 0 || progressivo > 999)
        return heading
               + QStringLiteral("il numero della comunicazione (%1) non sta nelle 3 cifre del tracciato.").arg(progressivo);
    if (requestCount > 999999)
        return heading
               + QStringLiteral("la comunicazione contiene %1 richieste, il tracciato ne ammette al massimo 999999.")
                     .arg(requestCount);
    bool ok = false;
    const int capValue = isWholeNumber(cap) ? cap.toInt(&ok) : 0;
    if (ok && capValue > 99999)
        return heading + QStringLiteral("il CAP dell'ente (%1) non sta nelle 5 cifre del tracciato.").arg(cap);
    return QString();
}
