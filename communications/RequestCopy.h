#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class Connection;
class TableCursor;
class Tdm;
class TransmissionProgress;

// A communication that requests can be copied into: a row of the picker "Selezione Denuncia".
struct CopyDestination
{
    qint64 id = 0; // ID_DENUNCIA
    int anno = 0;
    QString descrizione;
    int progressivo = 0;
};

// The copy of requests from the current communication into another one of the same year.
//
// An instance is the second cursor on RICHIESTE ("T1"), open for one run and outside the master/detail
// link, so that the requests cursor bound to the source communication is not disturbed.
class RequestCopy
{
public:
    explicit RequestCopy(Tdm &data);
    ~RequestCopy();
    RequestCopy(const RequestCopy &) = delete;
    RequestCopy &operator=(const RequestCopy &) = delete;

    // Appends a copy of the request on which data.ttRICHIESTE stands into the communication
    // `destination` and saves it. Errors are not caught here.
    void CopyRequest(qint64 destination);

    // NUMERO of a copy: its digits without leading zeros ("" stays ""; blanks around are ignored).
    // Anything else than digits raises a DataError.
    static QString copiedNumber(const QString &numero);

    // The picker's list: the other communications of the year, by number.
    static QList<CopyDestination> destinations(Connection &connection, int anno, qint64 idDenuncia);
    // The picker's message before it shows its list.
    static QString pickerMessage(bool listEmpty);

    // "Copia in...": copies the requests `selected` (keys of dm->ttRICHIESTE, in the order of the
    // grid's selection) of dm's current communication into the communication that `pick` returns
    // (nullopt: the user cancelled), all in one transaction, advancing `progress` (may be null).
    // True when the copies were committed: the caller then clears the grid's selection.
    // After a failure the run is rolled back, its message shown, and the error raised again for the
    // default error display.
    static bool CopiaIn(const QList<qint64> &selected, const std::function<std::optional<qint64>()> &pick,
                        TransmissionProgress *progress);

    static const QString MsgSourceOpen;
    static const QString MsgNothingSelected;
    static const QString MsgDone;
    static const QString MsgFailed;

private:
    Tdm &m_data;
    std::unique_ptr<TableCursor> T1;
};
