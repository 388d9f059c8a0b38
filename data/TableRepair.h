#pragma once

#include <QString>
#include <functional>

// Rebuilds a damaged table file from every row that can still be read. The damaged original is
// kept beside it under a name that does not end in .DAT or .IDX, for instance
// RICHIEDENTI.DAT.danneggiato-20261211-0930. The table is known by the file's name.
class TableRepair
{
public:
    using Progress = std::function<void(int percent)>;

    struct Result
    {
        bool ok = false;
        qint64 rowsRecovered = 0;
        QString keptOriginal; // path of the damaged original, empty when nothing was moved
        QString error;        // why the repair failed
    };

    static Result repair(const QString &tableFilePath, const Progress &progress = {});
};
