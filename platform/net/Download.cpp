// Synchronous download and page request over one local event loop with a deadline.
#include "platform/net/Download.h"

#include "platform/net/RequestSetup.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QSaveFile>
#include <QTimer>

#include <functional>
#include <memory>

namespace platform {
namespace {

// Runs one GET to its end and hands each piece of the body to `sink` (false from it aborts).
bool Transfer(const QUrl& url, const TransferLimits& limits,
              const std::function<bool(const QByteArray&)>& sink) {
    if (!IsAllowedUrl(url))
        return false;
    QNetworkAccessManager manager;
    std::unique_ptr<QNetworkReply> reply(manager.get(detail::MakeRequest(url, limits.stallMs)));
    detail::GuardRedirects(reply.get());

    bool failed = false;
    qint64 received = 0;
    auto drain = [&] {
        if (failed || !reply->isOpen()) // an aborted reply is closed
            return;
        const QByteArray piece = reply->readAll();
        received += piece.size();
        if ((limits.maxBytes > 0 && received > limits.maxBytes) || (!piece.isEmpty() && !sink(piece))) {
            failed = true;
            reply->abort();
        }
    };
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, drain);
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
        failed = true;
        reply->abort();
    });
    deadline.start(limits.timeoutMs);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    drain();
    return !failed && detail::Succeeded(reply.get());
}

} // namespace

bool DownloadToFile(const QUrl& url, const QString& filePath, const TransferLimits& limits) {
    if (!IsAllowedUrl(url))
        return false;
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const bool ok =
        Transfer(url, limits, [&file](const QByteArray& piece) { return file.write(piece) == piece.size(); });
    if (!ok) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool RequestPage(const QUrl& url, const TransferLimits& limits) {
    return Transfer(url, limits, [](const QByteArray&) { return true; });
}

} // namespace platform
