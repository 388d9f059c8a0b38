#pragma once

#include <QString>
#include <functional>

// Rebuilds a damaged table file from every row that can still be read. The damaged original is
// kept beside it under a name that does not end in .DAT or .IDX, for instance
// RICHIEDENTI.DAT.danneggiato-20261211-0930. A sound table only has its indexes rebuilt and its file
// compacted in place, and no copy is kept. The table is known by the file's name.
class TableRepair
{
public:
    using Progress = std::function<void(int percent)>;

    struct Result
    {
        bool ok = false;
        qint64 rowsRecovered = 0; // -1 when the table was sound and rebuilt in place
        QString keptOriginal; // path of the damaged original, empty when nothing was moved
        QString error;        // why the repair failed
    };

    static Result repair(const QString &tableFilePath, const Progress &progress = {});
};
