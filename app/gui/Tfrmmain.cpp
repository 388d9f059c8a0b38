#include "app/gui/Tfrmmain.h"

#include "app/DenunceListModel.h"
#include "app/StartupPlan.h"
#include "app/gui/TdlgAboutBox.h"
#include "app/gui/TdlgImpostazioni.h"
#include "applicants/gui/RegisterAction.h"
#include "applicants/gui/SearchAction.h"
#include "communications/gui/CommunicationActions.h"
#include "data/Tdm.h"
#include "data/Ui.h"
#include "maintenance/gui/BackupActions.h"
#include "maintenance/gui/ServiceActions.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QString tileText(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// A label that runs its action when clicked, so the text beside a tile is part of it.
class TileLabel : public QLabel
{
public:
    TileLabel(const QString &text, QAction *action, QWidget *parent) : QLabel(text, parent), m_action(action)
    {
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton && m_action->isEnabled())
            m_action->trigger();
    }

private:
    QAction *m_action;
};

} // namespace

// The icons live in the GUI library; a static library must register its resources itself.
static void initResources()
{
    Q_INIT_RESOURCE(tarvido);
}

Tfrmmain::Tfrmmain(QWidget *parent) : QMainWindow(parent)
{
    initResources();
    setObjectName(QStringLiteral("frmmain"));
    setWindowTitle(titleFormat().arg(2019));
    createActions();

    auto *toolbar = addToolBar(QStringLiteral("Barra"));
    toolbar->setObjectName(QStringLiteral("toolbar"));
    toolbar->setMovable(false);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolbar->addAction(actUscita);
    toolbar->widgetForAction(actUscita)->setObjectName(QStringLiteral("btnUscita"));

    pagine = new QTabWidget(this);
    pagine->setObjectName(QStringLiteral("pagine"));
    pagine->setMovable(false);
    pagine->addTab(buildMainPage(), QStringLiteral("Pagina principale"));
    pagine->addTab(buildTransmissionPage(), QStringLiteral("Trasmissione dati"));
    pagine->addTab(buildUtilityPage(), QStringLiteral("Utilità"));
    setCentralWidget(pagine);

    dlgImpostazioni = new TdlgImpostazioni(this);
    resize(1024, 720);
}

Tfrmmain::~Tfrmmain() = default;

void Tfrmmain::createActions()
{
    auto make = [this](const char *name, const QString &caption, QStyle::StandardPixmap icon) {
        auto *a = new QAction(style()->standardIcon(icon), caption, this);
        a->setObjectName(QString::fromLatin1(name));
        addAction(a);
        return a;
    };
    actConfigurazione = make("actConfigurazione", QStringLiteral("Configurazione dati ente"), QStyle::SP_FileDialogDetailedView);
    actRichiedenti = make("actRichiedenti", QStringLiteral("Anagrafica richiedenti"), QStyle::SP_DirHomeIcon);
    actRicerca = make("actRicerca", QStringLiteral("Ricerca in anagrafica"), QStyle::SP_FileDialogContentsView);
    actGuida = make("actGuida", QStringLiteral("Guida all'uso"), QStyle::SP_DialogHelpButton);
    actNormativa = make("actNormativa", QString(), QStyle::SP_FileDialogInfoView);
    actInfo = make("actInfo", QStringLiteral("Informazioni sul software"), QStyle::SP_MessageBoxInformation);
    actSalvataggio = make("actSalvataggio", QStringLiteral("Salvataggio di sicurezza"), QStyle::SP_DialogSaveButton);
    actRipristino = make("actRipristino", QStringLiteral("Ripristino dati"), QStyle::SP_DialogOpenButton);
    actRiparazione = make("actRiparazione", QStringLiteral("Riparazione archivi"), QStyle::SP_BrowserReload);
    actAggiornamento = make("actAggiornamento", QStringLiteral("Aggiornamento automatico"), QStyle::SP_ArrowDown);
    actScrivici = make("actScrivici", QStringLiteral("Richiesta assistenza"), QStyle::SP_MessageBoxQuestion);
    actStorico = make("actStorico", QStringLiteral("Storico delle versioni"), QStyle::SP_FileDialogListView);
    actUscita = make("actUscita", QStringLiteral("Uscita"), QStyle::SP_DialogCloseButton);

    connect(actConfigurazione, &QAction::triggered, this, [this] { dlgImpostazioni->exec(); });
    connect(actInfo, &QAction::triggered, this, &Tfrmmain::actInfoExecute);
    connect(actUscita, &QAction::triggered, this, &Tfrmmain::btnUscitaClick);

    // Functions of other subsystems; an action stays disabled while its function is not there.
    auto wire = [this](QAction *a, bool ready, void (*run)(QWidget *)) {
        a->setEnabled(ready);
        connect(a, &QAction::triggered, this, [this, run] { guarded([&] { run(this); }); });
    };
    wire(actRichiedenti, RegisterAction::Ready, &RegisterAction::Execute);
    wire(actRicerca, SearchAction::Ready, &SearchAction::Execute);
    wire(actSalvataggio, BackupActions::Ready, &BackupActions::Salvataggio);
    wire(actRipristino, BackupActions::Ready, &BackupActions::Ripristino);
    wire(actRiparazione, BackupActions::Ready, &BackupActions::Riparazione);
    wire(actAggiornamento, ServiceActions::Ready, &ServiceActions::Aggiornamento);
    wire(actScrivici, ServiceActions::Ready, &ServiceActions::Scrivici);
    wire(actGuida, ServiceActions::Ready, &ServiceActions::Guida);
    wire(actNormativa, ServiceActions::Ready, &ServiceActions::Normativa);
    wire(actStorico, ServiceActions::Ready, &ServiceActions::Storico);
}

QWidget *Tfrmmain::tile(QAction *action, const QString &text, const QString &name)
{
    auto *box = new QWidget;
    box->setObjectName(name);
    auto *layout = new QHBoxLayout(box);
    auto *button = new QToolButton(box);
    button->setDefaultAction(action);
    button->setIconSize(QSize(48, 48));
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setAutoRaise(true);
    button->setFixedSize(64, 64);
    auto *label = new TileLabel(tileText(text), action, box);
    QFont f = label->font();
    f.setPointSize(f.pointSize() + 2);
    label->setFont(f);
    connect(action, &QAction::changed, label, [label, action] { label->setEnabled(action->isEnabled()); });
    label->setEnabled(action->isEnabled());
    layout->addWidget(button);
    layout->addWidget(label, 1);
    return box;
}

QWidget *Tfrmmain::buildMainPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("tsPrincipale"));
    auto *grid = new QGridLayout;
    grid->addWidget(tile(actConfigurazione, QStringLiteral("Configurazione\r\ndati Ente"), QStringLiteral("tileConfigurazione")), 0, 0);
    grid->addWidget(tile(actGuida, QStringLiteral("Guida all'uso"), QStringLiteral("tileGuida")), 0, 1);
    grid->addWidget(tile(actNormativa, QStringLiteral("Normativa"), QStringLiteral("tileNormativa")), 1, 0);
    grid->addWidget(tile(actInfo, QStringLiteral("Informazioni\r\nsul software"), QStringLiteral("tileInfo")), 1, 1);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(40, 30, 40, 20);
    layout->addLayout(grid);
    layout->addStretch();
    auto *support = new QLabel(QStringLiteral("Servizio di assistenza Quorvel: tel. 0471 555 014 - 0471 555 015, "
                                              "fax 0471 555 016, e-mail assistenza@quorvel.it"),
                               page);
    support->setObjectName(QStringLiteral("lblAssistenza"));
    support->setAlignment(Qt::AlignCenter);
    layout->addWidget(support);
    return page;
}

QWidget *Tfrmmain::buildTransmissionPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("tsTrasmissione"));
    QString years;
    for (int y = 2006; y <= 2018; ++y)
        years += QStringLiteral("<a href=\"A%1\">%1</a>&nbsp;&nbsp; ").arg(y);
    htlbl1 = new QLabel(page);
    htlbl1->setObjectName(QStringLiteral("htlbl1"));
    htlbl1->setTextFormat(Qt::RichText);
    htlbl1->setText(QStringLiteral("<p>Apri l'archivio dei richiedenti: <a href=\"ARICH\"><img src=\":/icons/richiedenti.png\"></a>"
                                   " / Ricerca in archivio <a href=\"ASEARCH\"><img src=\":/icons/ricerca.png\"></a></p>"
                                   "<p>Crea una nuova trasmissione per l'anno:<br>%1</p>"
                                   "<p><small>Apri una trasmissione presente in archivio tra quelle di seguito elencate:</small></p>")
                        .arg(years));
    connect(htlbl1, &QLabel::linkActivated, this, &Tfrmmain::htlbl1AnchorClick);

    listadenunce = new QTableView(page);
    listadenunce->setObjectName(QStringLiteral("listadenunce"));
    if (dm) {
        listModel = new DenunceListModel(*dm, this);
        listadenunce->setModel(listModel);
        connect(listadenunce->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &Tfrmmain::currentRowChanged);
        listModel->reload();
    }
    listadenunce->horizontalHeader()->hide();
    listadenunce->verticalHeader()->hide();
    listadenunce->setSelectionBehavior(QAbstractItemView::SelectRows);
    listadenunce->setSelectionMode(QAbstractItemView::SingleSelection);
    listadenunce->setEditTriggers(QAbstractItemView::NoEditTriggers);
    listadenunce->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    listadenunce->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    listadenunce->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    listadenunce->setIconSize(QSize(20, 20));
    listadenunce->setToolTip(QStringLiteral("Elenco delle denunce presenti in archivio.\n\nFare doppio clic per aprire una denuncia."));
    connect(listadenunce, &QTableView::doubleClicked, this, &Tfrmmain::listadenunceDblClick);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(htlbl1);
    layout->addWidget(listadenunce, 1);
    return page;
}

QWidget *Tfrmmain::buildUtilityPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("tsUtilita"));
    auto *grid = new QGridLayout;
    grid->addWidget(tile(actSalvataggio, QStringLiteral("Salvataggio\r\ndi sicurezza"), QStringLiteral("tileSalvataggio")), 0, 0);
    grid->addWidget(tile(actRipristino, QStringLiteral("Ripristino\r\ndei dati"), QStringLiteral("tileRipristino")), 0, 1);
    grid->addWidget(tile(actRiparazione, QStringLiteral("Riparazione \r\ndegli archivi"), QStringLiteral("tileRiparazione")), 0, 2);
    grid->addWidget(tile(actAggiornamento, QStringLiteral("Ricerca\r\naggiornamenti"), QStringLiteral("tileAggiornamento")), 1, 0);
    grid->addWidget(tile(actScrivici, QStringLiteral("Richiesta \r\nassistenza"), QStringLiteral("tileScrivici")), 1, 1);
    grid->addWidget(tile(actStorico, QStringLiteral("Storico\r\ndelle versioni"), QStringLiteral("tileStorico")), 1, 2);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(40, 30, 40, 20);
    layout->addLayout(grid);
    layout->addStretch();
    return page;
}

void Tfrmmain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        QTimer::singleShot(0, this, [this] { FormShow(dayNumber(QDate::currentDate())); });
    }
}

void Tfrmmain::FormShow(int today)
{
    setWindowTitle(titleFormat().arg(2019));
    Tdm::Delay(m_wait);
    if (m_splash) {
        m_splash->close();
        m_splash->deleteLater();
    }
    pagine->setCurrentIndex(0);
    Tdm::Delay(m_wait);
    const StartupPlan plan = planStartup(today, ProvaUpdate, PrimaEsecuzione, DatiEnte);
    if (plan.askUpdate
        && ui().askYesNo(QStringLiteral("Verifica aggiornamenti"),
                         QStringLiteral("Si vuole verificare se è disponibile qualche aggiornamento del Programma ?"),
                         Ui::Icon::Question, false)) {
        if (actAggiornamento->isEnabled())
            actAggiornamento->trigger();
    }
    ProvaUpdate = today;
    // A hand-over to the setup program has begun: the window is closing, nothing more to ask.
    if (UpdateStarted)
        return;
    if (plan.openSettings)
        actConfigurazione->trigger();
    else if (plan.incompleteMessage)
        Tdm::ShowMsg(QStringLiteral("I dati dell'Ente non sono completi."));
}

void Tfrmmain::htlbl1AnchorClick(const QString &anchor)
{
    for (int year = 2006; year <= 2018; ++year) {
        if (anchor == QStringLiteral("A%1").arg(year)) {
            if (CommunicationActions::Ready)
                guarded([&] { CommunicationActions::OpenNewCommunication(this, year); });
            return;
        }
    }
    if (anchor == QLatin1String("ARICH")) {
        if (actRichiedenti->isEnabled())
            actRichiedenti->trigger();
    } else if (anchor == QLatin1String("ASEARCH")) {
        if (actRicerca->isEnabled())
            actRicerca->trigger();
    }
}

void Tfrmmain::currentRowChanged()
{
    if (!dm || !listModel)
        return;
    const qint64 key = listModel->keyAt(listadenunce->currentIndex().row());
    if (key && dm->ttDENUNCE->isOpen() && dm->ttDENUNCE->key() != key)
        guarded([&] { dm->ttDENUNCE->moveToKey(key); });
}

void Tfrmmain::listadenunceDblClick()
{
    if (!dm || !dm->ttDENUNCE->isOpen() || dm->ttDENUNCE->isEmpty())
        return;
    currentRowChanged();
    if (CommunicationActions::Ready)
        guarded([&] { CommunicationActions::OpenCurrentCommunication(this); });
}

void Tfrmmain::btnUscitaClick()
{
    close();
}

void Tfrmmain::closeEvent(QCloseEvent *event)
{
    if (UpdateStarted
        || ui().askYesNo(QStringLiteral("Fine programma"), QStringLiteral("Si vuole terminare il programma ?"),
                         Ui::Icon::Information, true)) {
        event->accept();
        return;
    }
    event->ignore();
}

void Tfrmmain::actInfoExecute()
{
    TdlgAboutBox about(this);
    about.ver->setText(QStringLiteral("Versione: %1").arg(QLatin1String(ProgramVersion)));
    about.exec();
}
