#include "data/gui/TdlgTableRepairProgress.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

TdlgTableRepairProgress::TdlgTableRepairProgress(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("dlgTableRepairProgress"));
    setWindowTitle(QStringLiteral("Attendere prego ..."));
    LabInfo = new QLabel(this);
    LabInfo->setObjectName(QStringLiteral("LabInfo"));
    QFont f = LabInfo->font();
    f.setBold(true);
    LabInfo->setFont(f);
    ProgressGauge = new QProgressBar(this);
    ProgressGauge->setObjectName(QStringLiteral("ProgressGauge"));
    ProgressGauge->setRange(0, 100);
    ProgressGauge->setValue(0);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(LabInfo);
    layout->addWidget(ProgressGauge);
    setMinimumWidth(380);
}

void TdlgTableRepairProgress::progress(const QString &tableFileName, int percent)
{
    if (!isVisible())
        show();
    LabInfo->setText(QStringLiteral(" Riparazione Tabella ") + tableFileName + QStringLiteral("..."));
    ProgressGauge->setValue(percent);
    QApplication::processEvents();
}
