#include "applicants/gui/SearchAction.h"

namespace SearchAction {
void Execute(QWidget *) {}
} // namespace SearchAction
