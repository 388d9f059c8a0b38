#pragma once

class TdlgDenunce;

namespace CreateFileAction {
// "Crea file" of the communication window: creates the transmission file of dm's current communication
// with the window's progress bar. The window's commands are disabled, and the window cannot be closed,
// until the run ends however it ends.
void Run(TdlgDenunce &window);
} // namespace CreateFileAction
