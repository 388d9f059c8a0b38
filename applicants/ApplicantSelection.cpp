#include "applicants/ApplicantSelection.h"

#include "applicants/ApplicantSelectionDialog.h"
#include "data/Globals.h"
#include "data/PagedQueryModel.h"

void ApplicantSelection::SelectRichiedente(ApplicantSelectionDialog &dialog)
{
    Ricerca.ID = 0;
    dialog.showSelection();
}

bool ApplicantSelection::choose(const PagedQueryModel &list, int row)
{
    if (list.rowCount() == 0 || row < 0)
        return false;
    const qint64 id = list.keyAt(row);
    if (id <= 0)
        return false;
    Ricerca.ID = id;
    return true;
}

void ApplicantSelection::cancel()
{
    Ricerca.ID = 0;
}
