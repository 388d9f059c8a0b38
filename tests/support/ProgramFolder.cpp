#include "tests/support/ProgramFolder.h"

#include "data/Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>

namespace {
// Laying out COMUNI from its CSV takes a moment: do it once and copy the files.
QString templateDataDir()
{
    static QTemporaryDir dir;
    static QMutex mutex;
    QMutexLocker lock(&mutex);
    static bool done = false;
    if (!done) {
        Schema::layOutDataFolder(dir.path() + QStringLiteral("/dati"), ProgramFolder::resourcesDir());
        done = true;
    }
    return dir.path() + QStringLiteral("/dati");
}
} // namespace

ProgramFolder::ProgramFolder()
{
    QDir().mkpath(dataPath());
    const QDir src(templateDataDir());
    for (const QString &f : src.entryList(QDir::Files))
        QFile::copy(src.filePath(f), dataPath() + f);
}

QString ProgramFolder::path() const
{
    return QDir::cleanPath(m_dir.path()) + QLatin1Char('/');
}

QString ProgramFolder::dataPath() const
{
    return path() + QStringLiteral("dati/");
}

QString ProgramFolder::sourceDir()
{
    return QStringLiteral(TARVIDO_SOURCE_DIR);
}

QString ProgramFolder::resourcesDir()
{
    return sourceDir() + QStringLiteral("/resources");
}

void ProgramFolder::addDelivered(const QString &relativeToResources, const QString &as) const
{
    const QString target = path() + (as.isEmpty() ? QFileInfo(relativeToResources).fileName() : as);
    QFile::remove(target);
    QFile::copy(resourcesDir() + QLatin1Char('/') + relativeToResources, target);
}
