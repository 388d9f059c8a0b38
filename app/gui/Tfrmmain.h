#pragma once

#include <QMainWindow>
#include <QPointer>

class DenunceListModel;
class QAction;
class QLabel;
class QTableView;
class QTabWidget;
class TdlgImpostazioni;

// The main window: three pages, the actions of every function, the list of communications.
class Tfrmmain : public QMainWindow
{
    Q_OBJECT
public:
    explicit Tfrmmain(QWidget *parent = nullptr);
    ~Tfrmmain() override;

    // The splash box to remove once the window is shown; seconds of each start-up wait.
    void setSplash(QWidget *splash) { m_splash = splash; }
    void setStartupWait(double seconds) { m_wait = seconds; }

    QTabWidget *pagine = nullptr;
    QLabel *htlbl1 = nullptr;
    QTableView *listadenunce = nullptr;
    DenunceListModel *listModel = nullptr;
    TdlgImpostazioni *dlgImpostazioni = nullptr;

    QAction *actConfigurazione, *actRichiedenti, *actRicerca, *actGuida, *actNormativa, *actInfo, *actSalvataggio,
        *actRipristino, *actRiparazione, *actAggiornamento, *actScrivici, *actStorico, *actUscita;

    static QString titleFormat() { return QStringLiteral(" Tarvido autorizzazioni e concessioni %1"); }

public slots:
    // The steps after the window is first shown; `today` is a day number.
    void FormShow(int today);
    void htlbl1AnchorClick(const QString &anchor);
    void listadenunceDblClick();
    void btnUscitaClick();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *buildMainPage();
    QWidget *buildTransmissionPage();
    QWidget *buildUtilityPage();
    QWidget *tile(QAction *action, const QString &text, const QString &name);
    void createActions();
    void currentRowChanged();
    void actInfoExecute();

    QPointer<QWidget> m_splash;
    double m_wait = 2.0;
    bool m_shown = false;
};
