#pragma once

#include "data/Globals.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

// The public body's settings: edits filled from DatiEnte when shown, checked and stored by "Salva".
class TdlgImpostazioni : public QDialog
{
    Q_OBJECT
public:
    explicit TdlgImpostazioni(QWidget *parent = nullptr);

    QLineEdit *edenom, *eindirizzo, *ecap, *ecitta, *eBelf, *eprov, *ecodfisc, *etel, *efax, *eemail, *eresp;
    QPushButton *bSalvaConf, *bAnnullaConf;

    // What the edits hold now, as they stand.
    TDatiEnte typed() const;

public slots:
    void bSalvaConfClick();
    void bAnnullaConfClick();

protected:
    void showEvent(QShowEvent *event) override;
    void FormShow();
};
