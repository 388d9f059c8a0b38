#include "applicants/gui/SearchAction.h"

#include "applicants/gui/TdlgRicerca.h"

namespace SearchAction {
void Execute(QWidget *parent)
{
    TdlgRicerca dlg(parent);
    dlg.exec();
}
} // namespace SearchAction
