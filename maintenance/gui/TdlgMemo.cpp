#include "maintenance/gui/TdlgMemo.h"

#include "maintenance/VersionHistory.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

TdlgMemo::TdlgMemo(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("dlgMemo"));
    setWindowTitle(QStringLiteral("Storico delle versioni"));
    setModal(true);

    Memo1 = new QTextBrowser(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setOpenLinks(false);
    Memo1->setHtml(VersionHistory::html());

    bOK = new QPushButton(QStringLiteral("OK"), this);
    bOK->setObjectName(QStringLiteral("bOK"));
    bOK->setDefault(true);
    connect(bOK, &QPushButton::clicked, this, &QDialog::accept);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bOK);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Memo1);
    layout->addLayout(buttons);
    resize(380, 300);
}
