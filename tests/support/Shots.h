#pragma once

#include <QString>

class QWidget;

// Saves a picture of the widget as $TARVIDO_SHOTS/<name>.png when that variable names a folder,
// so that windows built in tests can be looked at.
void saveShot(QWidget *widget, const QString &name);
