#include "applicants/gui/TfrmRichPers.h"

#include "applicants/Applicants.h"
#include "applicants/RegisterModel.h"
#include "applicants/gui/ApplicantEditing.h"
#include "communications/gui/CopyPrintActions.h"
#include "data/Tdm.h"
#include "data/Ui.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

std::function<void(QWidget *)> &TfrmRichPers::printHandler()
{
    static std::function<void(QWidget *)> handler = &CopyPrintActions::StampaRichiedenti;
    return handler;
}

TfrmRichPers::TfrmRichPers(QWidget *parent) : QDialog(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmRichPers"));
    setWindowTitle(QStringLiteral("Anagrafica Richiedenti"));
    auto *layout = new QVBoxLayout(this);
    auto *tabs = new QTabWidget(this);
    auto *page = new QWidget(tabs);
    auto *pageLayout = new QVBoxLayout(page);
    tabs->addTab(page, QStringLiteral("Dati dei richiedenti"));
    layout->addWidget(tabs, 1);

    m_model = new RegisterModel(*dm, this);
    m_grid = new QTableView(page);
    m_grid->setObjectName(QStringLiteral("gridRichiedenti"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setAlternatingRowColors(true);
    m_grid->setWordWrap(false);
    m_grid->verticalHeader()->hide();
    // Fixed heights: a view over a million rows must not measure them.
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 8);
    QHeaderView *h = m_grid->horizontalHeader();
    h->setSectionResizeMode(QHeaderView::Interactive);
    h->setStretchLastSection(true);
    h->setSortIndicator(0, Qt::AscendingOrder);
    h->setSortIndicatorShown(true);
    const int w = m_grid->fontMetrics().horizontalAdvance(QLatin1Char('W'));
    m_grid->setColumnWidth(0, w * 14);
    m_grid->setColumnWidth(1, w * 14);
    m_grid->setColumnWidth(2, w * 12);
    pageLayout->addWidget(m_grid, 1);

    auto *buttons = new QHBoxLayout;
    auto make = [&](const QString &name, const QString &text, QStyle::StandardPixmap icon) {
        auto *b = new QPushButton(style()->standardIcon(icon), text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    m_nuovo = make(QStringLiteral("bNuovo"), QStringLiteral("Nuovo"), QStyle::SP_FileIcon);
    m_modifica = make(QStringLiteral("bModifica"), QStringLiteral("Modifica "), QStyle::SP_FileDialogDetailedView);
    m_elimina = make(QStringLiteral("bElimina"), QStringLiteral("Elimina"), QStyle::SP_TrashIcon);
    m_stampa = make(QStringLiteral("bStampa"), QStringLiteral("Stampa"), QStyle::SP_FileDialogContentsView);
    buttons->addStretch(1);
    QPushButton *uscita = make(QStringLiteral("bUscita"), QStringLiteral("Uscita"), QStyle::SP_DialogCloseButton);
    layout->addLayout(buttons);

    connect(m_nuovo, &QPushButton::clicked, this, &TfrmRichPers::nuovo);
    connect(m_modifica, &QPushButton::clicked, this, &TfrmRichPers::modifica);
    connect(m_elimina, &QPushButton::clicked, this, &TfrmRichPers::elimina);
    connect(m_stampa, &QPushButton::clicked, this, &TfrmRichPers::stampa);
    connect(uscita, &QPushButton::clicked, this, &TfrmRichPers::accept);
    connect(m_grid, &QTableView::doubleClicked, this, &TfrmRichPers::modifica);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TfrmRichPers::currentRowChanged);
    // The list is reset on every change of the table: it then stands again on the cursor's row.
    connect(m_model, &QAbstractItemModel::modelReset, this, &TfrmRichPers::followCursor);
    connect(dm->ttRICHIEDENTI, &TableCursor::stateChanged, this, &TfrmRichPers::updateButtons);
    connect(dm->ttRICHIEDENTI, &TableCursor::contentChanged, this, &TfrmRichPers::updateButtons);
    connect(dm, &Tdm::tablesReopened, this, &TfrmRichPers::updateButtons);

    resize(860, 560);
    if (m_model->rowCount() > 0) {
        m_grid->setCurrentIndex(m_model->index(0, 0));
        currentRowChanged();
    }
    updateButtons();
}

void TfrmRichPers::currentRowChanged()
{
    const qint64 key = m_model->keyAt(m_grid->currentIndex().row());
    TableCursor *t = dm->ttRICHIEDENTI;
    if (key && t->isOpen() && !t->isEditing() && t->key() != key)
        guarded([&] { t->moveToKey(key); });
}

void TfrmRichPers::followCursor()
{
    const TableCursor *t = dm->ttRICHIEDENTI;
    int row = t->isOpen() ? m_model->rowOfKey(t->key()) : -1;
    if (row < 0 && m_model->rowCount() > 0)
        row = 0;
    if (row >= 0) {
        m_grid->setCurrentIndex(m_model->index(row, 0));
        m_grid->scrollTo(m_model->index(row, 0));
        currentRowChanged();
    }
}

void TfrmRichPers::updateButtons()
{
    m_nuovo->setEnabled(Applicants::canInsert());
    m_modifica->setEnabled(Applicants::canEdit());
    m_stampa->setEnabled(bool(printHandler()));
}

void TfrmRichPers::nuovo()
{
    if (!Applicants::canInsert())
        return;
    guarded([this] {
        TableCursor *t = dm->ttRICHIEDENTI;
        t->append();
        try {
            ApplicantEditing::EditRichiedente(this);
        } catch (...) {
            t->cancel();
            throw;
        }
    });
    updateButtons();
}

void TfrmRichPers::modifica()
{
    if (!Applicants::canEdit())
        return;
    currentRowChanged();
    guarded([this] {
        TableCursor *t = dm->ttRICHIEDENTI;
        t->edit();
        try {
            ApplicantEditing::EditRichiedente(this);
        } catch (...) {
            t->cancel();
            throw;
        }
    });
    updateButtons();
}

void TfrmRichPers::elimina()
{
    const TableCursor *t = dm->ttRICHIEDENTI;
    if (!t->isOpen() || t->isEmpty())
        return;
    currentRowChanged();
    const int row = m_grid->currentIndex().row();
    bool deleted = false;
    guarded([&] { deleted = Applicants::DeleteRichiedente(dm->ttRICHIEDENTI->key()); });
    // The list keeps its place, on the applicant that followed the deleted one.
    if (deleted && row >= 0 && m_model->rowCount() > 0) {
        m_grid->setCurrentIndex(m_model->index(std::min(row, m_model->rowCount() - 1), 0));
        currentRowChanged();
    }
}

void TfrmRichPers::stampa()
{
    if (printHandler())
        guarded([this] { printHandler()(this); });
}
