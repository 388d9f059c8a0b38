#include "applicants/gui/TdlgSeleziona.h"

#include "applicants/ApplicantSelection.h"
#include "applicants/ApplicantSelectionModel.h"
#include "data/Tdm.h"
#include "data/Ui.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TdlgSeleziona::TdlgSeleziona(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TdlgSeleziona"));
    setWindowTitle(QStringLiteral("Selezione..."));
    setModal(true);

    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("gridSel"));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setAlternatingRowColors(true);
    m_grid->verticalHeader()->hide();
    // Fixed row heights: the view never asks a million rows for their size.
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setWordWrap(false);
    connect(m_grid, &QTableView::doubleClicked, this, [this] { Seleziona(); });

    m_seleziona = new QPushButton(QStringLiteral("Seleziona"), this);
    m_seleziona->setObjectName(QStringLiteral("bSeleziona"));
    m_seleziona->setDefault(true);
    connect(m_seleziona, &QPushButton::clicked, this, &TdlgSeleziona::Seleziona);
    m_annulla = new QPushButton(QStringLiteral("Annulla"), this);
    m_annulla->setObjectName(QStringLiteral("bAnnulla"));
    connect(m_annulla, &QPushButton::clicked, this, &TdlgSeleziona::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_seleziona);
    buttons->addWidget(m_annulla);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);
    resize(620, 480);
}

TdlgSeleziona::~TdlgSeleziona() = default;

void TdlgSeleziona::openList()
{
    closeList();
    BusyCursor busy;
    m_model = new ApplicantSelectionModel(*dm, this);
    m_grid->setModel(m_model);
    m_grid->setColumnWidth(0, 170);
    if (m_model->rowCount() > 0)
        m_grid->selectRow(0);
}

void TdlgSeleziona::closeList()
{
    if (!m_model)
        return;
    m_grid->setModel(nullptr);
    delete m_model;
    m_model = nullptr;
}

void TdlgSeleziona::showSelection()
{
    openList();
    exec();
    closeList();
}

void TdlgSeleziona::Seleziona()
{
    if (!m_model)
        return;
    const QModelIndex current = m_grid->currentIndex();
    if (ApplicantSelection::choose(*m_model, current.isValid() ? current.row() : -1))
        accept();
}

void TdlgSeleziona::reject()
{
    ApplicantSelection::cancel();
    QDialog::reject();
}
