#pragma once

#include <QtGlobal>

class ApplicantSelectionDialog;
class PagedQueryModel;

// Picking an applicant from the whole register; the choice is left in the global Ricerca.
class ApplicantSelection
{
public:
    // Sets Ricerca.ID to 0 and shows the selection dialog; the caller then reads Ricerca.ID.
    static void SelectRichiedente(ApplicantSelectionDialog &dialog);
    // "Seleziona" or a double click on the list: the key of that row into Ricerca.ID. False, and
    // nothing changed, when the list is empty or no row is current: the dialog stays open.
    static bool choose(const PagedQueryModel &list, int row);
    // "Annulla" and any other close.
    static void cancel();
};
