// Request parsing (request line and headers only) and canned answers.
#include "tests/support/net/LocalHttpServer.h"

#include <QHostAddress>
#include <QTcpSocket>

namespace quortest {

LocalHttpServer::LocalHttpServer() {
    server_.listen(QHostAddress::LocalHost, 0);
    connect(&server_, &QTcpServer::newConnection, this, &LocalHttpServer::Accept);
}

QString LocalHttpServer::BaseUrl() const {
    return QStringLiteral("http://127.0.0.1:%1").arg(Port());
}

void LocalHttpServer::Serve(const QString& path, const QByteArray& body, int status) {
    answers_[path] = Answer{status, body, {}, false};
}

void LocalHttpServer::Redirect(const QString& path, const QString& location) {
    answers_[path] = Answer{302, {}, location, false};
}

void LocalHttpServer::Stall(const QString& path) {
    answers_[path] = Answer{0, {}, {}, true};
}

quint16 LocalHttpServer::ClosedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

void LocalHttpServer::Accept() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            QByteArray& pending = pending_[socket];
            pending += socket->readAll();
            if (!pending.contains("\r\n\r\n"))
                return;
            const QList<QByteArray> requestLine = pending.left(pending.indexOf("\r\n")).split(' ');
            pending_.remove(socket);
            Respond(socket, requestLine.size() >= 2 ? QString::fromLatin1(requestLine[1]) : QString());
        });
        connect(socket, &QObject::destroyed, this, [this, socket] { pending_.remove(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void LocalHttpServer::Respond(QTcpSocket* socket, const QString& path) {
    requested_ << path;
    const auto found = answers_.constFind(path);
    const Answer answer = found != answers_.constEnd() ? *found : Answer{404, "not found", {}, false};
    if (answer.stall)
        return;
    QByteArray head = "HTTP/1.1 " + QByteArray::number(answer.status) + " Answer\r\n";
    if (!answer.location.isEmpty())
        head += "Location: " + answer.location.toUtf8() + "\r\n";
    head += "Content-Type: text/html; charset=utf-8\r\n";
    head += "Content-Length: " + QByteArray::number(answer.body.size()) + "\r\nConnection: close\r\n\r\n";
    socket->write(head + answer.body);
    socket->disconnectFromHost();
}

} // namespace quortest
