#pragma once

#include "data/Globals.h"

// What the main window does once it is first shown, decided from the settings of the last run.
struct StartupPlan
{
    bool askUpdate = false;         // seven or more days since the previous start
    bool openSettings = false;      // first run, or no cadastral code of the public body
    bool incompleteMessage = false; // otherwise, no denomination: "I dati dell'Ente non sono completi."
};

StartupPlan planStartup(int today, int provaUpdate, bool primaEsecuzione, const TDatiEnte &ente);
