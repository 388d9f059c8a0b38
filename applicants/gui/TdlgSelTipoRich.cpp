#include "applicants/gui/TdlgSelTipoRich.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

TdlgSelTipoRich::TdlgSelTipoRich(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("dlgSelTipoRich"));
    setWindowTitle(QStringLiteral("Tipo di richiesta"));
    auto *layout = new QVBoxLayout(this);
    auto *text = new QLabel(QStringLiteral("Scegliere il tipo di richiedente:"), this);
    layout->addWidget(text);
    auto *row = new QHBoxLayout;
    auto *persona = new QPushButton(QStringLiteral("Persona Fisica"), this);
    persona->setObjectName(QStringLiteral("bPersonaFisica"));
    auto *azienda = new QPushButton(QStringLiteral("Persona non fisica"), this);
    azienda->setObjectName(QStringLiteral("bPersonaNonFisica"));
    for (QPushButton *b : {persona, azienda}) {
        b->setMinimumSize(170, 56);
        b->setAutoDefault(false);
        row->addWidget(b);
    }
    persona->setIcon(style()->standardIcon(QStyle::SP_FileDialogInfoView));
    azienda->setIcon(style()->standardIcon(QStyle::SP_DirHomeIcon));
    layout->addLayout(row);
    connect(persona, &QPushButton::clicked, this, [this] { choose(QStringLiteral("P")); });
    connect(azienda, &QPushButton::clicked, this, [this] { choose(QStringLiteral("A")); });
    setFixedSize(sizeHint());
}

void TdlgSelTipoRich::choose(const QString &tipo)
{
    m_tipo = tipo;
    accept();
}

void TdlgSelTipoRich::reject()
{
}

void TdlgSelTipoRich::closeEvent(QCloseEvent *event)
{
    if (m_tipo.isEmpty())
        event->ignore();
    else
        QDialog::closeEvent(event);
}
