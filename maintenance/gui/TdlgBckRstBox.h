#pragma once

#include "maintenance/BackupRestore.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QWidget;

// "Utilità": the backup page and the restore page, only the one chosen by StartPage visible.
// The caller sets the parameters between creating the dialog and showing it.
class TdlgBckRstBox : public QDialog
{
    Q_OBJECT
public:
    explicit TdlgBckRstBox(QWidget *parent = nullptr);
    ~TdlgBckRstBox() override;

    BackupRestore &params() { return m_params; }
    void setRestoreName(const QString &name);

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override;

private:
    class PageView;
    void optionsChanged();
    void browseBackup();
    void browseRestore();
    void runBackup();
    void runRestore();

    BackupRestore m_params;
    QTabWidget *m_pages = nullptr;
    QWidget *tsBackup = nullptr;
    QWidget *tsRestore = nullptr;
    QLineEdit *txtToFile = nullptr;
    QPushButton *bSfoglia = nullptr;
    QPushButton *bsalva = nullptr;
    QCheckBox *ceFloppy = nullptr;
    QCheckBox *ceIncludiData = nullptr;
    QProgressBar *pbBck = nullptr;
    QPlainTextEdit *meEsitoBck = nullptr;
    QLineEdit *txtFromFile = nullptr;
    QPushButton *bSfoglia2 = nullptr;
    QPushButton *bRipristina = nullptr;
    QProgressBar *pbrst = nullptr;
    QPlainTextEdit *meEsitoRst = nullptr;
    PageView *m_backupView = nullptr;
    PageView *m_restoreView = nullptr;
    int m_running = 0;
};
