#pragma once

#include "maintenance/BackupRestoreView.h"
#include "tests/support/ScriptedUi.h"

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QStringList>

#include <zip.h>

// Records what a backup or a restore did to its page.
class RecordingView final : public BackupRestoreView
{
public:
    QStringList log;
    QList<int> progress;
    QList<bool> running; // every setRunning call, in order
    int clears = 0;

    void clearLog() override
    {
        log.clear();
        ++clears;
    }
    void appendLog(const QString &line) override { log << line; }
    void setProgress(int percent) override { progress << percent; }
    void setRunning(bool r) override { running << r; }
};

// Every file below a folder (hidden ones too) with its bytes, by path relative to the folder.
inline QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        files.insert(QDir(folder).relativeFilePath(path), f.readAll());
    }
    return files;
}

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes);
}

// Builds an archive with libzip from (entry name, data) pairs, as another program might have written it.
// `stored` keeps the data uncompressed, so that its bytes can be found and damaged in the file.
inline bool writeZip(const QString &path, const QList<QPair<QString, QByteArray>> &entries, bool stored = false)
{
    int error = 0;
    zip_t *za = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!za)
        return false;
    QList<QByteArray> keep; // the buffers must live until zip_close
    for (const auto &e : entries) {
        keep << e.second;
        zip_source_t *src = zip_source_buffer(za, keep.last().constData(), zip_uint64_t(keep.last().size()), 0);
        const zip_int64_t i = zip_file_add(za, e.first.toUtf8().constData(), src, ZIP_FL_ENC_UTF_8);
        if (i < 0) {
            zip_source_free(src);
            zip_discard(za);
            return false;
        }
        if (stored)
            zip_set_file_compression(za, zip_uint64_t(i), ZIP_CM_STORE, 0);
    }
    return zip_close(za) == 0;
}

struct ZipEntryInfo
{
    QString name;
    qint64 size;
    int method;
    QByteArray data;
};

// The entries of an archive, read with libzip.
inline QList<ZipEntryInfo> readZip(const QString &path)
{
    QList<ZipEntryInfo> out;
    int error = 0;
    zip_t *za = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!za)
        return out;
    for (zip_int64_t i = 0; i < zip_get_num_entries(za, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(za, zip_uint64_t(i), 0, &st);
        QByteArray data(qsizetype(st.size), '\0');
        zip_file_t *f = zip_fopen_index(za, zip_uint64_t(i), 0);
        if (f) {
            zip_fread(f, data.data(), st.size);
            zip_fclose(f);
        }
        out << ZipEntryInfo{QString::fromUtf8(st.name), qint64(st.size), int(st.comp_method), data};
    }
    zip_discard(za);
    return out;
}

inline void setAnswers(ScriptedUi &sui, const QList<bool> &answers)
{
    sui.answers.clear();
    for (bool a : answers)
        sui.answers.enqueue(a);
}
