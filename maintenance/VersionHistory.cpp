#include "maintenance/VersionHistory.h"

namespace VersionHistory {

QString html()
{
    struct Entry
    {
        const char *version;
        int year;
    };
    static const Entry entries[] = {{"2.00", 2008}, {"3.00", 2009}, {"4.00", 2010}, {"5.00", 2011}, {"6.00", 2012}};
    QString text;
    for (const Entry &e : entries) {
        const QString v = QString::fromLatin1(e.version);
        text += QStringLiteral("<b>Versione %1</b><br>Prima distribuzione della versione %1: anno %2.<br><br>").arg(v).arg(e.year);
    }
    return text;
}

} // namespace VersionHistory
