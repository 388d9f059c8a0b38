#include "communications/gui/TdlgDenunce.h"

#include "applicants/gui/TdlgRichiesta.h"
#include "communications/RequestsModel.h"
#include "communications/gui/CopyPrintActions.h"
#include "communications/gui/CreateFileAction.h"
#include "data/Tdm.h"
#include "data/Ui.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QProgressBar>
#include <QShowEvent>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Where the other parts of the program wire their commands, one line each.
TdlgDenunce::Hooks installDefaultHooks()
{
    TdlgDenunce::Hooks h;
    h.copy = &CopyPrintActions::CopiaIn;
    h.print = &CopyPrintActions::Stampa;
    h.createFile = &CreateFileAction::Run;
    h.requestDialog = [](TdlgDenunce &w) { TdlgRichiesta(&w).exec(); };
    return h;
}

} // namespace

TdlgDenunce::Hooks &TdlgDenunce::hooks()
{
    static Hooks h = installDefaultHooks();
    return h;
}

TdlgDenunce::TdlgDenunce(QWidget *parent) : QDialog(parent), m_hooks(hooks())
{
    setObjectName(QStringLiteral("dlgDenunce"));
    auto *layout = new QVBoxLayout(this);
    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("toolbar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->setIconSize(QSize(24, 24));
    layout->addWidget(bar);
    auto add = [&](const QString &name, const QString &text, QStyle::StandardPixmap icon, const QString &tip) {
        auto *b = new QToolButton(bar);
        b->setObjectName(name);
        b->setText(text);
        b->setIcon(style()->standardIcon(icon));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setToolTip(tip);
        b->setMinimumWidth(76);
        b->setFocusPolicy(Qt::NoFocus);
        QAction *a = bar->addWidget(b);
        if (name == QLatin1String("bTrasmessa"))
            m_trasmessaAction = a;
        else if (name == QLatin1String("bNonTrasmessa"))
            m_nonTrasmessaAction = a;
        return b;
    };
    m_nuova = add(QStringLiteral("bNuovaRich"), QStringLiteral("Nuova"), QStyle::SP_FileIcon, QStringLiteral("Nuova richiesta"));
    m_modifica = add(QStringLiteral("bEditRich"), QStringLiteral("Modifica"), QStyle::SP_FileDialogDetailedView,
                     QStringLiteral("Modifica la richiesta selezionata"));
    m_elimina = add(QStringLiteral("bElimRich"), QStringLiteral("Elimina"), QStyle::SP_TrashIcon,
                    QStringLiteral("Elimina la richiesta selezionata"));
    bar->addSeparator();
    m_copia = add(QStringLiteral("bCopiaIn"), QStringLiteral("Copia in..."), QStyle::SP_ArrowForward,
                  QStringLiteral("Copia le richieste selezionate in un'altra comunicazione dello stesso anno"));
    m_stampa = add(QStringLiteral("bStampa"), QStringLiteral("Stampa"), QStyle::SP_FileDialogContentsView,
                   QStringLiteral("Stampa la comunicazione"));
    m_creaFile = add(QStringLiteral("bCreaFile"), QStringLiteral("Crea file"), QStyle::SP_DriveFDIcon,
                     QStringLiteral("Crea il file da trasmettere all'Agenzia delle Entrate"));
    m_info = add(QStringLiteral("bInfo"), QStringLiteral("Info sul file"), QStyle::SP_MessageBoxInformation,
                 QStringLiteral("Stato del file della comunicazione"));
    bar->addSeparator();
    m_trasmessa = add(QStringLiteral("bTrasmessa"), QStringLiteral("Segna trasmessa"), QStyle::SP_DialogApplyButton,
                      QStringLiteral("Segna la comunicazione come trasmessa all'Agenzia delle Entrate"));
    m_nonTrasmessa = add(QStringLiteral("bNonTrasmessa"), QStringLiteral("Annulla trasmissione"), QStyle::SP_BrowserReload,
                         QStringLiteral("Riporta la comunicazione trasmessa allo stato di file creato"));
    auto *spacer = new QWidget(bar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    bar->addWidget(spacer);
    m_uscita = add(QStringLiteral("bUscita"), QStringLiteral("Uscita"), QStyle::SP_DialogCloseButton, QStringLiteral("Chiude la finestra"));

    m_model = new RequestsModel(*dm, this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("grid1"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setAlternatingRowColors(true);
    m_grid->setWordWrap(false);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 8);
    QHeaderView *header = m_grid->horizontalHeader();
    header->setStretchLastSection(true);
    header->setSortIndicator(2, Qt::DescendingOrder);
    header->setSortIndicatorShown(true);
    const int w = m_grid->fontMetrics().horizontalAdvance(QLatin1Char('W'));
    m_grid->setColumnWidth(0, w * 5);
    m_grid->setColumnWidth(1, w * 10);
    m_grid->setColumnWidth(2, w * 14);
    m_grid->setColumnWidth(3, w * 12);
    layout->addWidget(m_grid, 1);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    layout->addWidget(m_progress);

    connect(m_nuova, &QToolButton::clicked, this, &TdlgDenunce::nuova);
    connect(m_modifica, &QToolButton::clicked, this, &TdlgDenunce::modifica);
    connect(m_elimina, &QToolButton::clicked, this, &TdlgDenunce::elimina);
    connect(m_copia, &QToolButton::clicked, this, &TdlgDenunce::copiaIn);
    connect(m_stampa, &QToolButton::clicked, this, &TdlgDenunce::stampa);
    connect(m_creaFile, &QToolButton::clicked, this, &TdlgDenunce::creaFile);
    connect(m_info, &QToolButton::clicked, this, &TdlgDenunce::infoFile);
    connect(m_trasmessa, &QToolButton::clicked, this, &TdlgDenunce::segnaTrasmessa);
    connect(m_nonTrasmessa, &QToolButton::clicked, this, &TdlgDenunce::annullaTrasmissione);
    connect(m_uscita, &QToolButton::clicked, this, &TdlgDenunce::accept);
    connect(m_grid, &QTableView::doubleClicked, this, &TdlgDenunce::modifica);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TdlgDenunce::currentRowChanged);
    connect(m_model, &QAbstractItemModel::modelReset, this, &TdlgDenunce::followCursor);
    connect(dm->ttDENUNCE, &TableCursor::contentChanged, this, &TdlgDenunce::refreshCommands);

    setFixedSize(980, 600);
    // The window opens on the first row of the grid.
    if (m_model->rowCount() > 0) {
        m_grid->setCurrentIndex(m_model->index(0, 0));
        currentRowChanged();
    }
    refreshCommands();
}

void TdlgDenunce::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        setWindowTitle(dm->ttDENUNCE->text(QStringLiteral("DESCRIZIONE")));
        refreshCommands();
    }
    QDialog::showEvent(event);
}

void TdlgDenunce::reject()
{
    if (!m_busy)
        QDialog::reject();
}

void TdlgDenunce::closeEvent(QCloseEvent *event)
{
    if (m_busy)
        event->ignore();
    else
        QDialog::closeEvent(event);
}

void TdlgDenunce::refreshCommands()
{
    CommunicationCommands::Wired wired;
    wired.requestDialog = bool(m_hooks.requestDialog);
    wired.copy = bool(m_hooks.copy);
    wired.print = bool(m_hooks.print);
    wired.createFile = bool(m_hooks.createFile);
    const CommunicationCommands c = CommunicationCommands::forState(Communications::currentState(), wired, m_busy);
    m_nuova->setEnabled(c.nuova);
    m_modifica->setEnabled(c.modifica);
    m_elimina->setEnabled(c.elimina);
    m_copia->setEnabled(c.copiaIn);
    m_stampa->setEnabled(c.stampa);
    m_creaFile->setEnabled(c.creaFile);
    m_info->setEnabled(c.info);
    m_uscita->setEnabled(c.uscita);
    // One of the two at a time: the way back shows only on a transmitted communication.
    m_trasmessaAction->setVisible(!c.nonTrasmessa);
    m_trasmessa->setEnabled(c.trasmessa);
    m_nonTrasmessaAction->setVisible(c.nonTrasmessa);
    m_nonTrasmessa->setEnabled(c.nonTrasmessa);
    m_grid->setEnabled(!m_busy);
}

void TdlgDenunce::setBusy(bool busy)
{
    m_busy = busy;
    refreshCommands();
}

QList<qint64> TdlgDenunce::selectedRequestKeys() const
{
    QList<int> rows;
    for (const QModelIndex &i : m_grid->selectionModel()->selectedRows())
        rows << i.row();
    std::sort(rows.begin(), rows.end());
    QList<qint64> keys;
    for (int r : rows) {
        if (const qint64 k = m_model->keyAt(r))
            keys << k;
    }
    return keys;
}

qint64 TdlgDenunce::focusedRequestKey() const
{
    const QModelIndex i = m_grid->currentIndex();
    return i.isValid() ? m_model->keyAt(i.row()) : 0;
}

void TdlgDenunce::currentRowChanged()
{
    if (m_grid->currentIndex().isValid())
        m_lastRow = m_grid->currentIndex().row();
    const qint64 key = focusedRequestKey();
    TableCursor *r = dm->ttRICHIESTE;
    if (key && r->isOpen() && !r->isEditing() && r->key() != key)
        guarded([&] { r->moveToKey(key); });
}

void TdlgDenunce::followCursor()
{
    // The grid stands again on the cursor's request, looked for near where it stood when the
    // listing is too large to count; failing that it keeps its place.
    const TableCursor *r = dm->ttRICHIESTE;
    const qint64 key = r->isOpen() ? r->key() : 0;
    int row = m_model->rowOfKey(key);
    if (row < 0)
        row = m_model->rowNear(key, m_lastRow);
    if (row < 0 && m_model->rowCount() > 0)
        row = std::clamp(m_lastRow, 0, m_model->rowCount() - 1);
    if (row >= 0) {
        m_grid->setCurrentIndex(m_model->index(row, 0));
        m_grid->scrollTo(m_model->index(row, 0));
        currentRowChanged();
    }
}

void TdlgDenunce::runRequestDialog(bool insert)
{
    if (!m_hooks.requestDialog)
        return;
    currentRowChanged();
    guarded([&] {
        if (insert)
            Communications::BeginNewRequest();
        else if (!Communications::BeginEditRequest())
            return;
        try {
            m_hooks.requestDialog(*this);
        } catch (...) {
            Communications::EndRequestDialog();
            throw;
        }
        Communications::EndRequestDialog();
    });
    followCursor();
}

void TdlgDenunce::nuova()
{
    runRequestDialog(true);
}

void TdlgDenunce::modifica()
{
    if (m_modifica->isEnabled())
        runRequestDialog(false);
}

void TdlgDenunce::elimina()
{
    currentRowChanged();
    const int row = m_lastRow;
    bool deleted = false;
    guarded([&] { deleted = Communications::DeleteCurrentRequest(); });
    // The focus stays in its place, on the row that followed the deleted one.
    if (deleted && m_model->rowCount() > 0) {
        m_grid->setCurrentIndex(m_model->index(std::clamp(row, 0, m_model->rowCount() - 1), 0));
        currentRowChanged();
    }
}

void TdlgDenunce::runHook(const std::function<void(TdlgDenunce &)> &hook)
{
    if (!hook)
        return;
    currentRowChanged();
    guarded([&] { hook(*this); });
    refreshCommands();
}

void TdlgDenunce::copiaIn()
{
    runHook(m_hooks.copy);
}

void TdlgDenunce::stampa()
{
    runHook(m_hooks.print);
}

void TdlgDenunce::creaFile()
{
    runHook(m_hooks.createFile);
}

void TdlgDenunce::infoFile()
{
    guarded([] { Communications::InfoSulFile(); });
}

void TdlgDenunce::segnaTrasmessa()
{
    guarded([] { Communications::MarkTransmitted(); });
    refreshCommands();
}

void TdlgDenunce::annullaTrasmissione()
{
    guarded([] { Communications::MarkNotTransmitted(); });
    refreshCommands();
}
