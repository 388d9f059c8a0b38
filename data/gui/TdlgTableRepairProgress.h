#pragma once

#include "data/Tdm.h"

#include <QDialog>

class QLabel;
class QProgressBar;

// "Attendere prego ...": shown while a damaged table is repaired at start-up.
class TdlgTableRepairProgress : public QDialog, public RepairObserver
{
    Q_OBJECT
public:
    explicit TdlgTableRepairProgress(QWidget *parent = nullptr);
    void progress(const QString &tableFileName, int percent) override;

    QLabel *LabInfo = nullptr;
    QProgressBar *ProgressGauge = nullptr;
};
