#pragma once

class QWidget;

// actRichiedenti: the applicant register window.
namespace RegisterAction {
inline constexpr bool Ready = true;
void Execute(QWidget *parent);
} // namespace RegisterAction
