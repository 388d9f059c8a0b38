#include "maintenance/RepairTables.h"

#include "data/TableRepair.h"
#include "data/Ui.h"
#include "maintenance/RepairView.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

void RepairTables::FindFilesRecursive(const QString &maskPath, QStringList &result)
{
    const QString normal = QDir::fromNativeSeparators(maskPath);
    const int cut = normal.lastIndexOf(QLatin1Char('/'));
    QString folder = normal.left(cut + 1);
    const QString mask = normal.mid(cut + 1);
    if (folder.isEmpty())
        folder = QStringLiteral("./");
    const QDir dir(folder);

    ui().processEvents();
    // Hidden and read-only files too; folders and special files not.
    const QStringList files = dir.entryList({mask}, QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
    for (const QString &f : files)
        result << folder + f;
    ui().processEvents();

    const QFileInfoList subfolders = dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &sub : subfolders) {
        // A link could lead back up the tree and never end.
        if (!sub.fileName().startsWith(QLatin1Char('.')) && !sub.isSymLink() && !sub.isJunction())
            FindFilesRecursive(folder + sub.fileName() + QLatin1Char('/') + mask, result);
        ui().processEvents();
    }
}

QStringList RepairTables::ListTables(const QString &dataFolder)
{
    const QString folder = QDir::fromNativeSeparators(dataFolder).endsWith(QLatin1Char('/'))
                               ? QDir::fromNativeSeparators(dataFolder)
                               : QDir::fromNativeSeparators(dataFolder) + QLatin1Char('/');
    QStringList found;
    FindFilesRecursive(folder + QStringLiteral("*.DAT"), found);
    QStringList relative;
    for (const QString &f : std::as_const(found))
        relative << QDir::toNativeSeparators(f.mid(folder.size()));
    std::sort(relative.begin(), relative.end(),
              [](const QString &a, const QString &b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; });
    return relative;
}

QString RepairTables::okLine(const QString &tableName)
{
    return QStringLiteral("Tabella ") + tableName + QStringLiteral(": Riparata.");
}

QString RepairTables::errorLine(const QString &tableName)
{
    return QStringLiteral("Tabella ") + tableName + QStringLiteral(": Errore durante la riparazione.");
}

QString RepairTables::progressText(const QString &tableName)
{
    return QStringLiteral(" Riparazione Tabella ") + tableName + QStringLiteral("...");
}

int RepairTables::Repair(const QString &dataFolder, const QStringList &items, RepairView &view)
{
    int failed = 0;
    const QDir folder(QDir::fromNativeSeparators(dataFolder));
    for (const QString &item : items) {
        const QString relative = QDir::fromNativeSeparators(item);
        const QString tableName = relative.section(QLatin1Char('/'), -1);
        view.setLabel(tableName);
        BusyCursor busy;
        ui().processEvents();

        // Gauge hidden and back at 0 however this item ends.
        struct GaugeGuard
        {
            RepairView &v;
            ~GaugeGuard()
            {
                v.setGaugeVisible(false);
                v.setGauge(0);
            }
        } gauge{view};
        view.setGauge(0);
        view.setGaugeVisible(true);
        ui().processEvents();

        bool ok = false;
        try {
            ok = TableRepair::repair(folder.filePath(relative), [&](int percent) {
                     view.setLabel(progressText(tableName));
                     view.setGauge(percent);
                     ui().processEvents();
                 }).ok;
        } catch (const std::exception &) {
            ok = false; // reported by the log line, like every other failure of a repair
        }
        if (ok) {
            view.appendLog(okLine(tableName));
        } else {
            view.appendLog(errorLine(tableName));
            ++failed;
        }
    }
    return failed;
}
