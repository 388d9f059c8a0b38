#pragma once

#include <QString>

// Communications: the rows of DENUNCE, their numbering within a year and their states "A" (open),
// "C" (file created) and "T" (transmitted). Everything works on the data module `dm`; the current
// communication is the row on which dm->ttDENUNCE stands.
class Communications
{
public:
    // The number the next communication of the year gets: the highest of that year, of any state, plus 1.
    static int NextProgressivo(int anno);
    // Appends an open communication of the year with the next number; the cursor then stands on it.
    // False, and nothing changed, while the year has a communication in "A".
    static bool NewCommunication(int anno);
    static QString description(int progressivo, int anno); // "Comunicazione n. %d / %d"

    // The current communication's state and file, "" when DENUNCE is empty or closed.
    static QString currentState();

    // "Info sul file" as a function of the state, the stored path and whether a file is there.
    static QString fileInfoText(const QString &stato, const QString &nomeFile, bool fileExists);
    // Shows "Info sul file" of the current communication.
    static void InfoSulFile();

    // Marks the current communication, in "C", as transmitted, after a question; true when it changed.
    static bool MarkTransmitted();
    // Takes the current communication, in "T", back to "C" after a question; true when it changed.
    static bool MarkNotTransmitted();

    // "Elimina" of the communication window: after the question, deletes the current request of
    // dm->ttRICHIESTE. Nothing on an empty communication. True when a request was deleted.
    static bool DeleteCurrentRequest();

    // "Nuova" and "Modifica" of the communication window up to the request dialog: start a transaction
    // and put a new row, or the current request, into insert or edit state. BeginEditRequest does
    // nothing, and returns false, on an empty communication. The request dialog commits or rolls back.
    static void BeginNewRequest();
    static bool BeginEditRequest();
    // After the request dialog: a transaction it left open is rolled back and the row cancelled, so a
    // failure inside the dialog never leaves the database locked.
    static void EndRequestDialog();

    static QString stateLabel(const QString &stato); // "Aperta", "Creata", "Trasmessa", "" otherwise
};

// Which commands of the communication window are enabled.
struct CommunicationCommands
{
    bool nuova = false;
    bool modifica = false;
    bool elimina = false;
    bool copiaIn = false;
    bool stampa = false;
    bool creaFile = false;
    bool info = false;
    bool uscita = false;
    bool trasmessa = false;    // mark "C" as transmitted
    bool nonTrasmessa = false; // take "T" back to "C"

    // What is wired in this build: the commands whose work another part of the program provides.
    struct Wired
    {
        bool requestDialog = false; // "Nuova", "Modifica"
        bool copy = false;          // "Copia in..."
        bool print = false;         // "Stampa"
        bool createFile = false;    // "Crea file"
    };

    // By state: "Copia in..." only once the file was created ("C" or "T"); "T" offered only in "C" and
    // the way back only in "T"; nothing while a long operation runs.
    static CommunicationCommands forState(const QString &stato, const Wired &wired, bool busy);
};
