#pragma once

class QWidget;

// actRicerca: the applicant search dialog.
namespace SearchAction {
inline constexpr bool Ready = true;
void Execute(QWidget *parent);
} // namespace SearchAction
