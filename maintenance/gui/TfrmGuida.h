#pragma once

#include <QWidget>

class QPushButton;
class QTextBrowser;

// "Guida all'uso": the user guide delivered beside the program, in a window of its own that
// stays open beside the main window.
class TfrmGuida : public QWidget
{
    Q_OBJECT
public:
    // `indexFile`: the guide's first page.
    explicit TfrmGuida(const QString &indexFile, QWidget *parent = nullptr);

    QTextBrowser *browser() const { return Browser; }
    void home();

private:
    void follow(const QUrl &url);

    QString m_indexFile;
    QTextBrowser *Browser;
    QPushButton *bSommario;
    QPushButton *bIndietro;
    QPushButton *bAvanti;
    QPushButton *bBrowser;
};
