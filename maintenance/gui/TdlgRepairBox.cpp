#include "maintenance/gui/TdlgRepairBox.h"

#include "data/Ui.h"
#include "maintenance/RepairTables.h"
#include "maintenance/RepairView.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

class TdlgRepairBox::View final : public RepairView
{
public:
    explicit View(TdlgRepairBox *dialog) : m_d(dialog) {}
    void setLabel(const QString &text) override { m_d->Label1->setText(text); }
    void setGaugeVisible(bool visible) override { m_d->ProgressGauge->setVisible(visible); }
    void setGauge(int percent) override { m_d->ProgressGauge->setValue(percent); }
    void appendLog(const QString &line) override { m_d->Logs->appendPlainText(line); }

private:
    TdlgRepairBox *m_d;
};

namespace {

QPushButton *button(const QString &name, const QString &text, const QString &hint, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setToolTip(hint);
    b->setAutoDefault(false);
    return b;
}

QListWidget *list(const QString &name, QWidget *parent)
{
    auto *l = new QListWidget(parent);
    l->setObjectName(name);
    l->setSelectionMode(QAbstractItemView::ExtendedSelection);
    return l;
}

} // namespace

TdlgRepairBox::TdlgRepairBox(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("dlgRepairBox"));
    setWindowTitle(QStringLiteral("Riparazione tabelle ..."));
    setWindowFlag(Qt::Tool);
    setModal(true);
    resize(560, 460);

    SrcList = list(QStringLiteral("SrcList"), this);
    DstList = list(QStringLiteral("DstList"), this);
    IncludeBtn = button(QStringLiteral("IncludeBtn"), QStringLiteral(">"),
                        QStringLiteral("Invia la Tabella selezionata nella Lista \r\ndelle tabelle da RIPARARE"), this);
    IncAllBtn = button(QStringLiteral("IncAllBtn"), QStringLiteral(">>"),
                       QStringLiteral("Invia tutte le Tabelle disponibile\r\nnella lista delle Tabelle da riparare"), this);
    ExcludeBtn = button(QStringLiteral("ExcludeBtn"), QStringLiteral("<"),
                        QStringLiteral("Rimuove la Tabella selezionata dalla \r\nLista delle Tabelle da RIPARARE."), this);
    ExAllBtn = button(QStringLiteral("ExAllBtn"), QStringLiteral("<<"), QStringLiteral("Svuota la Lista delle Tabelle da riparare"), this);
    btnRepair = button(QStringLiteral("btnRepair"), QStringLiteral("Ripara archivi"), QString(), this);
    btnUscita = button(QStringLiteral("btnUscita"), QStringLiteral("Uscita"), QString(), this);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    ProgressGauge = new QProgressBar(this);
    ProgressGauge->setObjectName(QStringLiteral("ProgressGauge"));
    ProgressGauge->setRange(0, 100);
    ProgressGauge->setValue(0);
    ProgressGauge->hide();
    Logs = new QPlainTextEdit(this);
    Logs->setObjectName(QStringLiteral("Logs"));
    Logs->setReadOnly(true);

    auto *lists = new QGridLayout;
    lists->addWidget(new QLabel(QStringLiteral("Tabelle disponibili"), this), 0, 0);
    lists->addWidget(new QLabel(QStringLiteral("Tabelle da riparare"), this), 0, 2);
    lists->addWidget(SrcList, 1, 0);
    auto *moves = new QVBoxLayout;
    moves->addStretch(1);
    for (QPushButton *b : {IncludeBtn, IncAllBtn, ExcludeBtn, ExAllBtn}) {
        b->setFixedWidth(40);
        moves->addWidget(b);
    }
    moves->addStretch(1);
    lists->addLayout(moves, 1, 1);
    lists->addWidget(DstList, 1, 2);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnRepair);
    buttons->addWidget(btnUscita);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(lists, 3);
    layout->addWidget(Label1);
    layout->addWidget(ProgressGauge);
    layout->addWidget(Logs, 2);
    layout->addLayout(buttons);

    m_view = new View(this);
    connect(IncludeBtn, &QPushButton::clicked, this, [this] { move(&RepairLists::Include); });
    connect(IncAllBtn, &QPushButton::clicked, this, [this] { move(&RepairLists::IncludeAll); });
    connect(ExcludeBtn, &QPushButton::clicked, this, [this] { move(&RepairLists::Exclude); });
    connect(ExAllBtn, &QPushButton::clicked, this, [this] { move(&RepairLists::ExcludeAll); });
    connect(btnRepair, &QPushButton::clicked, this, &TdlgRepairBox::repair);
    connect(btnUscita, &QPushButton::clicked, this, &TdlgRepairBox::reject);
    showLists();
}

TdlgRepairBox::~TdlgRepairBox()
{
    delete m_view;
}

void TdlgRepairBox::ShowForFolder(const QString &folder)
{
    fill(folder);
    exec();
}

void TdlgRepairBox::fill(const QString &folder)
{
    m_dataFolder = folder;
    m_lists.setAvailable(RepairTables::ListTables(folder));
    showLists();
}

void TdlgRepairBox::reject()
{
    // Not in the middle of a repair: the loop still works on this window.
    if (!m_repairing)
        QDialog::reject();
}

void TdlgRepairBox::move(void (RepairLists::*step)())
{
    auto selected = [](QListWidget *l) {
        QList<int> rows;
        for (int i = 0; i < l->count(); ++i) {
            if (l->item(i)->isSelected())
                rows << i;
        }
        return rows;
    };
    m_lists.setSourceSelection(selected(SrcList));
    m_lists.setDestinationSelection(selected(DstList));
    (m_lists.*step)();
    showLists();
    (m_lists.focus() == RepairLists::List::Source ? SrcList : DstList)->setFocus();
}

void TdlgRepairBox::showLists()
{
    auto show = [](QListWidget *l, const QStringList &items, const QList<int> &selection) {
        l->clear();
        l->addItems(items);
        for (int row : selection) {
            l->item(row)->setSelected(true);
            l->setCurrentRow(row, QItemSelectionModel::Current);
        }
    };
    show(SrcList, m_lists.source(), m_lists.sourceSelection());
    show(DstList, m_lists.destination(), m_lists.destinationSelection());
    IncludeBtn->setEnabled(m_lists.includeEnabled());
    IncAllBtn->setEnabled(m_lists.includeEnabled());
    ExcludeBtn->setEnabled(m_lists.excludeEnabled());
    ExAllBtn->setEnabled(m_lists.excludeEnabled());
    btnRepair->setEnabled(m_lists.repairEnabled());
}

void TdlgRepairBox::repair()
{
    const QStringList items = m_lists.destination();
    if (items.isEmpty())
        return;
    m_repairing = true;
    guarded([&] { RepairTables::Repair(m_dataFolder, items, *m_view); });
    m_repairing = false;
}
