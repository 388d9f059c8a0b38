#pragma once

// Rows for the tests of the transmission file, the consistency check and their commands, written
// straight into the tables of an open data module.

#include "applicants/CodiceFiscale.h"
#include "data/Globals.h"
#include "data/Tdm.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QVariant>
#include <optional>

namespace TransmissionData {

inline QVariant dateValue(const QDate &d)
{
    return d.isValid() ? QVariant(d.toString(Qt::ISODate)) : QVariant();
}

inline Connection &db(Tdm &data)
{
    return data.Database1.connection();
}

// A municipality of the delivered table.
inline qint64 comune(Tdm &data, const QString &codice, const QString &nome)
{
    return db(data).scalar("SELECT ID FROM COMUNI WHERE CODICE = ? AND NOME = ?", {codice, nome}).toLongLong();
}

inline qint64 roma(Tdm &data)
{
    return comune(data, "H501", "ROMA");
}

// 37 characters: cut to 35 in the file.
inline qint64 castelvecchio(Tdm &data)
{
    return comune(data, "C277", "CASTELVECCHIO DI SANTA MARIA MAGGIORE");
}

// The code the check computes for these data (a missing date counts as 30/12/1899).
inline QString computedCf(Tdm &data, const QString &cognome, const QString &nome, const QString &sesso,
                          const QDate &nascita, qint64 comuneId)
{
    const QString belfiore = db(data).scalar("SELECT CODICE FROM COMUNI WHERE ID = ?", {comuneId}).toString();
    const QDate d = nascita.isValid() ? nascita : zeroDate();
    return ComputeCodiceFiscale(cognome, nome, sesso, d.toString("dd/MM/yy"), belfiore);
}

// A natural person; without `cf` the stored code is the computed one.
inline qint64 addPerson(Tdm &data, const QString &cognome, const QString &nome, const QString &sesso,
                        const QDate &nascita, const QVariant &comuneId, std::optional<QString> cf = std::nullopt)
{
    const QString code = cf ? *cf : computedCf(data, cognome, nome, sesso, nascita, comuneId.toLongLong());
    db(data).exec("INSERT INTO RICHIEDENTI (TIPO_RICHIEDENTE, PERS_CF, PERS_COGNOME, PERS_NOME, PERS_SESSO, "
                  "PERS_DNASCITA, ID_COMUNE) VALUES ('P', ?, ?, ?, ?, ?, ?)",
                  {code, cognome, nome, sesso, dateValue(nascita), comuneId});
    return db(data).lastInsertId();
}

inline qint64 addApplicant(Tdm &data, const QString &tipo, const QString &cf, const QString &denominazione,
                           const QVariant &sede)
{
    db(data).exec("INSERT INTO RICHIEDENTI (TIPO_RICHIEDENTE, PERS_CF, DENOMINAZIONE, ID_COMUNE_SEDE) "
                  "VALUES (?, ?, ?, ?)",
                  {tipo, cf, denominazione, sede});
    return db(data).lastInsertId();
}

inline qint64 addCompany(Tdm &data, const QString &piva, const QString &denominazione, const QVariant &sede)
{
    return addApplicant(data, "A", piva, denominazione, sede);
}

inline qint64 addDenuncia(Tdm &data, int anno, int progressivo, const QString &stato = "A",
                          const QString &nomeFile = QString())
{
    db(data).exec("INSERT INTO DENUNCE (ANNO, PROGRESSIVO, DESCRIZIONE, DATA_CREAZIONE, STATO, NOME_FILE) "
                  "VALUES (?, ?, 'PROVA', '2008-01-02', ?, ?)",
                  {anno, progressivo, stato, nomeFile.isNull() ? QVariant() : QVariant(nomeFile)});
    return db(data).lastInsertId();
}

inline qint64 addRichiesta(Tdm &data, qint64 denuncia, const QVariant &richiedente, const QString &codice = "01",
                           const QString &numero = "1", const QDate &inizio = QDate(2008, 1, 1),
                           const QDate &fine = QDate(2008, 12, 31))
{
    db(data).exec("INSERT INTO RICHIESTE (ID_RICHIEDENTE, DATA_INIZIO, DATA_FINE, DATA_CREAZIONE, NUM_TRASM, "
                  "ID_DENUNCIA, CODICE, NUMERO, PADRE) VALUES (?, ?, ?, '2008-01-02', 1, ?, ?, ?, 0)",
                  {richiedente, dateValue(inizio), dateValue(fine), denuncia, codice, numero});
    return db(data).lastInsertId();
}

// Makes the communication current, standing on its first request.
inline void select(Tdm &data, qint64 denuncia)
{
    data.ttDENUNCE->first();
    data.ttDENUNCE->moveToKey(denuncia);
    data.ttRICHIESTE->first();
}

// Settings of a public body that pass every check.
inline void setEnte()
{
    DatiEnte = TDatiEnte{};
    DatiEnte.CodiceFiscale = "00123456789";
    DatiEnte.Denominazione = "COMUNE DI PROVA";
    DatiEnte.Citta = "PROVA";
    DatiEnte.Provincia = "RM";
    DatiEnte.Indirizzo = "PIAZZA DEL MUNICIPIO 1";
    DatiEnte.Cap = "00185";
    DatiEnte.Belfiore = "H501";
}

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace TransmissionData
