// A program that cannot find the network module (it is not on this program's search path): the
// computer counts as offline, no transfer is made even to a server that answers, a page fetch
// fails later and never inside the call, and stderr says why once.
#include "net/Download.h"
#include "net/NetStatus.h"
#include "net/PageFetch.h"
#include "support/TempDir.h"
#include "support/net/LocalHttpServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

TEST(WithoutNetModule, OfflineNothingFetchedAndTheFetchFailsLaterSaidOnce) {
    quortest::LocalHttpServer server;
    server.Serve("/page", "body");
    quortest::TempDir dir;
    const QString target = QString::fromStdString((dir / "file").string());

    testing::internal::CaptureStderr();
    EXPECT_FALSE(platform::IsOnline());
    EXPECT_FALSE(platform::DownloadToFile(QUrl(server.Url("/page")), target));
    EXPECT_FALSE(platform::RequestPage(QUrl(server.Url("/page"))));
    QObject owner;
    std::optional<bool> fetched;
    platform::FetchPage(QUrl(server.Url("/page")), &owner, [&](bool ok, const QByteArray&) { fetched = ok; });
    EXPECT_FALSE(fetched.has_value()) << "the answer comes from the event loop";
    QElapsedTimer clock;
    clock.start();
    while (!fetched && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(fetched, std::optional<bool>(false));
    EXPECT_EQ(server.TimesRequested("/page"), 0);
    EXPECT_FALSE(std::filesystem::exists(target.toStdString()));

    const std::string said = testing::internal::GetCapturedStderr();
    const std::string line = "Network access unavailable: libquor_net.so could not be loaded\n";
    EXPECT_NE(said.find(line), std::string::npos) << said;
    EXPECT_EQ(said.find(line), said.rfind(line)) << "said once";
}
