#include "applicants/gui/RegisterAction.h"

namespace RegisterAction {
void Execute(QWidget *) {}
} // namespace RegisterAction
