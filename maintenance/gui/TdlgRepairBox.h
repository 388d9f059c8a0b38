#pragma once

#include "maintenance/RepairLists.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

// "Riparazione tabelle ...": the table files of a folder, the list of those to repair and the repair.
class TdlgRepairBox : public QDialog
{
    Q_OBJECT
public:
    explicit TdlgRepairBox(QWidget *parent = nullptr);
    ~TdlgRepairBox() override;

    // Lists the "*.DAT" files of the folder and its subfolders and shows the dialog modally.
    void ShowForFolder(const QString &folder);
    QString DataFolder() const { return m_dataFolder; }

protected:
    void reject() override;

private:
    class View;
    void fill(const QString &folder);
    void move(void (RepairLists::*step)());
    void showLists();
    void repair();

    QString m_dataFolder;
    RepairLists m_lists;
    QListWidget *SrcList = nullptr;
    QListWidget *DstList = nullptr;
    QPushButton *IncludeBtn = nullptr;
    QPushButton *IncAllBtn = nullptr;
    QPushButton *ExcludeBtn = nullptr;
    QPushButton *ExAllBtn = nullptr;
    QPushButton *btnRepair = nullptr;
    QPushButton *btnUscita = nullptr;
    QLabel *Label1 = nullptr;
    QProgressBar *ProgressGauge = nullptr;
    QPlainTextEdit *Logs = nullptr;
    View *m_view = nullptr;
    bool m_repairing = false;
};
