#include "maintenance/gui/TdlgBckRstBox.h"

#include "data/Ui.h"
#include "maintenance/BackupRestoreView.h"

#include <QCheckBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

// A page as the backup and the restore drive it.
class TdlgBckRstBox::PageView final : public BackupRestoreView
{
public:
    PageView(QWidget *page, QProgressBar *bar, QPlainTextEdit *log, int *running)
        : m_page(page), m_bar(bar), m_log(log), m_running(running)
    {
    }
    void clearLog() override { m_log->clear(); }
    void appendLog(const QString &line) override { m_log->appendPlainText(line); }
    void setProgress(int percent) override { m_bar->setValue(percent); }
    void setRunning(bool running) override
    {
        *m_running += running ? 1 : -1;
        m_page->setEnabled(!running);
        m_bar->setValue(0);
        m_bar->setVisible(running);
    }

private:
    QWidget *m_page;
    QProgressBar *m_bar;
    QPlainTextEdit *m_log;
    int *m_running;
};

namespace {

QPushButton *button(const QString &name, const QString &text, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QProgressBar *bar(const QString &name, QWidget *parent)
{
    auto *p = new QProgressBar(parent);
    p->setObjectName(name);
    p->setRange(0, 100);
    p->setValue(0);
    p->hide();
    return p;
}

QPlainTextEdit *log(const QString &name, QWidget *parent)
{
    auto *m = new QPlainTextEdit(parent);
    m->setObjectName(name);
    m->setReadOnly(true);
    m->setLineWrapMode(QPlainTextEdit::NoWrap);
    return m;
}

} // namespace

TdlgBckRstBox::TdlgBckRstBox(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("dlgBckRstBox"));
    setWindowTitle(QStringLiteral("Utilità"));
    setModal(true);
    resize(560, 400);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("pcUtilita"));
    m_pages->tabBar()->hide();

    // Backup page.
    tsBackup = new QWidget;
    tsBackup->setObjectName(QStringLiteral("tsBackup"));
    auto *b = new QVBoxLayout(tsBackup);
    b->addWidget(new QLabel(QStringLiteral("Nome del file che conterrà i dati salvati:"), tsBackup));
    auto *toRow = new QHBoxLayout;
    txtToFile = new QLineEdit(tsBackup);
    txtToFile->setObjectName(QStringLiteral("txtToFile"));
    bSfoglia = button(QStringLiteral("bSfoglia"), QStringLiteral("Sfoglia..."), tsBackup);
    toRow->addWidget(txtToFile, 1);
    toRow->addWidget(bSfoglia);
    b->addLayout(toRow);
    ceFloppy = new QCheckBox(QStringLiteral("Salva su floppy"), tsBackup);
    ceFloppy->setObjectName(QStringLiteral("ceFloppy"));
    // Only where paths carry drive letters; elsewhere a removable disk is chosen with "Sfoglia...".
    ceFloppy->setVisible(BackupRestore::floppyOffered());
    ceIncludiData = new QCheckBox(QStringLiteral("Includi informazioni della data nel nome del file"), tsBackup);
    ceIncludiData->setObjectName(QStringLiteral("ceIncludiData"));
    b->addWidget(ceFloppy);
    b->addWidget(ceIncludiData);
    auto *saveRow = new QHBoxLayout;
    bsalva = button(QStringLiteral("bsalva"), QStringLiteral("Salva"), tsBackup);
    saveRow->addStretch(1);
    saveRow->addWidget(bsalva);
    b->addLayout(saveRow);
    pbBck = bar(QStringLiteral("pbBck"), tsBackup);
    b->addWidget(pbBck);
    meEsitoBck = log(QStringLiteral("meEsitoBck"), tsBackup);
    b->addWidget(meEsitoBck, 1);
    m_pages->addTab(tsBackup, QStringLiteral("Salvataggio"));

    // Restore page.
    tsRestore = new QWidget;
    tsRestore->setObjectName(QStringLiteral("tsRestore"));
    auto *r = new QVBoxLayout(tsRestore);
    r->addWidget(new QLabel(QStringLiteral("Apri archivio di ripristino:"), tsRestore));
    auto *fromRow = new QHBoxLayout;
    txtFromFile = new QLineEdit(tsRestore);
    txtFromFile->setObjectName(QStringLiteral("txtFromFile"));
    bSfoglia2 = button(QStringLiteral("bSfoglia2"), QStringLiteral("Sfoglia..."), tsRestore);
    fromRow->addWidget(txtFromFile, 1);
    fromRow->addWidget(bSfoglia2);
    r->addLayout(fromRow);
    auto *restoreRow = new QHBoxLayout;
    bRipristina = button(QStringLiteral("bRipristina"), QStringLiteral("Ripristina"), tsRestore);
    restoreRow->addStretch(1);
    restoreRow->addWidget(bRipristina);
    r->addLayout(restoreRow);
    pbrst = bar(QStringLiteral("pbrst"), tsRestore);
    r->addWidget(pbrst);
    meEsitoRst = log(QStringLiteral("meEsitoRst"), tsRestore);
    r->addWidget(meEsitoRst, 1);
    m_pages->addTab(tsRestore, QStringLiteral("Ripristino"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);

    m_backupView = new PageView(tsBackup, pbBck, meEsitoBck, &m_running);
    m_restoreView = new PageView(tsRestore, pbrst, meEsitoRst, &m_running);

    connect(ceFloppy, &QCheckBox::toggled, this, &TdlgBckRstBox::optionsChanged);
    connect(ceIncludiData, &QCheckBox::toggled, this, &TdlgBckRstBox::optionsChanged);
    connect(bSfoglia, &QPushButton::clicked, this, &TdlgBckRstBox::browseBackup);
    connect(bSfoglia2, &QPushButton::clicked, this, &TdlgBckRstBox::browseRestore);
    connect(bsalva, &QPushButton::clicked, this, &TdlgBckRstBox::runBackup);
    connect(bRipristina, &QPushButton::clicked, this, &TdlgBckRstBox::runRestore);
}

TdlgBckRstBox::~TdlgBckRstBox()
{
    delete m_backupView;
    delete m_restoreView;
}

void TdlgBckRstBox::setRestoreName(const QString &name)
{
    txtFromFile->setText(name);
}

void TdlgBckRstBox::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Only the chosen page can be reached.
    const bool restore = m_params.StartPage() == BackupRestore::RestorePage;
    m_pages->setTabVisible(0, !restore);
    m_pages->setTabVisible(1, restore);
    m_pages->setCurrentIndex(restore ? 1 : 0);
    meEsitoBck->clear();
    meEsitoRst->clear();
    pbBck->hide();
    pbrst->hide();
    const QSignalBlocker floppy(ceFloppy), date(ceIncludiData);
    ceFloppy->setChecked(false);
    ceIncludiData->setChecked(true);
    optionsChanged();
}

void TdlgBckRstBox::reject()
{
    // Not while an archive is being written or read: the page would be gone under it.
    if (m_running == 0)
        QDialog::reject();
}

void TdlgBckRstBox::optionsChanged()
{
    txtToFile->setText(m_params.ProposedName(ceFloppy->isChecked(), ceIncludiData->isChecked()));
}

void TdlgBckRstBox::browseBackup()
{
    const QString name = ui().saveFileName(QStringLiteral("Salva con nome"), m_params.BackupFolder(), m_params.FileFilter());
    if (!name.isEmpty())
        txtToFile->setText(QDir::toNativeSeparators(name));
}

void TdlgBckRstBox::browseRestore()
{
    const QString name = ui().openFileName(QStringLiteral("Apri"), m_params.RestoreBrowseFolder(), m_params.FileFilter());
    if (!name.isEmpty())
        txtFromFile->setText(QDir::toNativeSeparators(name));
}

void TdlgBckRstBox::runBackup()
{
    guarded([this] { m_params.RunBackup(txtToFile->text(), *m_backupView); });
}

void TdlgBckRstBox::runRestore()
{
    if (!BackupRestore::ConfirmRestore())
        return;
    guarded([this] { m_params.RunRestore(txtFromFile->text(), *m_restoreView); });
}
