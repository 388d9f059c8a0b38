#pragma once

#include "maintenance/UpdateInfo.h"

#include <QCryptographicHash>
#include <QObject>
#include <QPointer>
#include <QSslCertificate>
#include <QStringList>
#include <QTimer>
#include <QUrl>

#include <memory>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;
class QSaveFile;

// The update component: fetches the info file, compares its version with the program's, asks the
// upgrade question, downloads and verifies the listed files. It works in the background on the
// thread it lives on (the user-interface thread): start() returns at once and every outcome comes
// back as a signal. Each check ends with exactly one of noUpdateAvailable, noInfoFile,
// hostUnreachable, aborted, upgradeDeclined, filesReady (or, when downloads are off, right after
// beginUpgrade), followed by finished().
class Updater : public QObject
{
    Q_OBJECT
public:
    enum class Outcome { None, NoUpdate, NoInfoFile, HostUnreachable, Aborted, Declined, UpdateAvailable, Downloaded };
    Q_ENUM(Outcome)

    explicit Updater(QObject *parent = nullptr);
    ~Updater() override;

    // The info file's place on a server whose base address is `server` (scheme, host, optional
    // port): server + "/swupdates/Tarvido/release.inf". An address without a scheme is taken as http.
    static QUrl infoFileUrlFor(const QString &server);
    static QString infoFilePath() { return QStringLiteral("/swupdates/Tarvido/release.inf"); }
    // The info file of the server configured in the program folder's TARVIDO.INI (section
    // AGGIORNAMENTI, key SERVER); empty when none is configured.
    static QUrl configuredInfoFileUrl(const QString &appPath);
    // Said instead of checking when no server is configured.
    static QString notConfiguredMessage();
    // Where the GUI keeps downloaded files until the setup program has run.
    static QString defaultDownloadFolder();

    void setInfoFileUrl(const QUrl &url) { m_infoFileUrl = url; }
    QUrl infoFileUrl() const { return m_infoFileUrl; }
    void setVersionNumber(const QString &version) { m_versionNumber = version; }
    QString versionNumber() const { return m_versionNumber; }
    void setDownloadFolder(const QString &folder) { m_downloadFolder = folder; }
    QString downloadFolder() const { return m_downloadFolder; }
    // Ask the upgrade question through the Ui seam before downloading (default true).
    void setAskUpgrade(bool ask) { m_askUpgrade = ask; }
    // Download after a newer version was found (default true); off, a check ends after beginUpgrade.
    void setDownloadEnabled(bool enabled) { m_downloadEnabled = enabled; }
    // Try https first on a server configured with http (default true).
    void setPreferHttps(bool prefer) { m_preferHttps = prefer; }
    // Certificates trusted besides the system's (an update server with a private authority).
    void addCaCertificates(const QList<QSslCertificate> &certificates) { m_extraCa += certificates; }

    // Bounds, so that a slow, endless or looping server always ends in a message.
    void setInfoTimeout(int ms) { m_infoTimeoutMs = ms; }   // whole info file, per attempt
    void setHttpsProbeTimeout(int ms) { m_probeTimeoutMs = ms; }
    void setStallTimeout(int ms) { m_stallTimeoutMs = ms; } // no byte of a download for this long
    void setMaxInfoFileSize(qint64 bytes) { m_maxInfoSize = bytes; }
    void setMaxFileSize(qint64 bytes) { m_maxFileSize = bytes; }
    void setMaxRedirects(int n) { m_maxRedirects = n; }

    // Starts a check; false (and nothing started) while a check or download is running.
    bool start();
    bool isRunning() const { return m_state != State::Idle; }
    // Abandons a running check or download quietly: no signal; the files of the unfinished
    // download are removed.
    void cancel();

    // Of the latest check.
    Outcome outcome() const { return m_outcome; }
    std::optional<UpdateInfo> info() const { return m_info; }
    QStringList downloadedFiles() const { return m_done; }
    QUrl usedInfoFileUrl() const { return m_usedInfoUrl; }
    // Why a check ended as it did, in a few words (for the administration tool).
    QString detail() const { return m_detail; }

signals:
    void beginUpgrade(const QString &version, const QString &message);
    void noUpdateAvailable();
    void noInfoFile();
    void hostUnreachable();
    void aborted();
    void upgradeDeclined();
    void fileStart(const QUrl &url, int index, int count);
    void progress(int currentFilePercent, int totalPercent);
    void filesReady(const QStringList &paths);
    void finished(Updater::Outcome outcome);

private:
    enum class State { Idle, Info, Asking, Download };

    void fetchInfo(const QUrl &url, bool probe);
    void infoFinished(QNetworkReply *reply);
    void handleInfo(const QByteArray &bytes, const QUrl &from);
    void downloadNext();
    void downloadFinished(QNetworkReply *reply);
    void dropReply();
    void removeDownloads();
    void end(Outcome outcome, void (Updater::*signal)(), const QString &detail);
    QNetworkReply *get(const QUrl &url);
    QUrl preferredUrl(const QUrl &url) const;

    QNetworkAccessManager *m_nam;
    QUrl m_infoFileUrl;
    QString m_versionNumber;
    QString m_downloadFolder;
    bool m_askUpgrade = true;
    bool m_downloadEnabled = true;
    bool m_preferHttps = true;
    int m_infoTimeoutMs = 30000;
    int m_probeTimeoutMs = 10000;
    int m_stallTimeoutMs = 60000;
    qint64 m_maxInfoSize = 64 * 1024;
    qint64 m_maxFileSize = qint64(2) * 1024 * 1024 * 1024;
    int m_maxRedirects = 5;
    QList<QSslCertificate> m_extraCa;

    State m_state = State::Idle;
    Outcome m_outcome = Outcome::None;
    QString m_detail;
    QPointer<QNetworkReply> m_reply;
    QTimer m_timer;
    bool m_timedOut = false;
    bool m_tooLarge = false;
    bool m_probing = false;
    QString m_httpsHost; // a host that answered over https in this check
    QByteArray m_buffer;
    QUrl m_usedInfoUrl;
    std::optional<UpdateInfo> m_info;
    int m_fileIndex = 0;
    std::unique_ptr<QSaveFile> m_out;
    QCryptographicHash m_hash{QCryptographicHash::Sha256};
    qint64 m_received = 0;
    QStringList m_done;
};
