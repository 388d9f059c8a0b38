#include "app/gui/TdlgAboutBox.h"

#include <QEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>

namespace {

// The product artwork: a document with a seal, drawn so that nothing outside the program is needed.
QPixmap artwork()
{
    QPixmap pm(360, 150);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 150);
    sky.setColorAt(0, QColor(0x1f, 0x6f, 0xc5));
    sky.setColorAt(1, QColor(0x0d, 0x3b, 0x73));
    p.setBrush(sky);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(0, 0, 360, 150), 10, 10);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(40, 25, 80, 100), 4, 4);
    p.setPen(QPen(QColor(0x9a, 0xb3, 0xd1), 3));
    for (int y = 45; y <= 95; y += 12)
        p.drawLine(52, y, 108, y);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xc8, 0x2d, 0x2d));
    p.drawEllipse(QPointF(110, 112), 16, 16);
    p.setPen(Qt::white);
    QFont f = p.font();
    f.setPointSize(26);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(140, 30, 210, 50), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Tarvido"));
    f.setPointSize(10);
    f.setBold(false);
    p.setFont(f);
    p.drawText(QRectF(142, 78, 210, 40), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Autorizzazioni\nlicenze e concessioni"));
    return pm;
}

} // namespace

TdlgAboutBox::TdlgAboutBox(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("dlgAboutBox"));
    setWindowTitle(QStringLiteral("Informazioni sul prodotto"));
    setStyleSheet(QStringLiteral("TdlgAboutBox { background: white; border: 1px solid #0d3b73; }"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    auto *picture = new QLabel(this);
    picture->setPixmap(artwork());
    picture->setAlignment(Qt::AlignCenter);
    layout->addWidget(picture);
    auto *title = new QLabel(QStringLiteral("Tarvido Autorizzazioni e Concessioni"), this);
    QFont tf = title->font();
    tf.setPointSize(tf.pointSize() + 3);
    tf.setBold(true);
    title->setFont(tf);
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
    ver = new QLabel(this);
    ver->setObjectName(QStringLiteral("ver"));
    ver->setAlignment(Qt::AlignCenter);
    layout->addWidget(ver);
    lChiudi = new QLabel(QStringLiteral("<a href=\"chiudi\">Chiudi finestra</a>"), this);
    lChiudi->setObjectName(QStringLiteral("lChiudi"));
    lChiudi->setAlignment(Qt::AlignRight);
    lChiudi->setCursor(Qt::PointingHandCursor);
    connect(lChiudi, &QLabel::linkActivated, this, &QDialog::accept);
    lChiudi->installEventFilter(this);
    layout->addWidget(lChiudi);
}

bool TdlgAboutBox::eventFilter(QObject *watched, QEvent *event)
{
    // The whole text "Chiudi finestra" is clickable, not only the glyphs of the link.
    if (watched == lChiudi && event->type() == QEvent::MouseButtonRelease) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
