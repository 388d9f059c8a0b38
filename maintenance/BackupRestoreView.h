#pragma once

#include <QString>

// The page of the Utilità dialog that a backup or a restore drives: its log, its progress bar and
// whether it can be used.
class BackupRestoreView
{
public:
    virtual ~BackupRestoreView() = default;
    virtual void clearLog() = 0;
    virtual void appendLog(const QString &line) = 0;
    virtual void setProgress(int percent) = 0;
    // true: the page is disabled and its bar shown at 0; false: the page is enabled, the bar at 0 and hidden.
    virtual void setRunning(bool running) = 0;
};
