// The failure path of the capture-path set-up without a sound server, with the real notification
// box and a stand-in pavucontrol on PATH that records how it was started; and the slider adapter.
#include "recorder/devices/CapturePath.h"
#include "recorder/devices/dialog/CapturePathDialogs.h"
#include "tests/support/Eventually.h"
#include "tests/support/TempDir.h"
#include "tests/support/gui/GuiHelpers.h"

#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

namespace {

struct NoServer {
    quortest::TempDir dir;
    quortest::ScopedEnv server{"PULSE_SERVER", "unix:" + (dir / "nothing-here").string()};
    quortest::ScopedEnv config{"PULSE_CLIENTCONFIG", std::string("/dev/null")};
};

} // namespace

TEST(CapturePathDialogs, WithoutServerTheStereoDeviceBoxThenThePanelOnTheInputTab) {
    NoServer noServer;
    quortest::TempDir bin;
    // Written whole under its name at once (PATH holds only this folder): the test waits for the
    // name, then reads.
    const std::string args = (bin / "args").string();
    quortest::WriteFile(bin / "pavucontrol", "#!/bin/sh\necho \"$@\" > '" + args + ".part' && /bin/mv '" +
                                                 args + ".part' '" + args + "'\n");
    std::filesystem::permissions(bin / "pavucontrol", std::filesystem::perms::owner_all);
    quortest::ScopedEnv path("PATH", bin.str());

    QWidget window;
    window.resize(330, 158);
    window.show();
    QSlider slider(Qt::Vertical, &window);
    CapturePathDialogs dialogs(&window);
    SliderVolumeAdapter sliderAdapter(&slider);
    CapturePath capturePath(dialogs, sliderAdapter);
    {
        quortest::gui::ModalAnswerer answerer(quortest::gui::ModalAnswerer::Answer::Ok);
        capturePath.PrepareCapturePath();
        ASSERT_EQ(answerer.Seen().size(), 1u);
        const auto& box = answerer.Seen()[0];
        EXPECT_EQ(box.className, "CMssageBoxDlg");
        EXPECT_EQ(box.title, "알림");
        EXPECT_EQ(box.message,
                  QString::fromUtf8("녹음을 위해서 스테레오 장치가 필요합니다.\r\n스테레오 믹스를 사용 및 "
                                    "기본 장치로 설정해 주세요.\r\n사운드 설정탭을 오픈합니다."));
        EXPECT_EQ(box.buttonLayout, 1);
        EXPECT_EQ(box.size, QSize(350, 180));
    }
    quortest::Eventually([&] { return std::filesystem::exists(bin / "args"); }, std::chrono::seconds(3));
    EXPECT_EQ(quortest::ReadFile(bin / "args"), "--tab=4\n");
}

TEST(CapturePathDialogs, WithoutPavucontrolOnlyTheBoxShows) {
    NoServer noServer;
    quortest::TempDir emptyBin;
    quortest::ScopedEnv path("PATH", emptyBin.str());
    QSlider slider(Qt::Vertical);
    CapturePathDialogs dialogs(nullptr);
    SliderVolumeAdapter sliderAdapter(&slider);
    CapturePath capturePath(dialogs, sliderAdapter);
    quortest::gui::ModalAnswerer answerer(quortest::gui::ModalAnswerer::Answer::Ok);
    capturePath.PrepareCapturePath();
    EXPECT_EQ(answerer.Seen().size(), 1u) << "the box, and no second box about a missing panel";
}

TEST(CapturePathDialogs, SliderSetByTheProgramDoesNotReportAMove) {
    QSlider slider(Qt::Vertical);
    QSignalSpy moved(&slider, &QSlider::valueChanged);
    SliderVolumeAdapter adapter(&slider);
    adapter.SetRange(0, 65535);
    adapter.SetPosition(49151);
    EXPECT_EQ(slider.minimum(), 0);
    EXPECT_EQ(slider.maximum(), 65535);
    EXPECT_EQ(slider.value(), 49151);
    EXPECT_EQ(moved.count(), 0);
}
