// Background page fetches: the caller never waits, the answer arrives on its thread, and a
// fetch whose owner is gone never calls back.
#include "platform/net/PageFetch.h"
#include "tests/support/net/LocalHttpServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

using quortest::LocalHttpServer;

namespace {

struct Outcome {
    bool ok = false;
    QByteArray body;
};

// Runs the event loop until `done` holds a value or `ms` pass.
void WaitFor(const std::optional<Outcome>& done, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done && clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

} // namespace

TEST(PageFetch, ReturnsAtOnceAndDeliversTheBodyLater) {
    LocalHttpServer server;
    server.Serve("/info.html", "<p>소식</p>");
    QObject owner;
    std::optional<Outcome> done;
    platform::FetchPage(QUrl(server.Url("/info.html")), &owner, [&](bool ok, const QByteArray& body) {
        done = Outcome{ok, body};
    });
    EXPECT_FALSE(done) << "the answer must not arrive inside the call";
    WaitFor(done, 5000);
    ASSERT_TRUE(done);
    EXPECT_TRUE(done->ok);
    EXPECT_EQ(QString::fromUtf8(done->body), QStringLiteral("<p>소식</p>"));
}

TEST(PageFetch, ReportsFailuresWithoutABody) {
    LocalHttpServer server;
    server.Serve("/gone", "not here", 404);
    QObject owner;
    for (const QString& address :
         {server.Url("/gone"), QStringLiteral("http://www.quortools.kr/info.html"),
          QStringLiteral("http://127.0.0.1:%1/").arg(LocalHttpServer::ClosedPort())}) {
        std::optional<Outcome> done;
        platform::FetchPage(QUrl(address), &owner, [&](bool ok, const QByteArray& body) {
            done = Outcome{ok, body};
        });
        WaitFor(done, 5000);
        ASSERT_TRUE(done) << address.toStdString();
        EXPECT_FALSE(done->ok) << address.toStdString();
        EXPECT_TRUE(done->body.isEmpty());
    }
}

TEST(PageFetch, GivesUpOnASilentServerAtItsLimit) {
    LocalHttpServer server;
    server.Stall("/silent");
    QObject owner;
    std::optional<Outcome> done;
    platform::TransferLimits limits;
    limits.timeoutMs = 500;
    platform::FetchPage(
        QUrl(server.Url("/silent")), &owner,
        [&](bool ok, const QByteArray& body) {
            done = Outcome{ok, body};
        },
        limits);
    WaitFor(done, 5000);
    ASSERT_TRUE(done);
    EXPECT_FALSE(done->ok);
}

TEST(PageFetch, AGoneOwnerCancelsTheCallback) {
    LocalHttpServer server;
    server.Stall("/slow");
    auto owner = std::make_unique<QObject>();
    bool called = false;
    platform::FetchPage(QUrl(server.Url("/slow")), owner.get(),
                        [&](bool, const QByteArray&) { called = true; });
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    owner.reset();
    std::optional<Outcome> never;
    WaitFor(never, 300);
    EXPECT_FALSE(called);
}
