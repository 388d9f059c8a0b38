#pragma once

class QWidget;

// actSalvataggio, actRipristino, actRiparazione: each closes the database, runs its dialog and
// opens the database again with the automatic repair, however the dialog ends.
namespace BackupActions {
inline constexpr bool Ready = true;
void Salvataggio(QWidget *parent);
void Ripristino(QWidget *parent);
void Riparazione(QWidget *parent);
} // namespace BackupActions
