#include "communications/gui/CopyPrintActions.h"
#include "communications/gui/BarProgress.h"

#include "communications/Printouts.h"
#include "communications/RequestCopy.h"
#include "communications/TransmissionFile.h"
#include "communications/gui/TdlgDenunce.h"
#include "communications/gui/TdlgSelDenuncia.h"
#include "data/Ui.h"

#include <QProgressBar>
#include <QTableView>

void CopyPrintActions::CopiaIn(TdlgDenunce &window)
{
    CopySelected(&window, window.selectedRequestKeys(), window.progressBar(),
                 [&window](bool busy) { window.setBusy(busy); }, [&window] { window.grid()->clearSelection(); });
}

void CopyPrintActions::CopySelected(QWidget *parent, const QList<qint64> &selectedKeys, QProgressBar *bar,
                                    const std::function<void(bool)> &setBusy,
                                    const std::function<void()> &clearSelection)
{
    BarProgress progress(bar);
    auto pick = [parent]() -> std::optional<qint64> {
        TdlgSelDenuncia picker(parent);
        if (picker.exec() != QDialog::Accepted)
            return std::nullopt;
        return picker.DestinationId;
    };
    bool busy = false;
    auto release = [&] {
        if (busy && setBusy)
            setBusy(false);
        busy = false;
    };
    guarded([&] {
        try {
            const bool copied = RequestCopy::CopiaIn(selectedKeys, [&]() -> std::optional<qint64> {
                const auto chosen = pick();
                if (chosen && setBusy) {
                    setBusy(true);
                    busy = true;
                }
                return chosen;
            }, &progress);
            release();
            if (copied && clearSelection)
                clearSelection();
        } catch (...) {
            release();
            throw;
        }
    });
}

void CopyPrintActions::Stampa(TdlgDenunce &)
{
    guarded([] { Printouts::PrintCommunication(); });
}

void CopyPrintActions::StampaRichiedenti(QWidget *)
{
    guarded([] { Printouts::PrintRichiedenti(); });
}
