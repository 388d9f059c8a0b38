#include "maintenance/ZipArchive.h"

#include "maintenance/ZipError.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

#include <exception>
#include <memory>
#include <vector>

#include <zip.h>

namespace {

QByteArray encodedPath(const QString &path)
{
#ifdef Q_OS_WIN
    // libzip takes UTF-8 file names on Windows.
    return QDir::toNativeSeparators(path).toUtf8();
#else
    return QFile::encodeName(path);
#endif
}

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString reason(const zip_error_t *error)
{
    switch (zip_error_code_zip(error)) {
    case ZIP_ER_NOZIP: return QStringLiteral("il file non è un archivio zip oppure è danneggiato");
    case ZIP_ER_INCONS: return QStringLiteral("l'archivio è danneggiato");
    case ZIP_ER_CRC: return QStringLiteral("i dati dell'archivio sono danneggiati (errore di CRC)");
    case ZIP_ER_ZLIB:
    case ZIP_ER_COMPRESSED_DATA: return QStringLiteral("i dati compressi dell'archivio sono danneggiati");
    case ZIP_ER_EOF: return QStringLiteral("l'archivio è troncato");
    case ZIP_ER_READ: return QStringLiteral("errore di lettura");
    case ZIP_ER_WRITE:
    case ZIP_ER_CLOSE: return QStringLiteral("errore di scrittura (disco pieno o non pronto?)");
    case ZIP_ER_OPEN:
    case ZIP_ER_NOENT: return QStringLiteral("impossibile aprire il file");
    case ZIP_ER_TMPOPEN: return QStringLiteral("impossibile creare il file temporaneo");
    case ZIP_ER_RENAME: return QStringLiteral("impossibile rinominare il file temporaneo");
    case ZIP_ER_MEMORY: return QStringLiteral("memoria insufficiente");
    case ZIP_ER_MULTIDISK: return QStringLiteral("gli archivi su più dischi non sono gestiti");
    case ZIP_ER_COMPNOTSUPP: return QStringLiteral("metodo di compressione non gestito");
    case ZIP_ER_ENCRNOTSUPP:
    case ZIP_ER_NOPASSWD:
    case ZIP_ER_WRONGPASSWD: return QStringLiteral("l'archivio è protetto da password");
    default: break;
    }
    return QString::fromLocal8Bit(zip_error_strerror(const_cast<zip_error_t *>(error)));
}

QString reasonForCode(int code)
{
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const QString text = reason(&error);
    zip_error_fini(&error);
    return text;
}

// State shared by the sources of one archive being written.
struct WriteState
{
    const ZipArchive::Callbacks *callbacks = nullptr;
    qint64 totalBytes = 0;
    qint64 doneBytes = 0;
    int lastPercent = -1;
    std::exception_ptr failure; // raised by a callback; rethrown once libzip has let go

    bool report(zip_error_t *error, const std::function<void()> &call)
    {
        try {
            call();
            return true;
        } catch (...) {
            failure = std::current_exception();
            zip_error_set(error, ZIP_ER_CANCELLED, 0);
            return false;
        }
    }
};

// A file read through Qt (portable paths) that announces itself when libzip starts compressing it.
struct FileSource
{
    WriteState *state;
    QString path;
    qint64 size;
    time_t mtime;
    QFile file;
    zip_error_t error;

    FileSource(WriteState *s, const QFileInfo &info)
        : state(s), path(info.absoluteFilePath()), size(info.size()),
          mtime(time_t(info.lastModified().toSecsSinceEpoch())), file(path)
    {
        zip_error_init(&error);
    }
    ~FileSource() { zip_error_fini(&error); }
};

zip_int64_t fileSourceCallback(void *userdata, void *data, zip_uint64_t len, zip_source_cmd_t cmd)
{
    auto *s = static_cast<FileSource *>(userdata);
    WriteState *st = s->state;
    switch (cmd) {
    case ZIP_SOURCE_OPEN:
        if (st->callbacks->fileStarted && !st->report(&s->error, [&] { st->callbacks->fileStarted(native(s->path)); }))
            return -1;
        if (!s->file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
            zip_error_set(&s->error, ZIP_ER_OPEN, 0);
            return -1;
        }
        return 0;
    case ZIP_SOURCE_READ: {
        const qint64 n = s->file.read(static_cast<char *>(data), qint64(len));
        if (n < 0) {
            zip_error_set(&s->error, ZIP_ER_READ, 0);
            return -1;
        }
        st->doneBytes += n;
        if (st->callbacks->totalPercent && st->totalBytes > 0) {
            const int percent = int(qMin<qint64>(100, st->doneBytes * 100 / st->totalBytes));
            if (percent != st->lastPercent) {
                st->lastPercent = percent;
                if (!st->report(&s->error, [&] { st->callbacks->totalPercent(percent); }))
                    return -1;
            }
        }
        return n;
    }
    case ZIP_SOURCE_CLOSE:
        s->file.close();
        return 0;
    case ZIP_SOURCE_STAT: {
        auto *stat = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, len, &s->error);
        if (!stat)
            return -1;
        zip_stat_init(stat);
        stat->valid = ZIP_STAT_SIZE | ZIP_STAT_MTIME;
        stat->size = zip_uint64_t(s->size);
        stat->mtime = s->mtime;
        return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&s->error, data, len);
    case ZIP_SOURCE_FREE:
        delete s;
        return 0;
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                              ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, -1);
    default:
        zip_error_set(&s->error, ZIP_ER_OPNOTSUPP, 0);
        return -1;
    }
}

bool isReservedDeviceName(const QString &name)
{
    const QString base = name.section(QLatin1Char('.'), 0, 0).trimmed().toUpper();
    static const QSet<QString> devices = {QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"),
                                          QStringLiteral("NUL")};
    if (devices.contains(base))
        return true;
    return base.size() == 4 && (base.startsWith(QLatin1String("COM")) || base.startsWith(QLatin1String("LPT")))
           && base.at(3) >= QLatin1Char('1') && base.at(3) <= QLatin1Char('9');
}

constexpr Qt::CaseSensitivity fileNameCase =
#ifdef Q_OS_WIN
    Qt::CaseInsensitive;
#else
    Qt::CaseSensitive;
#endif

} // namespace

QString ZipArchive::safeEntryName(const QString &entryName)
{
    QString name = entryName;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    name = name.section(QLatin1Char('/'), -1);
    name = name.section(QLatin1Char(':'), -1); // a drive ("C:X.DAT") or a stream name
    if (name.isEmpty() || name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        return QString(); // ".", "..", and names Windows would silently cut
    for (const QChar c : name) {
        if (c.unicode() < 32 || QStringLiteral("<>\"|?*").contains(c))
            return QString();
    }
    if (isReservedDeviceName(name))
        return QString();
    return name;
}

int ZipArchive::create(const QString &archivePath, const QString &folder, const QStringList &masks,
                       const Callbacks &callbacks)
{
    const QFileInfoList files =
        QDir(folder).entryInfoList(masks, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    // An archive without entries is not written at all by libzip: say so rather than report success.
    if (files.isEmpty())
        throw ZipError(QStringLiteral("Nessun file da salvare nella cartella %1").arg(native(folder)));

    WriteState state;
    state.callbacks = &callbacks;
    for (const QFileInfo &f : files)
        state.totalBytes += f.size();

    // libzip writes into a temporary file beside the archive and renames it over the archive's name only
    // when everything was written: a failure leaves a file already there untouched and no half archive.
    int code = 0;
    zip_t *za = zip_open(encodedPath(archivePath).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!za)
        throw ZipError(QStringLiteral("Impossibile creare l'archivio %1: %2").arg(native(archivePath), reasonForCode(code)));

    auto fail = [&](const QString &what) {
        const QString text = QStringLiteral("%1 %2: %3").arg(what, native(archivePath), reason(zip_get_error(za)));
        zip_discard(za);
        if (state.failure)
            std::rethrow_exception(state.failure);
        throw ZipError(text);
    };

    for (const QFileInfo &f : files) {
        auto *source = new FileSource(&state, f);
        zip_source_t *src = zip_source_function(za, fileSourceCallback, source);
        if (!src) {
            delete source;
            fail(QStringLiteral("Errore durante la scrittura dell'archivio"));
        }
        const zip_int64_t index = zip_file_add(za, f.fileName().toUtf8().constData(), src, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(src);
            fail(QStringLiteral("Errore durante la scrittura dell'archivio"));
        }
        if (zip_set_file_compression(za, zip_uint64_t(index), ZIP_CM_DEFLATE, 9) < 0)
            fail(QStringLiteral("Errore durante la scrittura dell'archivio"));
    }
    if (zip_close(za) < 0)
        fail(QStringLiteral("Errore durante la scrittura dell'archivio"));
    if (callbacks.totalPercent && state.lastPercent != 100)
        callbacks.totalPercent(100);
    return int(files.size());
}

int ZipArchive::extract(const QString &archivePath, const QString &folder, const Callbacks &callbacks)
{
    int code = 0;
    zip_t *za = zip_open(encodedPath(archivePath).constData(), ZIP_RDONLY, &code);
    if (!za)
        throw ZipError(QStringLiteral("Impossibile leggere l'archivio %1: %2").arg(native(archivePath), reasonForCode(code)));
    const std::unique_ptr<zip_t, void (*)(zip_t *)> archive(za, zip_discard);
    auto fail = [&](const QString &text, const zip_error_t *error) {
        throw ZipError(QStringLiteral("Errore durante la lettura dell'archivio %1: %2: %3")
                           .arg(native(archivePath), text, reason(error)));
    };

    struct Entry
    {
        zip_uint64_t index;
        QString name;
        zip_uint64_t size;
        time_t mtime;
        bool hasSize;
        bool hasTime;
    };
    std::vector<Entry> entries;
    qint64 totalBytes = 0;
    const zip_int64_t count = zip_get_num_entries(za, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        if (zip_stat_index(za, zip_uint64_t(i), 0, &st) < 0)
            fail(QStringLiteral("elemento %1").arg(i + 1), zip_get_error(za));
        const QString name = safeEntryName(QString::fromUtf8(st.name));
        if (name.isEmpty())
            continue;
        const bool hasSize = st.valid & ZIP_STAT_SIZE;
        entries.push_back({zip_uint64_t(i), name, hasSize ? st.size : 0, st.mtime, hasSize, bool(st.valid & ZIP_STAT_MTIME)});
        totalBytes += qint64(hasSize ? st.size : 0);
    }

    const QDir dest(folder);
    // Inside the data folder, so that the files move into place by renaming; a dot name keeps the
    // table listing and the backup masks away from it.
    QTemporaryDir staging(dest.filePath(QStringLiteral(".ripristino-XXXXXX")));
    if (!staging.isValid())
        throw ZipError(QStringLiteral("Impossibile creare una cartella temporanea in %1: %2").arg(native(folder), staging.errorString()));
    const QDir stage(staging.path());

    qint64 doneBytes = 0;
    int lastPercent = -1;
    auto progress = [&] {
        const int percent = totalBytes > 0 ? int(qMin<qint64>(100, doneBytes * 100 / totalBytes)) : 0;
        if (callbacks.totalPercent && percent != lastPercent)
            callbacks.totalPercent(lastPercent = percent);
    };
    progress();

    QStringList names; // distinct names, in archive order; a later entry of the same name wins
    std::vector<char> buffer(256 * 1024);
    for (const Entry &e : entries) {
        if (callbacks.fileStarted)
            callbacks.fileStarted(native(dest.filePath(e.name)));
        zip_file_t *zf = zip_fopen_index(za, e.index, 0);
        if (!zf)
            fail(e.name, zip_get_error(za));
        const std::unique_ptr<zip_file_t, int (*)(zip_file_t *)> entryFile(zf, zip_fclose);
        QFile out(stage.filePath(e.name));
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw ZipError(QStringLiteral("Impossibile scrivere il file %1: %2").arg(native(out.fileName()), out.errorString()));
        zip_uint64_t read = 0;
        for (;;) {
            const zip_int64_t n = zip_fread(zf, buffer.data(), buffer.size());
            if (n < 0)
                fail(e.name, zip_file_get_error(zf));
            if (n == 0)
                break;
            if (out.write(buffer.data(), n) != n)
                throw ZipError(QStringLiteral("Errore durante la scrittura del file %1: %2").arg(native(out.fileName()), out.errorString()));
            read += zip_uint64_t(n);
            doneBytes += n;
            progress();
        }
        if (e.hasSize && read != e.size)
            throw ZipError(QStringLiteral("Errore durante la lettura dell'archivio %1: %2: %3")
                               .arg(native(archivePath), e.name, reasonForCode(ZIP_ER_EOF)));
        if (!out.flush())
            throw ZipError(QStringLiteral("Errore durante la scrittura del file %1: %2").arg(native(out.fileName()), out.errorString()));
        if (e.hasTime)
            out.setFileTime(QDateTime::fromSecsSinceEpoch(e.mtime), QFileDevice::FileModificationTime);
        out.close();
        bool known = false;
        for (const QString &n : std::as_const(names))
            known = known || n.compare(e.name, fileNameCase) == 0;
        if (!known)
            names << e.name;
    }

    // Everything was read: put the files in place. The files they replace (and a rollback journal that
    // belonged to them) wait in the staging folder until all are in place, and go back on a failure.
    const QString aside = stage.filePath(QStringLiteral(".sostituiti"));
    if (!QDir().mkpath(aside))
        throw ZipError(QStringLiteral("Impossibile creare una cartella temporanea in %1").arg(native(folder)));
    struct Step
    {
        QString name;
        bool movedOld = false;
        bool movedJournal = false;
        bool placed = false;
    };
    std::vector<Step> steps;
    auto rollback = [&] {
        for (auto it = steps.rbegin(); it != steps.rend(); ++it) {
            const QString target = dest.filePath(it->name);
            if (it->placed)
                QFile::remove(target);
            if (it->movedOld)
                QFile::rename(QDir(aside).filePath(it->name), target);
            if (it->movedJournal)
                QFile::rename(QDir(aside).filePath(it->name + QStringLiteral("-journal")), target + QStringLiteral("-journal"));
        }
    };
    for (const QString &name : std::as_const(names)) {
        const QString target = dest.filePath(name);
        const QString journal = target + QStringLiteral("-journal");
        steps.push_back({name});
        Step &step = steps.back();
        if (QFileInfo::exists(target) || QFileInfo(target).isSymLink()) {
            step.movedOld = QFile::rename(target, QDir(aside).filePath(name));
            if (!step.movedOld) {
                rollback();
                throw ZipError(QStringLiteral("Impossibile sostituire il file %1").arg(native(target)));
            }
        }
        if (QFileInfo::exists(journal)) {
            step.movedJournal = QFile::rename(journal, QDir(aside).filePath(name + QStringLiteral("-journal")));
            if (!step.movedJournal) {
                rollback();
                throw ZipError(QStringLiteral("Impossibile sostituire il file %1").arg(native(journal)));
            }
        }
        step.placed = QFile::rename(stage.filePath(name), target);
        if (!step.placed) {
            rollback();
            throw ZipError(QStringLiteral("Impossibile sostituire il file %1").arg(native(target)));
        }
    }
    doneBytes = totalBytes;
    if (callbacks.totalPercent && lastPercent != 100)
        callbacks.totalPercent(100);
    return int(entries.size());
}
