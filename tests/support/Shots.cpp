#include "tests/support/Shots.h"

#include <QDir>
#include <QPixmap>
#include <QWidget>

void saveShot(QWidget *widget, const QString &name)
{
    const QString dir = qEnvironmentVariable("TARVIDO_SHOTS");
    if (dir.isEmpty() || !widget)
        return;
    QDir().mkpath(dir);
    widget->grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
}
