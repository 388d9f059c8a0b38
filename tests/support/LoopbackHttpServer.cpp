#include "tests/support/LoopbackHttpServer.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

LoopbackHttpServer::LoopbackHttpServer()
{
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
        }
    });
}

LoopbackHttpServer::~LoopbackHttpServer() = default;

QString LoopbackHttpServer::base() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(port());
}

void LoopbackHttpServer::redirect(const QString &path, const QString &location)
{
    route(path, Response{302, {}, {{"Location", location.toUtf8()}}, Mode::Normal, 50});
}

quint16 LoopbackHttpServer::closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

void LoopbackHttpServer::serve(QTcpSocket *socket)
{
    if (socket->property("served").toBool()) {
        socket->readAll();
        return;
    }
    QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
    if (!buffer.isEmpty() && !(buffer.at(0) >= 'A' && buffer.at(0) <= 'Z')) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    const qsizetype end = buffer.indexOf("\r\n\r\n");
    if (end < 0) {
        socket->setProperty("buffer", buffer);
        return;
    }
    socket->setProperty("served", true);
    const QList<QByteArray> requestLine = buffer.left(buffer.indexOf("\r\n")).split(' ');
    const QString path = requestLine.size() >= 2 ? QString::fromUtf8(requestLine.at(1)) : QString();
    m_requests << path;

    const Response r = m_routes.value(path, Response{404, "not found", {}, Mode::Normal, 50});
    if (r.mode == Mode::Silent)
        return;
    QByteArray head = "HTTP/1.1 " + QByteArray::number(r.status) + " X\r\n";
    for (const auto &h : r.headers)
        head += h.first + ": " + h.second + "\r\n";
    head += "Connection: close\r\n";
    if (r.mode == Mode::Drip) {
        socket->write(head + "\r\n"); // no length: the body lasts until the connection closes
        QPointer<QTcpSocket> guard(socket);
        auto *timer = new QTimer(socket);
        connect(timer, &QTimer::timeout, socket, [guard] {
            if (guard && guard->state() == QAbstractSocket::ConnectedState)
                guard->write("x");
        });
        timer->start(r.dripMs);
        return;
    }
    head += "Content-Length: " + QByteArray::number(r.body.size()) + "\r\n\r\n";
    if (r.mode == Mode::Drop) {
        socket->write(head + r.body.left(r.body.size() / 2));
        socket->flush();
        socket->disconnectFromHost();
        return;
    }
    socket->write(head + r.body);
    socket->disconnectFromHost();
}
