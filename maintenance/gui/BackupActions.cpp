#include "maintenance/gui/BackupActions.h"

namespace BackupActions {
void Salvataggio(QWidget *) {}
void Ripristino(QWidget *) {}
void Riparazione(QWidget *) {}
} // namespace BackupActions
