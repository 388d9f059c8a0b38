#pragma once

#include "communications/Communications.h"

#include <QDialog>
#include <functional>

class QAction;
class QProgressBar;
class QTableView;
class QToolButton;
class RequestsModel;

// The communication window: the requests of the current communication of dm->ttDENUNCE and the
// commands on them. The grid's focused row is dm->ttRICHIESTE's current row.
//
// The request dialog, the copy, the printout and the file creation plug in through hooks(): assign
// the function once at start-up, e.g. in installDefaultHooks() (TdlgDenunce.cpp), one line each:
//     TdlgDenunce::hooks().createFile = [](TdlgDenunce &w) { ...w.progressBar()... };
// A command whose hook is empty stays disabled. Each hook runs inside the default error display
// (guarded): an exception ends it with a message.
class TdlgDenunce : public QDialog
{
    Q_OBJECT
public:
    struct Hooks
    {
        // "Nuova" and "Modifica": shows TdlgRichiesta modally on dm->ttRICHIESTE's current row, which
        // the window has put into insert or edit state inside a transaction that the dialog commits or
        // rolls back (a transaction still open when it returns is rolled back).
        std::function<void(TdlgDenunce &)> requestDialog;
        // "Copia in...": selectedRequestKeys() are the requests to copy.
        std::function<void(TdlgDenunce &)> copy;
        // "Stampa".
        std::function<void(TdlgDenunce &)> print;
        // "Crea file": progressBar() shows the progress.
        std::function<void(TdlgDenunce &)> createFile;
    };
    static Hooks &hooks();

    explicit TdlgDenunce(QWidget *parent = nullptr);

    // The ID_RICHIESTA of the selected rows (CTRL + click adds rows), in the grid's order.
    QList<qint64> selectedRequestKeys() const;
    // The ID_RICHIESTA of the focused row, 0 when there is none.
    qint64 focusedRequestKey() const;
    QProgressBar *progressBar() const { return m_progress; }
    QTableView *grid() const { return m_grid; }
    RequestsModel *model() const { return m_model; }
    // While a long operation runs every command is disabled and the window does not close (neither
    // Esc nor the close box); false enables them again by state.
    void setBusy(bool busy);
    bool isBusy() const { return m_busy; }
    // Enables the commands for the communication's state (after an operation changed it).
    void refreshCommands();

public slots:
    void nuova();
    void modifica();
    void elimina();
    void copiaIn();
    void stampa();
    void creaFile();
    void infoFile();
    void segnaTrasmessa();
    void annullaTrasmissione();
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QToolButton *addButton(const QString &name, const QString &text, int icon);
    void runRequestDialog(bool insert);
    void runHook(const std::function<void(TdlgDenunce &)> &hook);
    void currentRowChanged();
    void followCursor();

    RequestsModel *m_model = nullptr;
    QTableView *m_grid = nullptr;
    QProgressBar *m_progress = nullptr;
    QToolButton *m_nuova = nullptr, *m_modifica = nullptr, *m_elimina = nullptr, *m_copia = nullptr, *m_stampa = nullptr,
                *m_creaFile = nullptr, *m_info = nullptr, *m_trasmessa = nullptr, *m_nonTrasmessa = nullptr,
                *m_uscita = nullptr;
    QAction *m_trasmessaAction = nullptr, *m_nonTrasmessaAction = nullptr;
    Hooks m_hooks;
    bool m_busy = false;
    int m_lastRow = 0;
};
