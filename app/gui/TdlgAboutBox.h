#pragma once

#include <QDialog>

class QLabel;

// The product information: the splash box at start-up and "Informazioni sul software".
class TdlgAboutBox : public QDialog
{
    Q_OBJECT
public:
    explicit TdlgAboutBox(QWidget *parent = nullptr);
    QLabel *ver = nullptr;
    QLabel *lChiudi = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
