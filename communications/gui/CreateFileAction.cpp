#include "communications/gui/CreateFileAction.h"
#include "communications/gui/BarProgress.h"

#include "communications/TransmissionFile.h"
#include "communications/gui/TdlgDenunce.h"

#include <QEvent>
#include <QKeyEvent>
#include <QProgressBar>

namespace {

// While the file is written the loop lets the window process its events: nothing else of the window
// may run meanwhile, and it may not close under the running creation.
class RunGuard final : public QObject
{
public:
    explicit RunGuard(TdlgDenunce &window) : m_window(window)
    {
        m_window.setBusy(true);
        m_window.installEventFilter(this);
    }
    ~RunGuard() override
    {
        m_window.removeEventFilter(this);
        m_window.setBusy(false);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == &m_window) {
            if (event->type() == QEvent::Close) {
                event->ignore();
                return true;
            }
            if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape)
                return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    TdlgDenunce &m_window;
};

} // namespace

namespace CreateFileAction {

void Run(TdlgDenunce &window)
{
    RunGuard guard(window);
    BarProgress progress(window.progressBar());
    CreateTransmissionFile(&progress);
}

} // namespace CreateFileAction
