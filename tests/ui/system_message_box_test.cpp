// The plain message box hook reaches a real QMessageBox on the GUI thread from any thread, and
// the program fonts resolve to the installed Korean and metric-compatible faces.
#include "platform/dialogs/PlainMessageBox.h"
#include "tests/support/Eventually.h"
#include "tests/support/gui/GuiHelpers.h"
#include "ui/Fonts.h"
#include "ui/SystemMessageBox.h"

#include <QFontInfo>
#include <QMessageBox>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace quortest::gui;

namespace {
struct PlainBoxTest : ::testing::Test {
    void SetUp() override { ui::InstallPlainMessageBoxHandler(); }
    void TearDown() override { platform::SetPlainMessageBoxHandler({}); }
};
} // namespace

TEST_F(PlainBoxTest, ShownOnTheGuiThreadForAnyCaller) {
    ModalAnswerer answer;
    platform::ShowPlainMessageBox("재생 할수 없는 파일입니다.", "QuorSplit");
    ASSERT_EQ(answer.Seen().size(), 1u);
    EXPECT_EQ(answer.Seen()[0].className, QStringLiteral("QMessageBox"));
    EXPECT_EQ(answer.Seen()[0].message, QStringLiteral("재생 할수 없는 파일입니다."));

    // A worker waits while the GUI thread shows and closes the box.
    std::atomic<bool> done{false};
    std::thread worker([&] {
        platform::ShowPlainMessageBox("Can't create MP3 file.", "", platform::MessageBoxIcon::Error);
        done = true;
    });
    EXPECT_TRUE(quortest::Eventually([&] { return done.load(); }, std::chrono::seconds(5)));
    worker.join();
    ASSERT_EQ(answer.Seen().size(), 2u);
    EXPECT_EQ(answer.Seen()[1].message, QStringLiteral("Can't create MP3 file."));
    EXPECT_EQ(answer.Seen()[1].title, QCoreApplication::applicationName())
        << "no caption: the program's name";
}

TEST(Fonts, WindowsFacesResolveToInstalledFonts) {
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("돋움체"))).family(), QStringLiteral("NanumGothicCoding"));
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("돋움"))).family(), QStringLiteral("NanumGothic"));
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("돋음"))).family(), QStringLiteral("NanumGothic"));
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("Arial"))).family(), QStringLiteral("Liberation Sans"));

    const QFont cell16 = ui::CellHeightFont(QStringLiteral("돋움"), 16, QFont::DemiBold);
    const QFontMetrics metrics(cell16);
    EXPECT_NEAR(metrics.ascent() + metrics.descent(), 16, 1);
}
