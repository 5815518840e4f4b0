// The main window recording one application chosen on the volume page, on both sound servers:
// only its sound reaches the file, and its quit is told once while the recording goes on.
#include "tests/recorder/app/RecorderWindowFixture.h"

#include "platform/wavein/CaptureSource.h"
#include "tests/support/Eventually.h"
#include "tests/support/gui/GuiHelpers.h"
#include "tests/support/pulse/ApplicationPlayer.h"
#include "tests/support/pulse/Signal.h"

#include <cstring>
#include <filesystem>

using namespace quortest::gui;

TEST_F(RecorderWindowTest, AChosenApplicationIsRecordedAloneAndItsQuitIsToldOnce) {
    StoreSettings(1, 1); // WAV
    auto radio = std::make_unique<quortest::ApplicationPlayer>("Radio");
    ASSERT_GE(radio->StartStream(440), 0);
    OpenWindow();
    ModalAnswerer answer;
    ChooseOnTheVolumePage(QStringLiteral("프로그램: Radio"));
    ASSERT_TRUE(platform::ApplicationOfSourceName(platform::CaptureSourceName()).has_value());

    ASSERT_TRUE(Click(window.get(), "IDC_BTN_RECORD"));
    WaitUntilRecorded(44100 * 4);
    radio.reset();
    ASSERT_TRUE(quortest::Eventually([&] { return answer.Seen().size() == 1; }));
    EXPECT_EQ(
        answer.Seen()[0].message,
        QStringLiteral("녹음하던 프로그램(Radio)이 종료되었습니다. 녹음은 무음으로 계속되며, 프로그램이 "
                       "다시 소리를 내면 이어서 녹음합니다."));
    EXPECT_TRUE(window->TheRecorder().IsRecording()) << "the recording goes on";
    radio = std::make_unique<quortest::ApplicationPlayer>("Radio");
    ASSERT_GE(radio->StartStream(440), 0);
    const uintmax_t before = std::filesystem::file_size(RecordingPath());
    WaitUntilRecorded(before + 44100 * 4);
    ASSERT_TRUE(Click(window.get(), "IDC_BTN_STOP"));
    EXPECT_EQ(answer.Seen().size(), 1u) << "told once";

    const std::string bytes = quortest::ReadFile(RecordingPath());
    ASSERT_GT(bytes.size(), 46u + 2 * 44100 * 4);
    std::vector<int16_t> pcm((bytes.size() - 46) / 2);
    std::memcpy(pcm.data(), bytes.data() + 46, pcm.size() * 2);
    // Before the quit and after the return (each player's tone starts at its own phase, so they
    // are measured apart): the application, and nothing of the speakers' own 1 kHz tone.
    const size_t frames = pcm.size() / 2;
    for (size_t from : {size_t(4410), frames - 39690}) {
        const auto part = quortest::Channel(pcm.data() + 2 * from, 35280, 2, 0);
        EXPECT_GT(quortest::ToneShare(part, 44100, 440), 0.8) << "from frame " << from;
        EXPECT_LT(quortest::ToneShare(part, 44100, 1000), 1e-4) << "from frame " << from;
    }
    platform::SelectCaptureSource({});
}
