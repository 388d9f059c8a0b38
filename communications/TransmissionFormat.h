#pragma once

#include "data/Globals.h"

#include <QDate>
#include <QString>
#include <optional>
#include <stdexcept>

// The fixed-format records of the transmission file: 200 characters each, assembled from four field
// formatters. Pure functions over plain records: no table, no Ui. Widths count characters; the writer
// turns them into Windows-1252 bytes.

// Raised when a record cannot be built (a Cap that is not a whole number).
class TransmissionFormatError : public std::runtime_error
{
public:
    explicit TransmissionFormatError(const QString &message) : std::runtime_error(message.toStdString()) {}
};

// Left-aligned text, cut to the width or padded with spaces.
QString AlphaField(const QString &text, int width);
// Right-aligned digits padded with "0"; any non-digit among the first `width` characters gives all zeros.
QString DigitsField(const QString &text, int width);
// The decimal form padded with "0" to at least `width` characters; never cut.
QString NumberField(qint64 value, int width);
// "ddmmyyyy" for a date after 30/12/1899, eight spaces otherwise (a null date included).
QString DateField(const QDate &date);

// The public body's postal code read as a whole number: digits only, no sign, no spaces.
// Raises TransmissionFormatError otherwise.
int CapNumber(const QString &cap);

// What a header or trailer carries besides the public body's settings.
struct TransmissionHeader
{
    int anno = 0;
    int progressivo = 0;
    int detailCount = 0; // trailer only: detail records written
    QDate today;
};

// kind "0" builds the header; any other character builds the trailer with it in column 1.
QString HeaderTrailerRecord(QChar kind, const TDatiEnte &ente, const TransmissionHeader &h);

// A municipality row: COMUNI.NOME and COMUNI.PROV.
struct TransmissionComune
{
    QString nome;
    QString prov;
};

// The applicant's row of RICHIEDENTI and the municipality it refers to (birth for "P", seat for "A").
struct TransmissionApplicant
{
    QString tipo; // TIPO_RICHIEDENTE
    QString cf;
    QString cognome;
    QString nome;
    QString sesso;
    QDate dnascita;
    QString denominazione;
    std::optional<TransmissionComune> comune; // empty when ID_COMUNE / ID_COMUNE_SEDE matches no row
};

// The request's own fields.
struct TransmissionRequest
{
    QString codice;
    QString numero;
    QDate dataInizio;
    QDate dataFine;
};

inline const QString ApplicantNotFound = QStringLiteral("Richiedente non trovato in archivio");
inline const QString ApplicantTypeUnknown = QStringLiteral("Tipo richiedente non riconosciuto");

// Columns 2 to 114 of a detail record (113 characters). A null applicant means "not in the register".
// Returns an empty text and sets *problem to the message to show when the block cannot be built.
QString ApplicantBlock(const TransmissionApplicant *applicant, QString *problem);

// The detail record of one request; `written` is the number of detail records written before it.
// Empty, with *problem set, when the applicant block cannot be built.
QString DetailRecord(const TransmissionApplicant *applicant, const TransmissionRequest &request, int progressivo,
                     int written, QString *problem);

// The numeric fields fix the limits of the data: a value wider than its field would make a record
// longer than 200 characters. Returns the message refusing the first value that does not fit, or an
// empty text. `cap` is checked only when it is a whole number (otherwise the header fails).
QString TransmissionLimitsProblem(int anno, int progressivo, qint64 requestCount, const QString &cap);
