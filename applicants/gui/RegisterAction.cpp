#include "applicants/gui/RegisterAction.h"

#include "applicants/gui/TfrmRichPers.h"

namespace RegisterAction {
void Execute(QWidget *parent)
{
    TfrmRichPers register_(parent);
    register_.exec();
}
} // namespace RegisterAction
