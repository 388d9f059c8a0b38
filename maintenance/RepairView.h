#pragma once

#include <QString>

// What the repair loop drives on the repair dialog: Label1, ProgressGauge and Logs.
class RepairView
{
public:
    virtual ~RepairView() = default;
    virtual void setLabel(const QString &text) = 0;
    virtual void setGaugeVisible(bool visible) = 0;
    virtual void setGauge(int percent) = 0;
    virtual void appendLog(const QString &line) = 0;
};
