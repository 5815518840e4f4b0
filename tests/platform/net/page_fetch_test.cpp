// Background page fetches: the caller never waits, the answer arrives on its thread, and a
// fetch whose owner is gone never calls back.
#include "platform/net/PageFetch.h"
#include "tests/support/Eventually.h"
#include "tests/support/net/LocalHttpServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>

using namespace std::chrono_literals;
using quortest::Eventually;
using quortest::LocalHttpServer;

namespace {

struct Outcome {
    bool ok = false;
    QByteArray body;
};

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
    ASSERT_TRUE(Eventually([&] { return done.has_value(); }, 5s));
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
        ASSERT_TRUE(Eventually([&] { return done.has_value(); }, 5s)) << address.toStdString();
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
    ASSERT_TRUE(Eventually([&] { return done.has_value(); }, 5s));
    EXPECT_FALSE(done->ok);
}

TEST(PageFetch, AGoneOwnerCancelsTheCallback) {
    LocalHttpServer server;
    server.Stall("/slow");
    auto owner = std::make_unique<QObject>();
    bool called = false;
    platform::FetchPage(QUrl(server.Url("/slow")), owner.get(),
                        [&](bool, const QByteArray&) { called = true; });
    ASSERT_TRUE(Eventually([&] { return server.TimesRequested("/slow") == 1; }, 5s)) << "in flight";
    owner.reset();
    // Nothing may arrive: 300 ms of an event loop that would deliver a callback.
    EXPECT_FALSE(Eventually([&] { return called; }, 300ms));
}
