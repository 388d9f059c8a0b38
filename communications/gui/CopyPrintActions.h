#pragma once

#include <QList>
#include <functional>

class QProgressBar;
class QWidget;
class TdlgDenunce;

// The buttons "Copia in..." and "Stampa" of the communication window, and "Stampa" of the register.
namespace CopyPrintActions {
inline constexpr bool Ready = true;

// "Copia in..." of the communication window: its selected requests, its bar, its busy switch.
void CopiaIn(TdlgDenunce &window);
// The same for any window: copies the requests `selectedKeys` (in the order of the selection) of the
// current communication into the one chosen in "Selezione Denuncia", showing the run on `bar`.
// setBusy(true/false) disables and re-enables the window around the run; clearSelection is called
// once the copies are saved. A failure reaches the default error display after the copy's message.
void CopySelected(QWidget *parent, const QList<qint64> &selectedKeys, QProgressBar *bar,
                  const std::function<void(bool)> &setBusy, const std::function<void()> &clearSelection);

// "Stampa" of the communication window: the preview of the current communication.
void Stampa(TdlgDenunce &window);
// "Stampa" of the applicant register: the preview of the whole register.
void StampaRichiedenti(QWidget *parent);
} // namespace CopyPrintActions
