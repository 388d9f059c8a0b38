#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QStringList>
#include <QSslCertificate>
#include <QTcpServer>

#include <memory>

class QTcpSocket;

// A small HTTP/1.1 server on 127.0.0.1 for the update tests. Each path answers as it is told;
// anything else is a 404. Connections that do not start with an HTTP request line (a TLS hello)
// are closed at once, as a plain HTTP server would refuse them.
class LoopbackHttpServer : public QObject
{
    Q_OBJECT
public:
    enum class Mode {
        Normal,   // status, headers, body, close
        Silent,   // accepts and never answers
        Drip,     // headers without a length, then one byte every dripMs, without end
        Drop,     // headers and half of the body, then the connection is closed
    };
    struct Response
    {
        int status = 200;
        QByteArray body;
        QList<QPair<QByteArray, QByteArray>> headers;
        Mode mode = Mode::Normal;
        int dripMs = 50;
    };

    enum class Transport { Plain, Tls };
    explicit LoopbackHttpServer(Transport transport = Transport::Plain);
    ~LoopbackHttpServer() override;

    quint16 port() const { return m_server->serverPort(); }
    // The self-signed certificate of the Tls transport (for 127.0.0.1), for the client to trust.
    static QSslCertificate certificate();
    QString base() const; // "http://127.0.0.1:PORT"

    void route(const QString &path, const Response &response) { m_routes.insert(path, response); }
    void file(const QString &path, const QByteArray &body) { route(path, Response{200, body, {}, Mode::Normal, 50}); }
    void redirect(const QString &path, const QString &location);
    void clearRoutes() { m_routes.clear(); }

    // Paths of the HTTP requests received, in order.
    QStringList requests() const { return m_requests; }
    int count(const QString &path) const { return int(m_requests.count(path)); }

    // A port on 127.0.0.1 where nothing listens.
    static quint16 closedPort();

private:
    void serve(QTcpSocket *socket);
    std::unique_ptr<QTcpServer> m_server;
    QHash<QString, Response> m_routes;
    QStringList m_requests;
};
