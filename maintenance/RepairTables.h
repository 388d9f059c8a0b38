#pragma once

#include <QString>
#include <QStringList>

class RepairView;

// The manual repair of table files: finding them, and repairing a list of them one after the other
// with the same rebuild the data module runs when a table fails to open.
class RepairTables
{
public:
    // Adds to `result` every file matching the mask of `maskPath` (a folder followed by a mask such as
    // "*.DAT", matched without regard to case) in that folder and its subfolders, as folder + name.
    // Folders whose name begins with "." and hidden folders are not searched, nor are links to folders.
    static void FindFilesRecursive(const QString &maskPath, QStringList &result);

    // The "*.DAT" files of a data folder and its subfolders, relative to it, sorted by name.
    static QStringList ListTables(const QString &dataFolder);

    // Repairs each item (a path relative to dataFolder) in order; one log line per item; a failure
    // gives its error line and the loop goes on. Returns the number of items that failed.
    static int Repair(const QString &dataFolder, const QStringList &items, RepairView &view);

    static QString okLine(const QString &tableName);
    static QString errorLine(const QString &tableName);
    static QString progressText(const QString &tableName);
};
