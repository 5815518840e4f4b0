// Synchronous downloads and page requests against a local server: bodies arrive whole, every
// failure leaves no file, nothing waits past its time limit, the fetch policy holds on redirects.
#include "platform/net/Download.h"
#include "platform/net/NetHosts.h"
#include "platform/net/NetStatus.h"
#include "platform/net/UrlPolicy.h"
#include "tests/support/TempDir.h"
#include "tests/support/net/LocalHttpServer.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <filesystem>

using quortest::LocalHttpServer;
namespace fs = std::filesystem;

namespace {

class DownloadTest : public testing::Test {
protected:
    QString Target() const { return QString::fromStdString((dir_ / "got.bin").string()); }
    bool FolderEmpty() const { return fs::is_empty(dir_.path()); }

    LocalHttpServer server_;
    quortest::TempDir dir_{"quornet"};
};

} // namespace

TEST_F(DownloadTest, WritesTheWholeBodyOfASuccessfulAnswer) {
    QByteArray body(300 * 1024, '\0');
    for (int i = 0; i < body.size(); ++i)
        body[i] = static_cast<char>(i * 7);
    server_.Serve("/big.bin", body);
    ASSERT_TRUE(platform::DownloadToFile(QUrl(server_.Url("/big.bin")), Target()));
    EXPECT_EQ(quortest::ReadFile(dir_ / "got.bin"), body.toStdString());

    server_.Serve("/empty", {});
    EXPECT_TRUE(platform::DownloadToFile(QUrl(server_.Url("/empty")), Target()));
    EXPECT_EQ(fs::file_size(dir_ / "got.bin"), 0u);
}

TEST_F(DownloadTest, FailuresLeaveNoFile) {
    server_.Serve("/gone", "error page", 404);
    server_.Serve("/broken", "error page", 500);
    server_.Serve("/large", QByteArray(10000, 'x'));
    platform::TransferLimits small;
    small.maxBytes = 1000;

    EXPECT_FALSE(platform::DownloadToFile(QUrl(server_.Url("/gone")), Target()));
    EXPECT_FALSE(platform::DownloadToFile(QUrl(server_.Url("/broken")), Target()));
    EXPECT_FALSE(platform::DownloadToFile(QUrl(server_.Url("/large")), Target(), small));
    const QUrl closed(QStringLiteral("http://127.0.0.1:%1/x").arg(LocalHttpServer::ClosedPort()));
    EXPECT_FALSE(platform::DownloadToFile(closed, Target()));
    EXPECT_TRUE(FolderEmpty()) << "a failed download left a file";
}

TEST_F(DownloadTest, AFailedDownloadKeepsTheFileThatWasThere) {
    quortest::WriteFile(dir_ / "got.bin", "old");
    server_.Serve("/gone", "error page", 404);
    EXPECT_FALSE(platform::DownloadToFile(QUrl(server_.Url("/gone")), Target()));
    EXPECT_EQ(quortest::ReadFile(dir_ / "got.bin"), "old");
}

TEST_F(DownloadTest, AServerThatNeverAnswersIsGivenUpAfterTheTimeLimit) {
    server_.Stall("/silent");
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(platform::DownloadToFile(QUrl(server_.Url("/silent")), Target()));
    EXPECT_LT(clock.elapsed(), 8000) << "the default limit is a few seconds";
    EXPECT_EQ(server_.TimesRequested("/silent"), 1);
    EXPECT_TRUE(FolderEmpty());
}

TEST_F(DownloadTest, OnlyHttpsOrThisComputerIsFetched) {
    EXPECT_TRUE(platform::IsAllowedUrl(QUrl("https://update.quortools.kr/x")));
    EXPECT_TRUE(platform::IsAllowedUrl(QUrl("http://127.0.0.1:8080/x")));
    EXPECT_TRUE(platform::IsAllowedUrl(QUrl("http://localhost/x")));
    EXPECT_TRUE(platform::IsAllowedUrl(QUrl("http://[::1]/x")));
    EXPECT_TRUE(platform::IsAllowedUrl(QUrl("http://127.8.9.10/x"))) << "all of 127.0.0.0/8";
    EXPECT_TRUE(platform::IsAllowedUrl(QUrl("http://[::ffff:127.0.0.1]/x")));
    EXPECT_FALSE(platform::IsAllowedUrl(QUrl("http://[::ffff:10.0.0.1]/x")));
    EXPECT_FALSE(platform::IsAllowedUrl(QUrl("http://10.0.0.1/x")));
    EXPECT_FALSE(platform::IsAllowedUrl(QUrl("http://[::2]/x")));
    EXPECT_FALSE(platform::IsAllowedUrl(QUrl("http://update.quortools.kr/x")));
    EXPECT_FALSE(platform::IsAllowedUrl(QUrl("http://127.0.0.1.example.com/x")));
    EXPECT_FALSE(platform::IsAllowedUrl(QUrl("file:///etc/passwd")));
    EXPECT_FALSE(platform::IsAllowedUrl(QUrl("ftp://127.0.0.1/x")));
    EXPECT_FALSE(platform::IsAllowedUrl(QUrl("patch.sh")));

    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(platform::DownloadToFile(QUrl("http://update.quortools.kr/patch.sh"), Target()));
    EXPECT_FALSE(platform::RequestPage(QUrl("http://www.quortools.kr/")));
    EXPECT_LT(clock.elapsed(), 1000) << "a refused address is not contacted";
    EXPECT_TRUE(FolderEmpty());
}

TEST_F(DownloadTest, RedirectsAreFollowedOnlyWhereThePolicyAllows) {
    server_.Serve("/real", "the body");
    server_.Redirect("/moved", server_.Url("/real"));
    server_.Redirect("/away", "http://update.quortools.kr/real");
    EXPECT_TRUE(platform::DownloadToFile(QUrl(server_.Url("/moved")), Target()));
    EXPECT_EQ(quortest::ReadFile(dir_ / "got.bin"), "the body");
    fs::remove(dir_ / "got.bin");
    EXPECT_FALSE(platform::DownloadToFile(QUrl(server_.Url("/away")), Target()));
    EXPECT_TRUE(FolderEmpty());
}

TEST_F(DownloadTest, PageRequestReachesTheServerAndReportsErrors) {
    server_.Serve("/app/page.html", "<html>hello</html>");
    EXPECT_TRUE(platform::RequestPage(QUrl(server_.Url("/app/page.html"))));
    EXPECT_EQ(server_.TimesRequested("/app/page.html"), 1);
    EXPECT_FALSE(platform::RequestPage(QUrl(server_.Url("/missing.html"))));
    const QUrl closed(QStringLiteral("http://127.0.0.1:%1/x").arg(LocalHttpServer::ClosedPort()));
    EXPECT_FALSE(platform::RequestPage(closed));
}

TEST(NetHosts, BuiltInHostsAreHttpsAndTheEnvironmentReplacesThem) {
    {
        quortest::ScopedEnv noUpdate("QUOR_UPDATE_BASE_URL", std::nullopt);
        quortest::ScopedEnv noWeb("QUOR_WEB_BASE_URL", std::nullopt);
        EXPECT_TRUE(platform::UpdateBaseUrl().startsWith("https://"));
        EXPECT_TRUE(platform::WebBaseUrl().startsWith("https://"));
    }
    quortest::ScopedEnv web("QUOR_WEB_BASE_URL", "http://127.0.0.1:9/");
    EXPECT_EQ(platform::WebSiteUrl("/home/help_03.html"), QUrl("http://127.0.0.1:9/home/help_03.html"));
}

TEST(NetStatus, OnlineTestAnswersWithoutANetworkRequest) {
    // Whatever the machine's state, the answer comes from local tables; asking twice agrees.
    const bool first = platform::IsOnline();
    EXPECT_EQ(platform::IsOnline(), first);
}
