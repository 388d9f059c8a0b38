#pragma once

#include "maintenance/BackupRestoreView.h"
#include "maintenance/RepairView.h"

#include <QTextStream>

// The log of the maintenance pages, written to the results stream; progress is not shown.
class ConsoleLogView final : public BackupRestoreView, public RepairView
{
public:
    explicit ConsoleLogView(QTextStream &out) : m_out(out) {}
    void clearLog() override {}
    void appendLog(const QString &line) override { m_out << line << Qt::endl; }
    void setProgress(int) override {}
    void setRunning(bool) override {}
    void setLabel(const QString &) override {}
    void setGaugeVisible(bool) override {}
    void setGauge(int) override {}

private:
    QTextStream &m_out;
};
