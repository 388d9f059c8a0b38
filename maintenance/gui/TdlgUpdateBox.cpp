#include "maintenance/gui/TdlgUpdateBox.h"

#include "data/Globals.h"
#include "data/Tdm.h"
#include "data/Ui.h"
#include "maintenance/RunOnExit.h"
#include "maintenance/Updater.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QString appPath()
{
    return dm ? dm->AppPath : QCoreApplication::applicationDirPath() + QLatin1Char('/');
}
} // namespace

TdlgUpdateBox::TdlgUpdateBox(QWidget *parent) : QDialog(parent), m_aup1(new Updater(this))
{
    setObjectName(QStringLiteral("dlgUpdateBox"));
    setWindowTitle(QStringLiteral("Aggiornamento via Internet"));
    setModal(true);
    m_aup1->setObjectName(QStringLiteral("aup1"));

    Label1 = new QLabel(QStringLiteral("Il programma proverà a contattare il Server Ilvant degli aggiornamenti per vedere "
                                       "se esiste una versione più aggiornata del software."),
                        this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->setMinimumWidth(380);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);

    bVerifica = new QPushButton(QStringLiteral("Avvia Verifica"), this);
    bVerifica->setObjectName(QStringLiteral("bVerifica"));
    bVerifica->setDefault(true);
    buscita = new QPushButton(QStringLiteral("Uscita"), this);
    buscita->setObjectName(QStringLiteral("buscita"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bVerifica);
    buttons->addWidget(buscita);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setSpacing(14);
    layout->addWidget(Label1);
    layout->addWidget(ProgressBar1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(bVerifica, &QPushButton::clicked, this, &TdlgUpdateBox::bVerificaClick);
    connect(buscita, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_aup1, &Updater::beginUpgrade, this, &TdlgUpdateBox::aup1BeginUpgrade);
    connect(m_aup1, &Updater::noUpdateAvailable, this, &TdlgUpdateBox::aup1NoUpdateAvailable);
    connect(m_aup1, &Updater::noInfoFile, this, &TdlgUpdateBox::aup1NoInfoFile);
    connect(m_aup1, &Updater::hostUnreachable, this, &TdlgUpdateBox::aup1HostUnreachable);
    connect(m_aup1, &Updater::aborted, this, &TdlgUpdateBox::aup1Aborted);
    connect(m_aup1, &Updater::fileStart, this, &TdlgUpdateBox::aup1FileStart);
    connect(m_aup1, &Updater::progress, this, [this](int current, int) { aup1Progress(current); });
    connect(m_aup1, &Updater::filesReady, this, &TdlgUpdateBox::handOver);
    // The question was answered No: the check ends quietly.
    connect(m_aup1, &Updater::upgradeDeclined, this, &TdlgUpdateBox::restoreCursor);
}

TdlgUpdateBox::~TdlgUpdateBox()
{
    m_aup1->cancel();
    restoreCursor();
}

void TdlgUpdateBox::bVerificaClick()
{
    // A check or download is running: a second one is not started.
    if (m_aup1->isRunning())
        return;
    const QUrl url = Updater::configuredInfoFileUrl(appPath());
    if (url.isEmpty()) {
        Tdm::ShowMsg(Updater::notConfiguredMessage());
        return;
    }
    m_aup1->setVersionNumber(QString::fromLatin1(ProgramVersion));
    m_aup1->setInfoFileUrl(url); // no user name or password: the server asks for none
    ui().setBusy(true);
    m_busy = true;
    m_aup1->start();
}

void TdlgUpdateBox::done(int result)
{
    // Leaving the dialog abandons a check or download still running.
    if (!m_handedOver)
        m_aup1->cancel();
    restoreCursor();
    QDialog::done(result);
}

void TdlgUpdateBox::restoreCursor()
{
    if (m_busy) {
        m_busy = false;
        ui().setBusy(false);
    }
}

void TdlgUpdateBox::aup1BeginUpgrade()
{
    restoreCursor();
}

void TdlgUpdateBox::aup1NoUpdateAvailable()
{
    restoreCursor();
    Tdm::ShowMsg(QStringLiteral("Al momento nessun aggiornamento è disponibile per questo prodotto."));
}

void TdlgUpdateBox::aup1NoInfoFile()
{
    restoreCursor();
    Tdm::ShowMsg(QStringLiteral("Nessuna informazione di aggiornamento è stata trovata sul server. Si consiglia di riprovare più tardi"));
}

void TdlgUpdateBox::aup1HostUnreachable()
{
    restoreCursor();
    Tdm::ShowMsg(QStringLiteral("Impossibile connettersi al server degli aggiornamenti. Si consiglia di riprovare più tardi"));
}

void TdlgUpdateBox::aup1Aborted()
{
    restoreCursor();
    Tdm::ShowMsg(QStringLiteral("Operazione di aggiornamento interrotta"));
    ProgressBar1->setValue(0);
}

void TdlgUpdateBox::aup1FileStart()
{
    UpdateStarted = true;
}

void TdlgUpdateBox::aup1Progress(int currentFilePercent)
{
    ProgressBar1->setValue(currentFilePercent);
}

void TdlgUpdateBox::handOver(const QStringList &files)
{
    // File1 is the setup program; it runs once the program has closed and replaces it.
    RunOnExit::request(files.first());
    m_handedOver = true;
    accept();
    // The main window closes without its exit question (UpdateStarted) and the program ends.
    QWidget *main = parentWidget() ? parentWidget()->window() : nullptr;
    if (main)
        QMetaObject::invokeMethod(main, &QWidget::close, Qt::QueuedConnection);
    else
        QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
}
