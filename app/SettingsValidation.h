#pragma once

#include "data/Globals.h"

// The checks of the settings dialog's "Salva": the whole message listing every problem, in order,
// or an empty text when the data can be stored.
QString settingsProblems(const TDatiEnte &typed);
