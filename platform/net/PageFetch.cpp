// One asynchronous GET owned by its context object.
#include "platform/net/PageFetch.h"

#include "platform/net/RequestSetup.h"

#include <QNetworkAccessManager>
#include <QTimer>

namespace platform {
namespace {

// Lives as a child of the context: the context's end cancels the request with it.
class PageFetchJob : public QObject {
public:
    PageFetchJob(const QUrl& url, QObject* context, std::function<void(bool, const QByteArray&)> done,
                 const TransferLimits& limits)
        : QObject(context), done_(std::move(done)), limits_(limits) {
        reply_ = manager_.get(detail::MakeRequest(url, limits.stallMs)); // owned by manager_
        detail::GuardRedirects(reply_);
        connect(reply_, &QNetworkReply::readyRead, this, &PageFetchJob::Collect);
        connect(reply_, &QNetworkReply::finished, this, &PageFetchJob::Finish);
        deadline_.setSingleShot(true);
        connect(&deadline_, &QTimer::timeout, this, [this] { Fail(); });
        deadline_.start(limits.timeoutMs);
    }

    ~PageFetchJob() override {
        reply_->disconnect(this); // the manager's end aborts the reply: no callback from a dying job
    }

private:
    void Collect() {
        if (!reply_->isOpen()) // an aborted reply is closed
            return;
        body_ += reply_->readAll();
        if (limits_.maxBytes > 0 && body_.size() > limits_.maxBytes)
            Fail();
    }
    void Fail() {
        failed_ = true;
        reply_->abort(); // finishes the reply, which runs Finish
    }
    void Finish() {
        if (finished_)
            return;
        finished_ = true;
        deadline_.stop();
        if (!failed_)
            Collect();
        const bool ok = !failed_ && detail::Succeeded(reply_);
        auto done = std::move(done_);
        const QByteArray body = ok ? body_ : QByteArray();
        deleteLater();
        done(ok, body);
    }

    std::function<void(bool, const QByteArray&)> done_;
    TransferLimits limits_;
    QNetworkAccessManager manager_;
    QNetworkReply* reply_ = nullptr;
    QTimer deadline_;
    QByteArray body_;
    bool failed_ = false;
    bool finished_ = false;
};

} // namespace

void FetchPage(const QUrl& url, QObject* context, std::function<void(bool ok, const QByteArray& body)> done,
               const TransferLimits& limits) {
    if (!IsAllowedUrl(url)) {
        QTimer::singleShot(0, context, [done = std::move(done)] { done(false, {}); });
        return;
    }
    new PageFetchJob(url, context, std::move(done), limits);
}

} // namespace platform
