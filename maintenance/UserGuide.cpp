#include "maintenance/UserGuide.h"

namespace UserGuide {

QString folder(const QString &appPath)
{
    return appPath + QStringLiteral("guida/");
}

QString indexFile(const QString &appPath)
{
    return folder(appPath) + QStringLiteral("index.html");
}

} // namespace UserGuide
