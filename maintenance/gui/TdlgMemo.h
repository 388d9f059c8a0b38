#pragma once

#include <QDialog>

class QPushButton;
class QTextBrowser;

// "Storico delle versioni": the version history, read-only, with one OK button.
class TdlgMemo : public QDialog
{
    Q_OBJECT
public:
    explicit TdlgMemo(QWidget *parent = nullptr);

private:
    QTextBrowser *Memo1;
    QPushButton *bOK;
};
