// A small HTTP/1.1 server on 127.0.0.1 for tests of the network layer and the update checks.
// It answers in the thread that created it, so it serves while that thread runs an event loop
// (the synchronous downloads run one). Every request gets one answer and the connection closes.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTcpServer>

namespace quortest {

class LocalHttpServer : public QObject {
public:
    LocalHttpServer();

    quint16 Port() const { return server_.serverPort(); }
    QString BaseUrl() const; // "http://127.0.0.1:<port>"
    QString Url(const QString& path) const { return BaseUrl() + path; }

    // Answers GET `path` with the status and body; unknown paths get 404.
    void Serve(const QString& path, const QByteArray& body, int status = 200);
    // Answers with a redirect to `location`.
    void Redirect(const QString& path, const QString& location);
    // Reads the request and never answers.
    void Stall(const QString& path);

    // Paths of the requests received, in order.
    const QStringList& Requested() const { return requested_; }
    int TimesRequested(const QString& path) const { return static_cast<int>(requested_.count(path)); }

    // A port on 127.0.0.1 that nobody listens on (connections are refused).
    static quint16 ClosedPort();

private:
    struct Answer {
        int status = 200;
        QByteArray body;
        QString location;
        bool stall = false;
    };
    void Accept();
    void Respond(class QTcpSocket* socket, const QString& path);

    QTcpServer server_;
    QHash<QString, Answer> answers_;
    QStringList requested_;
    QHash<class QTcpSocket*, QByteArray> pending_; // request bytes until the headers end
};

} // namespace quortest
