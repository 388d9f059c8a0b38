#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Writes and reads the backup archives: standard zip files holding table files side by side.
// Failures raise ZipError; a failure never leaves a half-written archive under the chosen name, nor a
// half-restored data folder.
class ZipArchive
{
public:
    struct Callbacks
    {
        std::function<void(const QString &path)> fileStarted; // native path of the file being added or written
        std::function<void(int percent)> totalPercent;         // 0..100 over the whole operation
    };

    // Adds every file of `folder` (not its subfolders) whose name matches one of `masks` without regard
    // to case, under its bare name, deflated at level 9. The archive is written into a temporary file
    // beside `archivePath` and takes that name only once complete, replacing a file already there.
    // Returns the number of files archived.
    static int create(const QString &archivePath, const QString &folder, const QStringList &masks,
                      const Callbacks &callbacks = {});

    // Unpacks every entry of the archive into `folder` under its bare name, replacing files of the same
    // name and leaving the others alone. Every entry is first read into a staging folder and checked
    // (size and CRC); only when all were read completely are the files of `folder` replaced, so a failure
    // leaves `folder` as it was. Returns the number of entries written.
    static int extract(const QString &archivePath, const QString &folder, const Callbacks &callbacks = {});

    // The name an entry is written under: its last path component, whatever folders, drive letters or
    // separators it carries; empty when the entry must be skipped (a folder, an empty or dot name, a
    // name that no file may carry).
    static QString safeEntryName(const QString &entryName);
};
