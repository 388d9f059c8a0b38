#pragma once

#include <QString>

class Report;
class Tdm;

// The printouts of a communication (template "denuncia") and of the applicant register (template
// "richiedenti"). Each data set is read with one query, joins included, however many rows it has.
//
// Variables of "denuncia": ENTE, NOME_DENUNCIA, ANNUALITA, PROGRESSIVO, STATO. Its rows: every stored
// field of RICHIESTE, the lookups lkCodFisRich, lkCognomeRich, lkNomeRich, lkSessoRich, lkDnascitaRich,
// lkCOMUNE, lkDenominazione, lkComune_Sede, and NOMINATIVO (surname and name of a natural person,
// the denomination otherwise).
// Variables of "richiedenti": ENTE. Its rows: every stored field of RICHIEDENTI, lkCOMUNE,
// lkComune_sede, CDENOM, and LUOGO / PROV_LUOGO (birth place and its province for a natural person,
// the seat and its province otherwise).
class Printouts
{
public:
    // STATO as printed: "Aperta", "File Creato", "Trasmessa", "" for any other value.
    static QString stateLabel(const QString &stato);

    // The variables and rows of the current communication of data.ttDENUNCE (no template loaded).
    static void fillCommunication(Report &report, Tdm &data);
    // The variables and rows of the whole register.
    static void fillRichiedenti(Report &report, Tdm &data);

    // "Stampa" of the communication window and of the register: the preview of dm's data. A missing
    // template is reported naming its file. True when the preview was shown.
    static bool PrintCommunication();
    static bool PrintRichiedenti();
};
