#include "maintenance/gui/TfrmGuida.h"

#include "data/Ui.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

TfrmGuida::TfrmGuida(const QString &indexFile, QWidget *parent) : QWidget(parent, Qt::Window), m_indexFile(indexFile)
{
    setObjectName(QStringLiteral("frmGuida"));
    setWindowTitle(QStringLiteral("Tarvido - Guida all'uso"));

    Browser = new QTextBrowser(this);
    Browser->setObjectName(QStringLiteral("Browser"));
    // Pages of the guide open here; addresses outside it go to the desktop.
    Browser->setOpenLinks(false);
    Browser->setSearchPaths({QFileInfo(indexFile).absolutePath()});

    bSommario = new QPushButton(QStringLiteral("Sommario"), this);
    bSommario->setObjectName(QStringLiteral("bSommario"));
    bIndietro = new QPushButton(QStringLiteral("Indietro"), this);
    bIndietro->setObjectName(QStringLiteral("bIndietro"));
    bAvanti = new QPushButton(QStringLiteral("Avanti"), this);
    bAvanti->setObjectName(QStringLiteral("bAvanti"));
    bBrowser = new QPushButton(QStringLiteral("Apri nel browser"), this);
    bBrowser->setObjectName(QStringLiteral("bBrowser"));
    bIndietro->setEnabled(false);
    bAvanti->setEnabled(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(bSommario);
    buttons->addWidget(bIndietro);
    buttons->addWidget(bAvanti);
    buttons->addStretch();
    buttons->addWidget(bBrowser);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(Browser);

    connect(bSommario, &QPushButton::clicked, this, &TfrmGuida::home);
    connect(bIndietro, &QPushButton::clicked, Browser, &QTextBrowser::backward);
    connect(bAvanti, &QPushButton::clicked, Browser, &QTextBrowser::forward);
    connect(Browser, &QTextBrowser::backwardAvailable, bIndietro, &QWidget::setEnabled);
    connect(Browser, &QTextBrowser::forwardAvailable, bAvanti, &QWidget::setEnabled);
    connect(Browser, &QTextBrowser::anchorClicked, this, &TfrmGuida::follow);
    connect(bBrowser, &QPushButton::clicked, this, [this] {
        QUrl page = Browser->source();
        if (page.isRelative())
            page = QUrl::fromLocalFile(m_indexFile).resolved(page);
        ui().openUrl(page);
    });

    resize(820, 640);
    home();
}

void TfrmGuida::home()
{
    Browser->setSource(QUrl::fromLocalFile(m_indexFile));
}

void TfrmGuida::follow(const QUrl &url)
{
    const QUrl target = Browser->source().resolved(url);
    if (target.isLocalFile() || target.scheme().isEmpty())
        Browser->setSource(target);
    else
        ui().openUrl(target);
}
