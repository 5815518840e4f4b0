// The update check and the page request against a local server: the offer follows the version,
// only a plain file name over an allowed address is fetched and run, a missing or silent server
// costs at most a few seconds, and the version file comes from a private folder.
#include "recorder/settings/SettingsValues.h"
#include "recorder/update/StartupChecks.h"
#include "recorder/update/UpdateCheck.h"
#include "recorder/update/UpdateEndpoints.h"
#include "tests/support/Eventually.h"
#include "tests/support/HiveEnv.h"
#include "tests/support/TempDir.h"
#include "tests/support/gui/GuiHelpers.h"
#include "tests/support/net/LocalHttpServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

using quortest::LocalHttpServer;
using quortest::gui::ModalAnswerer;
namespace fs = std::filesystem;

namespace {

const QDate kToday(2013, 12, 30);
const QString kVersionPath = QLatin1String(UpdateEndpoints::kVersionDescription);
const QString kPatchPath = QStringLiteral("/patch/QuorRecorderPatch.sh");

class UpdateCheckTest : public testing::Test {
protected:
    // The description the server hands out, naming the patch at `patchUrl`.
    void Describe(const std::string& ver, const std::string& filename, const QString& patchUrl,
                  const std::string& holddate = "7") {
        server_.Serve(kVersionPath, QByteArray::fromStdString(
                                        "[UPDATE]\r\nver=" + ver + "\r\nurl=" + patchUrl.toStdString() +
                                        "\r\nfilename=" + filename + "\r\nholddate=" + holddate + "\r\n"));
    }
    // A patch that writes its arguments, working folder and own path to the marker file.
    void ServePatch() {
        const std::string marker = (work_ / "marker").string();
        server_.Serve(kPatchPath, QByteArray::fromStdString(
                                      "#!/bin/sh\n{ printf '%s\\n' \"$@\"; pwd; echo \"$0\"; } > '" + marker +
                                      ".part' && mv '" + marker + ".part' '" + marker + "'\n"));
    }
    // Whether the patch ran (wrote its marker) within `limit`; false checks with a short limit are
    // a pause on purpose, the time a wrongly started patch would need.
    bool WaitForMarker(std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        return quortest::Eventually([&] { return fs::exists(work_ / "marker"); }, limit);
    }
    std::string Stored(const std::string& name) {
        std::string value;
        ReadSettingString(name, value);
        return value;
    }

    quortest::HiveEnv hive_;
    LocalHttpServer server_;
    quortest::TempDir work_{"quorupd"};
    quortest::ScopedEnv updateHost_{"QUOR_UPDATE_BASE_URL", server_.BaseUrl().toStdString()};
    quortest::ScopedEnv webHost_{"QUOR_WEB_BASE_URL", server_.BaseUrl().toStdString()};
    quortest::ScopedEnv tmp_{"TMPDIR", (work_ / "tmp").string()};
    bool madeTmp_ = fs::create_directory(work_ / "tmp");
};

} // namespace

TEST_F(UpdateCheckTest, SameVersionOffersNothingAndWaitsTheHoldDays) {
    Describe("1020", "QuorRecorderPatch.sh", server_.Url(kPatchPath));
    ModalAnswerer answer(ModalAnswerer::Answer::Ok);
    EXPECT_EQ(UpdateCheckGate(nullptr, kToday), 1);
    EXPECT_TRUE(answer.Seen().empty());
    EXPECT_EQ(server_.Requested(), QStringList{kVersionPath});
    EXPECT_EQ(Stored("update"), "20140106");
    EXPECT_TRUE(fs::is_empty(work_ / "tmp")) << "the version file and its folder are removed";
}

TEST_F(UpdateCheckTest, NewerVersionIsOfferedAndCancelDownloadsNothing) {
    Describe("1021", "QuorRecorderPatch.sh", server_.Url(kPatchPath));
    ServePatch();
    ModalAnswerer answer(ModalAnswerer::Answer::Cancel);
    EXPECT_EQ(UpdateCheckGate(nullptr, kToday), 1);
    ASSERT_EQ(answer.Seen().size(), 1u);
    EXPECT_EQ(answer.Seen()[0].title, QStringLiteral("알림"));
    EXPECT_EQ(answer.Seen()[0].message, QStringLiteral("녹음기가 버젼업 되었습니다. 패치하시겠습니까?"));
    EXPECT_EQ(answer.Seen()[0].buttonLayout, 2);
    EXPECT_EQ(answer.Seen()[0].size, QSize(300, 150));
    EXPECT_EQ(server_.TimesRequested(kPatchPath), 0);
    EXPECT_EQ(Stored("update"), "20140106") << "a cancelled offer still waits the hold days";
    EXPECT_FALSE(WaitForMarker(std::chrono::milliseconds(300)));
}

TEST_F(UpdateCheckTest, AcceptedPatchIsDownloadedMadeExecutableAndStartedWithS) {
    Describe("1021", "QuorRecorderPatch.sh", server_.Url(kPatchPath));
    ServePatch();
    ModalAnswerer answer(ModalAnswerer::Answer::Ok);
    EXPECT_EQ(UpdateCheckGate(nullptr, kToday), 1);
    EXPECT_EQ(answer.Seen().size(), 1u);
    EXPECT_EQ(server_.TimesRequested(kPatchPath), 1);
    ASSERT_TRUE(WaitForMarker()) << "the patch did not run";
    const QStringList lines = QString::fromStdString(quortest::ReadFile(work_ / "marker")).split('\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("-S"));
    EXPECT_EQ(QDir(lines[1]).canonicalPath(), QDir::current().canonicalPath()) << "working folder \".\"";
    const QFileInfo patch(lines[2]);
    EXPECT_EQ(patch.fileName(), QStringLiteral("QuorRecorderPatch.sh"));
    EXPECT_EQ(fs::status(patch.filePath().toStdString()).permissions() & fs::perms::all, fs::perms(0755));
    EXPECT_EQ(fs::status(patch.path().toStdString()).permissions() & fs::perms::all, fs::perms(0700))
        << "the patch lies in a private folder";
}

TEST_F(UpdateCheckTest, UnsafeFileNamesAndAddressesAreNeitherFetchedNorRun) {
    ServePatch();
    const std::vector<std::pair<std::string, QString>> refused = {
        {"", server_.Url(kPatchPath)},
        {"../QuorRecorderPatch.sh", server_.Url(kPatchPath)},
        {(work_ / "planted.sh").string(), server_.Url(kPatchPath)},
        {"sub/QuorRecorderPatch.sh", server_.Url(kPatchPath)},
        {"..", server_.Url(kPatchPath)},
        {"QuorRecorderPatch.sh", QStringLiteral("http://update.quortools.kr") + kPatchPath},
        {"QuorRecorderPatch.sh", QStringLiteral("file://") + QString::fromStdString(work_.str())},
    };
    for (const auto& [name, url] : refused) {
        Describe("1021", name, url, "0");
        ModalAnswerer answer(ModalAnswerer::Answer::Ok);
        UpdateCheck(nullptr);
        EXPECT_TRUE(answer.Seen().empty()) << "offered: " << name << " " << url.toStdString();
    }
    EXPECT_EQ(server_.TimesRequested(kPatchPath), 0);
    EXPECT_FALSE(WaitForMarker(std::chrono::milliseconds(300)));
    EXPECT_FALSE(fs::exists(work_ / "planted.sh"));
}

TEST_F(UpdateCheckTest, AFailedPatchDownloadRunsNothing) {
    Describe("1021", "QuorRecorderPatch.sh", server_.Url("/patch/missing.sh"));
    ModalAnswerer answer(ModalAnswerer::Answer::Ok);
    EXPECT_EQ(UpdateCheckGate(nullptr, kToday), 1);
    EXPECT_EQ(answer.Seen().size(), 1u);
    EXPECT_EQ(server_.TimesRequested("/patch/missing.sh"), 1);
    EXPECT_FALSE(WaitForMarker(std::chrono::milliseconds(300)));
    EXPECT_TRUE(fs::is_empty(work_ / "tmp")) << "nothing is left of a failed download";
}

TEST_F(UpdateCheckTest, APlantedSharedVersionFileIsNeverRead) {
    // What another user could leave in the shared temporary folder.
    quortest::WriteFile(work_ / "tmp" / "version.ini",
                        "[UPDATE]\nver=9999\nurl=" + server_.Url(kPatchPath).toStdString() +
                            "\nfilename=QuorRecorderPatch.sh\nholddate=0\n");
    ServePatch(); // the server itself has no description: 404
    ModalAnswerer answer(ModalAnswerer::Answer::Ok);
    EXPECT_EQ(UpdateCheck(nullptr), 0);
    EXPECT_TRUE(answer.Seen().empty());
    EXPECT_EQ(server_.TimesRequested(kPatchPath), 0);
}

TEST_F(UpdateCheckTest, NoServerCostsNoWaitAndOffersNothing) {
    quortest::ScopedEnv closed(
        "QUOR_UPDATE_BASE_URL",
        QStringLiteral("http://127.0.0.1:%1").arg(LocalHttpServer::ClosedPort()).toStdString());
    ModalAnswerer answer(ModalAnswerer::Answer::Ok);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(UpdateCheckGate(nullptr, kToday), 1);
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_TRUE(answer.Seen().empty());
    EXPECT_EQ(Stored("update"), "20131230") << "no hold days: the next later day checks again";
}

TEST_F(UpdateCheckTest, ASilentServerIsGivenUpWithinTheTimeLimit) {
    server_.Stall(kVersionPath);
    ModalAnswerer answer(ModalAnswerer::Answer::Ok);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(UpdateCheckGate(nullptr, kToday), 1);
    EXPECT_LT(clock.elapsed(), 8000);
    EXPECT_TRUE(answer.Seen().empty());
}

TEST_F(UpdateCheckTest, TodaysDateStoredMeansNoRequestAtAll) {
    Describe("1021", "QuorRecorderPatch.sh", server_.Url(kPatchPath));
    WriteSettingString("update", "20131230");
    ModalAnswerer answer(ModalAnswerer::Answer::Ok);
    EXPECT_EQ(UpdateCheckGate(nullptr, kToday), 0);
    EXPECT_TRUE(server_.Requested().isEmpty());
    EXPECT_TRUE(answer.Seen().empty());
}

TEST_F(UpdateCheckTest, PageRequestRunsOncePerPeriod) {
    const QString page = QLatin1String(UpdateEndpoints::kPageRequest);
    server_.Serve(page, "<html></html>");
    EXPECT_EQ(PageRequestGate(kToday), 1);
    EXPECT_EQ(server_.TimesRequested(page), 1);
    EXPECT_EQ(Stored("actionapp"), "20131231");
    EXPECT_EQ(PageRequestGate(kToday.addDays(1)), 0);
    EXPECT_EQ(server_.TimesRequested(page), 1);
    EXPECT_EQ(PageRequestGate(kToday.addDays(2)), 1);
    EXPECT_EQ(server_.TimesRequested(page), 2);

    server_.Serve(page, "gone", 404);
    EXPECT_EQ(PageRequest(QUrl(server_.Url(page))), 0);
    EXPECT_EQ(PageRequestGate(kToday.addDays(4)), 1) << "a failed request is ignored by the gate";
}
