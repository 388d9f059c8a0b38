#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

class BackupRestoreView;

// The work of the Utilità dialog: the proposed archive name, the backup and the restore with every
// refusal, question and message they show (through ui()).
class BackupRestore
{
public:
    enum Page { BackupPage = 0, RestorePage = 1 };

    int StartPage() const { return m_startPage; }
    void setStartPage(int page) { m_startPage = page; }
    QString ArchiveBaseName() const { return m_archiveBaseName; }
    void setArchiveBaseName(const QString &name) { m_archiveBaseName = name; }
    QString ArchiveExtension() const { return m_archiveExtension; }
    void setArchiveExtension(const QString &extension) { m_archiveExtension = extension; }
    QString BackupFolder() const { return m_backupFolder; }   // with a trailing separator
    void setBackupFolder(const QString &folder) { m_backupFolder = folder; }
    QString DataFolder() const { return m_dataFolder; }       // with a trailing separator
    void setDataFolder(const QString &folder) { m_dataFolder = folder; }
    QStringList filetypes() const { return m_filetypes; }
    void setFiletypes(const QStringList &masks) { m_filetypes = masks; }
    QString ProgramFolder() const { return m_programFolder; } // with a trailing separator
    void setProgramFolder(const QString &folder) { m_programFolder = folder; }

    // True for a path on drive A: or B:.
    static bool IsFloppyPath(const QString &path);
    // "Salva su floppy" is offered only where paths have drive letters.
    static bool floppyOffered();

    // Prefix ("A:\" or BackupFolder), base name, "_ddmmyy" when includeDate, "." extension.
    QString ProposedName(bool floppy, bool includeDate, const QDate &today = QDate::currentDate()) const;
    // The file choosers' filter, "Backup files (*.ZIP)".
    QString FileFilter() const;
    // Where the restore's file chooser starts: the program's Salvataggi folder when it exists.
    QString RestoreBrowseFolder() const;

    // Writes the archive named by the text of txtToFile; false when refused or answered No.
    // A failure of the archive writer propagates after the page has been restored.
    bool RunBackup(const QString &archiveName, BackupRestoreView &view) const;
    // The question before a restore; true means Yes.
    static bool ConfirmRestore();
    // Unpacks the archive named by the text of txtFromFile over DataFolder; false when refused.
    bool RunRestore(const QString &archiveName, BackupRestoreView &view) const;

private:
    int m_startPage = BackupPage;
    QString m_archiveBaseName;
    QString m_archiveExtension;
    QString m_backupFolder;
    QString m_dataFolder;
    QStringList m_filetypes;
    QString m_programFolder;
};
