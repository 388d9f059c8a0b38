#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class Updater;

// "Aggiornamento via Internet": checks the update server for a newer version and, when the user
// agrees, downloads it and hands over to its setup program, which runs once the program has closed.
class TdlgUpdateBox : public QDialog
{
    Q_OBJECT
public:
    explicit TdlgUpdateBox(QWidget *parent = nullptr);
    ~TdlgUpdateBox() override;

    Updater *aup1() const { return m_aup1; }
    // The downloads are verified and the setup program waits for the program's end.
    bool handedOver() const { return m_handedOver; }

public slots:
    void bVerificaClick();
    void done(int result) override;

private:
    void restoreCursor();
    void aup1BeginUpgrade();
    void aup1NoUpdateAvailable();
    void aup1NoInfoFile();
    void aup1HostUnreachable();
    void aup1Aborted();
    void aup1FileStart();
    void aup1Progress(int currentFilePercent);
    void handOver(const QStringList &files);

    QLabel *Label1;
    QPushButton *bVerifica;
    QProgressBar *ProgressBar1;
    QPushButton *buscita;
    Updater *m_aup1;
    bool m_busy = false;
    bool m_handedOver = false;
};
