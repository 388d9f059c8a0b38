#include "maintenance/Updater.h"

#include "app/Settings.h"
#include "data/Globals.h"
#include "data/Ui.h"

#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QStandardPaths>

namespace {

// The system's proxy settings, except for this machine's own addresses, which no proxy reaches.
class SystemProxyFactory final : public QNetworkProxyFactory
{
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery &query) override
    {
        const QString host = query.peerHostName();
        if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0 || QHostAddress(host).isLoopback())
            return {QNetworkProxy(QNetworkProxy::NoProxy)};
        return systemProxyForQuery(query);
    }
};

// The connection failed or broke (as opposed to the server answering with something unusable).
bool connectionFailed(QNetworkReply *reply)
{
    const QNetworkReply::NetworkError e = reply->error();
    if (e == QNetworkReply::TooManyRedirectsError || e == QNetworkReply::InsecureRedirectError)
        return false;
    return (e >= QNetworkReply::ConnectionRefusedError && e <= QNetworkReply::UnknownNetworkError)
           || (e >= QNetworkReply::ProxyConnectionRefusedError && e <= QNetworkReply::UnknownProxyError)
           || (e != QNetworkReply::NoError && !reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid());
}

QString upgradeQuestion(const QString &version, const QString &installed, const QString &message)
{
    QString text = QStringLiteral("È disponibile la versione %1 del programma (versione in uso: %2).").arg(version, installed);
    if (!message.trimmed().isEmpty())
        text += QStringLiteral("\r\r") + message;
    text += QStringLiteral("\r\rScaricare ora l'aggiornamento? Al termine il programma verrà chiuso per installarlo.");
    return text;
}

} // namespace

Updater::Updater(QObject *parent)
    : QObject(parent), m_nam(new QNetworkAccessManager(this)), m_versionNumber(QString::fromLatin1(ProgramVersion)),
      m_downloadFolder(defaultDownloadFolder())
{
    m_nam->setProxyFactory(new SystemProxyFactory);
    m_nam->setAutoDeleteReplies(false);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_timedOut = true;
        if (m_reply)
            m_reply->abort();
    });
}

Updater::~Updater()
{
    cancel();
}

QUrl Updater::infoFileUrlFor(const QString &server)
{
    QString base = server.trimmed();
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    if (!base.contains(QStringLiteral("://")))
        base.prepend(QStringLiteral("http://"));
    return QUrl(base + infoFilePath());
}

QUrl Updater::configuredInfoFileUrl(const QString &appPath)
{
    const QString server = Settings::updateServer(appPath);
    return server.isEmpty() ? QUrl() : infoFileUrlFor(server);
}

QString Updater::notConfiguredMessage()
{
    return QStringLiteral("Indirizzo del server degli aggiornamenti non impostato: indicarlo nel file TARVIDO.INI "
                          "della cartella del programma (sezione AGGIORNAMENTI, chiave SERVER).");
}

QString Updater::defaultDownloadFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::TempLocation)).filePath(QStringLiteral("Tarvido-aggiornamento"));
}

bool Updater::start()
{
    if (m_state != State::Idle)
        return false;
    m_outcome = Outcome::None;
    m_detail.clear();
    m_info.reset();
    m_done.clear();
    m_httpsHost.clear();
    m_usedInfoUrl = QUrl();
    if (!m_infoFileUrl.isValid() || m_infoFileUrl.host().isEmpty()) {
        m_state = State::Info;
        // Still asynchronous: the caller sees the outcome as a signal, like any other.
        QTimer::singleShot(0, this, [this] {
            if (m_state != State::Info) // cancelled meanwhile
                return;
            end(Outcome::HostUnreachable, &Updater::hostUnreachable, QStringLiteral("indirizzo del server non valido: ") + m_infoFileUrl.toString());
        });
        return true;
    }
    m_state = State::Info;
    const bool probe = m_preferHttps && m_infoFileUrl.scheme().compare(QLatin1String("http"), Qt::CaseInsensitive) == 0
                       && QSslSocket::supportsSsl();
    if (probe) {
        QUrl https = m_infoFileUrl;
        https.setScheme(QStringLiteral("https"));
        fetchInfo(https, true);
    } else {
        fetchInfo(m_infoFileUrl, false);
    }
    return true;
}

void Updater::cancel()
{
    dropReply();
    if (m_out) {
        m_out->cancelWriting();
        m_out.reset();
    }
    // Files of a finished download stay for the setup program; those of a broken one go.
    if (m_state == State::Download)
        removeDownloads();
    m_state = State::Idle;
}

QNetworkReply *Updater::get(const QUrl &url)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(m_maxRedirects);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Tarvido/%1").arg(m_versionNumber));
    if (!m_extraCa.isEmpty()) {
        QSslConfiguration ssl = QSslConfiguration::defaultConfiguration();
        ssl.addCaCertificates(m_extraCa);
        request.setSslConfiguration(ssl);
    }
    m_timedOut = false;
    m_tooLarge = false;
    m_buffer.clear();
    m_reply = m_nam->get(request);
    return m_reply;
}

void Updater::dropReply()
{
    m_timer.stop();
    if (m_reply) {
        QNetworkReply *reply = m_reply;
        m_reply = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
}

void Updater::fetchInfo(const QUrl &url, bool probe)
{
    m_probing = probe;
    QNetworkReply *reply = get(url);
    connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > m_maxInfoSize) {
            m_tooLarge = true;
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] {
        m_buffer += reply->readAll();
        if (m_buffer.size() > m_maxInfoSize) {
            m_tooLarge = true;
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { infoFinished(reply); });
    m_timer.start(probe ? std::min(m_probeTimeoutMs, m_infoTimeoutMs) : m_infoTimeoutMs);
}

void Updater::infoFinished(QNetworkReply *reply)
{
    m_timer.stop();
    m_reply = nullptr;
    reply->deleteLater();
    if (!m_tooLarge && reply->isOpen())
        m_buffer += reply->readAll();
    const bool probe = m_probing;
    m_probing = false;

    if (m_tooLarge) {
        end(Outcome::NoInfoFile, &Updater::noInfoFile, QStringLiteral("file di informazioni troppo grande"));
        return;
    }
    // The https attempt found no https server there: ask as configured.
    if (probe && (m_timedOut || connectionFailed(reply))) {
        fetchInfo(m_infoFileUrl, false);
        return;
    }
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() == QNetworkReply::NoError && status == 200) {
        handleInfo(m_buffer, reply->url());
        return;
    }
    if (m_timedOut) {
        end(Outcome::HostUnreachable, &Updater::hostUnreachable, QStringLiteral("il server non ha risposto in tempo"));
        return;
    }
    if (connectionFailed(reply)) {
        end(Outcome::HostUnreachable, &Updater::hostUnreachable, reply->errorString());
        return;
    }
    end(Outcome::NoInfoFile, &Updater::noInfoFile,
        status ? QStringLiteral("risposta HTTP %1 per %2").arg(status).arg(reply->url().toString()) : reply->errorString());
}

void Updater::handleInfo(const QByteArray &bytes, const QUrl &from)
{
    m_usedInfoUrl = from;
    if (from.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0)
        m_httpsHost = from.host();
    m_info = UpdateInfo::parse(bytes, from);
    if (!m_info) {
        end(Outcome::NoInfoFile, &Updater::noInfoFile, QStringLiteral("file di informazioni non valido"));
        return;
    }
    const std::optional<int> cmp = UpdateInfo::compareVersions(m_info->version(), m_versionNumber);
    if (!cmp || *cmp <= 0) {
        end(Outcome::NoUpdate, &Updater::noUpdateAvailable, QStringLiteral("versione sul server: ") + m_info->version());
        return;
    }
    if (!m_info->installable()) {
        end(Outcome::NoInfoFile, &Updater::noInfoFile, QStringLiteral("elenco dei file dell'aggiornamento non valido"));
        return;
    }
    m_state = State::Asking;
    emit beginUpgrade(m_info->version(), m_info->message());
    if (m_state != State::Asking) // cancelled from a handler
        return;
    if (!m_downloadEnabled) {
        end(Outcome::UpdateAvailable, nullptr, QStringLiteral("versione sul server: ") + m_info->version());
        return;
    }
    if (m_askUpgrade
        && !ui().askYesNo(QStringLiteral("Aggiornamento via Internet"), upgradeQuestion(m_info->version(), m_versionNumber, m_info->message()),
                          Ui::Icon::Question, false)) {
        end(Outcome::Declined, &Updater::upgradeDeclined, QStringLiteral("aggiornamento rifiutato"));
        return;
    }
    if (m_state != State::Asking)
        return;
    if (!QDir().mkpath(m_downloadFolder)) {
        end(Outcome::Aborted, &Updater::aborted, QStringLiteral("impossibile creare la cartella ") + QDir::toNativeSeparators(m_downloadFolder));
        return;
    }
    m_state = State::Download;
    m_fileIndex = 0;
    downloadNext();
}

QUrl Updater::preferredUrl(const QUrl &url) const
{
    // Files on the host that answered over https come over https too.
    if (!m_httpsHost.isEmpty() && url.scheme().compare(QLatin1String("http"), Qt::CaseInsensitive) == 0
        && url.host().compare(m_httpsHost, Qt::CaseInsensitive) == 0) {
        QUrl https = url;
        https.setScheme(QStringLiteral("https"));
        return https;
    }
    return url;
}

void Updater::downloadNext()
{
    const QList<UpdateInfo::File> &files = m_info->files();
    if (m_fileIndex >= files.size()) {
        const QStringList paths = m_done;
        m_state = State::Idle;
        m_outcome = Outcome::Downloaded;
        m_detail.clear();
        emit filesReady(paths);
        emit finished(Outcome::Downloaded);
        return;
    }
    const UpdateInfo::File &file = files.at(m_fileIndex);
    const QUrl url = preferredUrl(file.url);
    emit fileStart(url, m_fileIndex, int(files.size()));
    if (m_state != State::Download)
        return;
    emit progress(0, int(m_fileIndex * 100 / files.size()));

    m_out = std::make_unique<QSaveFile>(QDir(m_downloadFolder).filePath(file.fileName));
    m_out->setDirectWriteFallback(false);
    if (!m_out->open(QIODevice::WriteOnly)) {
        const QString why = m_out->errorString();
        m_out.reset();
        end(Outcome::Aborted, &Updater::aborted, QStringLiteral("impossibile scrivere %1: %2").arg(file.fileName, why));
        return;
    }
    m_hash.reset();
    m_received = 0;
    QNetworkReply *reply = get(url);
    const int count = int(files.size());
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] {
        const QByteArray chunk = reply->readAll();
        m_received += chunk.size();
        if (m_received > m_maxFileSize) {
            m_tooLarge = true;
            reply->abort();
            return;
        }
        m_hash.addData(chunk);
        if (m_out->write(chunk) != chunk.size())
            reply->abort();
        m_timer.start(m_stallTimeoutMs);
    });
    connect(reply, &QNetworkReply::downloadProgress, this, [this, count](qint64 received, qint64 total) {
        if (total <= 0)
            return;
        const int current = int(std::min<qint64>(100, received * 100 / total));
        emit progress(current, (m_fileIndex * 100 + current) / count);
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { downloadFinished(reply); });
    m_timer.start(m_stallTimeoutMs);
}

void Updater::downloadFinished(QNetworkReply *reply)
{
    m_timer.stop();
    m_reply = nullptr;
    reply->deleteLater();
    const UpdateInfo::File &file = m_info->files().at(m_fileIndex);
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    QString problem;
    if (m_timedOut)
        problem = QStringLiteral("il server non ha inviato %1 in tempo").arg(file.fileName);
    else if (m_tooLarge)
        problem = QStringLiteral("%1 supera la dimensione massima").arg(file.fileName);
    else if (reply->error() != QNetworkReply::NoError || status != 200)
        problem = status ? QStringLiteral("risposta HTTP %1 per %2").arg(status).arg(reply->url().toString())
                         : QStringLiteral("%1: %2").arg(file.fileName, reply->errorString());
    else if (m_out->error() != QFileDevice::NoError)
        problem = QStringLiteral("impossibile scrivere %1: %2").arg(file.fileName, m_out->errorString());
    else if (m_hash.result() != file.sha256)
        problem = QStringLiteral("SHA-256 di %1 diverso da quello del file di informazioni").arg(file.fileName);

    if (!problem.isEmpty()) {
        // Nothing unverified stays on disk.
        m_out->cancelWriting();
        m_out.reset();
        end(Outcome::Aborted, &Updater::aborted, problem);
        return;
    }
    const QString path = m_out->fileName();
    if (!m_out->commit()) {
        const QString why = m_out->errorString();
        m_out.reset();
        end(Outcome::Aborted, &Updater::aborted, QStringLiteral("impossibile scrivere %1: %2").arg(file.fileName, why));
        return;
    }
    m_out.reset();
    m_done << path;
    const int count = int(m_info->files().size());
    emit progress(100, (m_fileIndex + 1) * 100 / count);
    ++m_fileIndex;
    downloadNext();
}

void Updater::removeDownloads()
{
    for (const QString &path : std::as_const(m_done))
        QFile::remove(path);
    m_done.clear();
}

void Updater::end(Outcome outcome, void (Updater::*signal)(), const QString &detail)
{
    dropReply();
    if (outcome == Outcome::Aborted)
        removeDownloads();
    m_state = State::Idle;
    m_outcome = outcome;
    m_detail = detail;
    if (signal)
        emit(this->*signal)();
    emit finished(outcome);
}
