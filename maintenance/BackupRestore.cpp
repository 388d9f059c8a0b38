#include "maintenance/BackupRestore.h"

#include "data/Ui.h"
#include "maintenance/BackupRestoreView.h"
#include "maintenance/ZipArchive.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Puts the page back however an operation ends: enabled, bar at 0 and hidden, normal cursor.
class PageGuard
{
public:
    explicit PageGuard(BackupRestoreView &view) : m_view(view)
    {
        ui().setBusy(true);
        m_view.setRunning(true);
        m_view.clearLog();
    }
    ~PageGuard()
    {
        m_view.setRunning(false);
        ui().setBusy(false);
    }
    PageGuard(const PageGuard &) = delete;
    PageGuard &operator=(const PageGuard &) = delete;

private:
    BackupRestoreView &m_view;
};

ZipArchive::Callbacks callbacksFor(BackupRestoreView &view, const QString &filePrefix)
{
    ZipArchive::Callbacks c;
    c.fileStarted = [&view, filePrefix](const QString &path) {
        view.appendLog(filePrefix + path);
        ui().processEvents();
    };
    c.totalPercent = [&view](int percent) {
        view.setProgress(percent);
        ui().processEvents();
    };
    return c;
}

// The folder part of a path, with its trailing separator ("" when it has none).
QString folderPart(const QString &path)
{
    int cut = path.lastIndexOf(QLatin1Char('/'));
#ifdef Q_OS_WIN
    cut = qMax(cut, path.lastIndexOf(QLatin1Char(':'))); // "C:ARCHIVIO.ZIP"
#endif
    return path.left(cut + 1);
}

} // namespace

bool BackupRestore::IsFloppyPath(const QString &path)
{
    const QString drive = path.left(2).toUpper();
    return drive == QLatin1String("A:") || drive == QLatin1String("B:");
}

bool BackupRestore::floppyOffered()
{
#ifdef Q_OS_WIN
    return true;
#else
    return false;
#endif
}

QString BackupRestore::ProposedName(bool floppy, bool includeDate, const QDate &today) const
{
    QString name = floppy ? QStringLiteral("A:\\") : QDir::toNativeSeparators(m_backupFolder);
    name += m_archiveBaseName;
    if (includeDate)
        name += QLatin1Char('_') + today.toString(QStringLiteral("ddMMyy"));
    return name + QLatin1Char('.') + m_archiveExtension;
}

QString BackupRestore::FileFilter() const
{
    return QStringLiteral("Backup files (*.%1)").arg(m_archiveExtension);
}

QString BackupRestore::RestoreBrowseFolder() const
{
    const QString backups = m_programFolder + QStringLiteral("Salvataggi");
    return QFileInfo(backups).isDir() ? backups : m_programFolder;
}

bool BackupRestore::RunBackup(const QString &archiveName, BackupRestoreView &view) const
{
    PageGuard guard(view);
    if (archiveName.trimmed().isEmpty()) {
        ui().messageBox(QStringLiteral("Errore"), QStringLiteral("Attenzione la directory di destinazione non non è valida."),
                        Ui::Icon::Error);
        return false;
    }
    const QString path = QDir::fromNativeSeparators(archiveName);
    const QString folder = folderPart(path);
    // A name without a folder lies in the current folder, which exists.
    if (!IsFloppyPath(archiveName) && !folder.isEmpty() && !QFileInfo(folder).isDir()) {
        const QString shown = QDir::toNativeSeparators(folder);
        if (!ui().askYesNo(QStringLiteral("Attenzione"),
                           QStringLiteral("Attenzione la directory ") + shown + QStringLiteral(" non esiste. Creare la directory?"),
                           Ui::Icon::Warning, false))
            return false;
        // One level only: the parent must exist already.
        if (!QDir().mkdir(folder)) {
            ui().messageBox(QStringLiteral("Errore"), QStringLiteral("Errore durante la creazione della directory ") + shown,
                            Ui::Icon::Error);
            return false;
        }
    }
    const QFileInfo existing(path);
    if (existing.exists() && !existing.isDir()) {
        if (!ui().askYesNo(QStringLiteral("Attenzione"),
                           QStringLiteral("Attenzione il file ") + archiveName + QStringLiteral(" già esiste. Sovrascrivere il file?"),
                           Ui::Icon::Warning, false))
            return false;
        // The old archive is replaced only once the new one is complete.
    }
    const int n = ZipArchive::create(path, m_dataFolder, m_filetypes, callbacksFor(view, QStringLiteral("Inserimento file...")));
    ui().messageBox(QStringLiteral("Salvataggio Archivio"),
                    QStringLiteral("Salvataggio archivio eseguito con successo.\rTotale files archiviati: ") + QString::number(n)
                        + QStringLiteral("\r\rArchivio di salvataggio scaricato in:\r") + archiveName,
                    Ui::Icon::Information);
    view.appendLog(QStringLiteral("Archivio di salvataggio salvato in:"));
    view.appendLog(archiveName);
    view.appendLog(QStringLiteral("Salvataggio terminato con successo."));
    return true;
}

bool BackupRestore::ConfirmRestore()
{
    return ui().askYesNo(QStringLiteral("Ripristino archivio di Backup"),
                         QStringLiteral("Attenzione tutti i dati dell'archivio\rcorrente saranno sostituiti con i dati di "
                                        "backup.\rContinuare con l'operazione di ripristino?"),
                         Ui::Icon::Warning, true);
}

bool BackupRestore::RunRestore(const QString &archiveName, BackupRestoreView &view) const
{
    PageGuard guard(view);
    const QString path = QDir::fromNativeSeparators(archiveName);
    if (!QFileInfo(path).isFile()) {
        ui().messageBox(QStringLiteral("Attenzione"), QStringLiteral("Attenzione il file ") + archiveName + QStringLiteral(" non esiste."),
                        Ui::Icon::Error);
        return false;
    }
    const int n = ZipArchive::extract(path, m_dataFolder, callbacksFor(view, QString()));
    ui().messageBox(QStringLiteral("Ripristino Archivio"),
                    QStringLiteral("Riristino archivio eseguito con successo.\rTotale files ripristinati: ") + QString::number(n),
                    Ui::Icon::Information);
    view.appendLog(QStringLiteral("Archivio ripristinato :") + archiveName);
    view.appendLog(QStringLiteral("Ripristino avvenuto con successo."));
    return true;
}
