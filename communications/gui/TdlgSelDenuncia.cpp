#include "communications/gui/TdlgSelDenuncia.h"

#include "communications/RequestCopy.h"
#include "data/Tdm.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStandardItemModel>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

namespace {
constexpr int IdRole = Qt::UserRole + 1;
}

TdlgSelDenuncia::TdlgSelDenuncia(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("dlgSelDenuncia"));
    setWindowTitle(QStringLiteral("Selezione Denuncia"));
    setModal(true);

    m_model = new QStandardItemModel(0, 2, this);
    m_model->setHorizontalHeaderLabels({QStringLiteral("Annualità"), QStringLiteral("Descrizione")});

    GridSel = new QTableView(this);
    GridSel->setObjectName(QStringLiteral("GridSel"));
    GridSel->setModel(m_model);
    GridSel->setSelectionBehavior(QAbstractItemView::SelectRows);
    GridSel->setSelectionMode(QAbstractItemView::SingleSelection);
    GridSel->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridSel->verticalHeader()->hide();
    GridSel->setAlternatingRowColors(true);
    GridSel->horizontalHeader()->setStretchLastSection(true);
    GridSel->setColumnWidth(0, 90);
    connect(GridSel, &QTableView::doubleClicked, this, &TdlgSelDenuncia::Seleziona);

    bSeleziona = new QPushButton(style()->standardIcon(QStyle::SP_DialogApplyButton), QStringLiteral("Seleziona"), this);
    bSeleziona->setObjectName(QStringLiteral("bSeleziona"));
    bSeleziona->setDefault(true);
    bAnnulla = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("Annulla"), this);
    bAnnulla->setObjectName(QStringLiteral("bAnnulla"));
    bAnnulla->setAutoDefault(false);
    connect(bSeleziona, &QPushButton::clicked, this, &TdlgSelDenuncia::Seleziona);
    connect(bAnnulla, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(bSeleziona);
    buttons->addWidget(bAnnulla);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(GridSel);
    resize(440, 300);
}

void TdlgSelDenuncia::openQuery()
{
    m_model->removeRows(0, m_model->rowCount());
    const TableCursor *d = dm->ttDENUNCE;
    const auto list = RequestCopy::destinations(dm->Database1.connection(), int(d->integer(QStringLiteral("ANNO"))),
                                                d->key());
    for (const CopyDestination &c : list) {
        auto *anno = new QStandardItem(QString::number(c.anno));
        anno->setData(c.id, IdRole);
        anno->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_model->appendRow({anno, new QStandardItem(c.descrizione)});
    }
    if (m_model->rowCount() > 0)
        GridSel->selectRow(m_model->rowCount() - 1); // the highest number
}

int TdlgSelDenuncia::exec()
{
    DestinationId = 0;
    openQuery();
    Tdm::ShowMsg(RequestCopy::pickerMessage(m_model->rowCount() == 0));
    if (m_model->rowCount() > 0)
        GridSel->scrollTo(GridSel->currentIndex());
    return QDialog::exec();
}

void TdlgSelDenuncia::Seleziona()
{
    const QModelIndex current = GridSel->currentIndex();
    if (m_model->rowCount() == 0 || !current.isValid())
        return;
    DestinationId = m_model->index(current.row(), 0).data(IdRole).toLongLong();
    accept();
}

void TdlgSelDenuncia::done(int result)
{
    // The query is closed with the picker.
    m_model->removeRows(0, m_model->rowCount());
    QDialog::done(result);
}
