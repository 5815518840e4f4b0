// The main window when the sound server goes away and comes back: a recording ends with what it
// had and is told, the spectrum falls silent, and its capture and the next recording come back
// without a restart; a termination request with a box open still finishes the file and closes at
// once.
#include "RecorderWindowFixture.h"

#include "CFrequencyGraph.h"
#include "CMssageBoxDlg.h"
#include "CapturePath.h"
#include "RecorderSettings.h"
#include "TerminationSignals.h"
#include "gui/GuiHelpers.h"
#include "pulse/PulseServer.h"
#include "pulse/Signal.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

using namespace quortest::gui;
namespace fs = std::filesystem;

namespace {
const QString kLostNotice = QStringLiteral("사운드 서버와의 연결이 끊어져\r\n녹음을 멈췄습니다.");

// A finished WAV file: chunk sizes that match the file, and its 16-bit stereo samples.
struct WavCheck {
    bool finished = false;
    std::vector<int16_t> samples;
};

uint32_t Le32(const std::string& bytes, size_t at) {
    uint32_t value;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

WavCheck ReadFinishedWav(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    WavCheck check;
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || Le32(bytes, 4) != bytes.size() - 8)
        return check;
    for (size_t at = 12; at + 8 <= bytes.size();) {
        const uint32_t size = Le32(bytes, at + 4);
        if (bytes.compare(at, 4, "data") == 0) {
            check.finished = at + 8 + size == bytes.size();
            check.samples.resize(size / 2);
            std::memcpy(check.samples.data(), bytes.data() + at + 8, check.samples.size() * 2);
            return check;
        }
        at += 8 + size + (size & 1);
    }
    return check;
}

// Seconds of the tone's frequency found in the left channel of 44.1 kHz stereo samples.
double ToneShareOf(const std::vector<int16_t>& samples, double frequency) {
    const auto left = quortest::Channel(samples.data(), samples.size() / 2, 2, 0);
    return quortest::ToneShare(left, 44100.0, frequency);
}

template <typename Done> bool WaitUntil(Done done, int ms) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms)
        Settle(20);
    return done();
}

int CaptureStreams() {
    bool ok = false;
    const std::string list = Server().Pactl("list short source-outputs", &ok);
    return ok ? static_cast<int>(std::count(list.begin(), list.end(), '\n')) : -1;
}
} // namespace

class ServerLossTest : public RecorderWindowTest {
protected:
    void TearDown() override {
        RecorderWindowTest::TearDown();
        // The next test finds a server, whatever this one left.
        if (!Server().ServiceRunning())
            Server().Restart();
    }
    // A new server, a tone on its output, and the window's spectrum capture back on it.
    void BringServerBack(double frequency) {
        tone.reset();
        Server().Restart();
        Server().WakeSink();
        tone = std::make_unique<quortest::SignalPlayer>(frequency, 0.5);
        ASSERT_TRUE(WaitUntil(
            [&] {
                const Recorder& recorder = window->TheRecorder();
                return recorder.IsMonitorRunning() && !recorder.IsMonitorLost() && CaptureStreams() == 1;
            },
            10000))
            << "the spectrum's capture did not come back on the new server";
    }
    // Records about a second and returns the finished file.
    WavCheck RecordASecond() {
        EXPECT_TRUE(Click(window.get(), "IDC_BTN_RECORD"));
        EXPECT_TRUE(window->TheRecorder().IsRecording()) << "the record press after the server came back";
        const std::string path = RecordingPath();
        WaitUntil([&] { return fs::exists(path) && fs::file_size(path) > 44100 * 4; }, 8000);
        EXPECT_TRUE(Click(window.get(), "IDC_BTN_STOP"));
        return ReadFinishedWav(path);
    }
};

TEST_F(ServerLossTest, AKilledServerEndsTheRecordingWithItsAudioAndTheNextRecordingWorksOnceItIsBack) {
    StoreSettings(1, 1);
    OpenWindow();
    ModalAnswerer answer;
    ASSERT_TRUE(Click(window.get(), "IDC_BTN_RECORD"));
    ASSERT_TRUE(window->TheRecorder().IsRecording());
    const std::string first = RecordingPath();
    // A second of tone on disk before the server dies.
    ASSERT_TRUE(WaitUntil([&] { return fs::exists(first) && fs::file_size(first) > 44100 * 4; }, 8000));
    const auto beforeKill = fs::file_size(first);
    auto* spectrum = FindControlAs<CFrequencyGraph>(window.get(), "IDC_STATIC_SPECTRUM");
    ASSERT_NE(spectrum, nullptr);
    const auto showsSound = [spectrum] {
        const std::vector<double> values = spectrum->Values();
        return std::any_of(values.begin(), values.end(), [](double v) { return v > 0.0; });
    };
    ASSERT_TRUE(WaitUntil(showsSound, 8000)) << "the spectrum never showed the tone";

    Server().Kill();
    QElapsedTimer sinceKill;
    sinceKill.start();
    ASSERT_TRUE(WaitUntil([&] { return !answer.Seen().empty(); }, 2000)) << "no notice 2 s after the loss";
    EXPECT_LE(sinceKill.elapsed(), 2000);
    EXPECT_TRUE(answer.Seen()[0].message.startsWith(kLostNotice)) << answer.Seen()[0].message.toStdString();
    EXPECT_EQ(answer.Seen()[0].size, QSize(300, 150));
    EXPECT_FALSE(window->TheRecorder().IsRecording());
    EXPECT_FALSE(window->TimerRunning()) << "the elapsed time stops counting";
    EXPECT_TRUE(window->StatusText().isEmpty());
    EXPECT_TRUE(WaitUntil([&] { return !showsSound(); }, 2000)) << "the spectrum holds up the last sound";

    const WavCheck lost = ReadFinishedWav(first);
    EXPECT_TRUE(lost.finished) << "chunk sizes patched at the loss";
    EXPECT_GE(lost.samples.size() * 2 + 46, beforeKill) << "everything written before the loss is kept";
    EXPECT_GT(ToneShareOf(lost.samples, 1000.0), 0.8);

    // The program is not restarted: the server comes back and the record button works again.
    BringServerBack(660.0);
    const WavCheck next = RecordASecond();
    EXPECT_TRUE(next.finished);
    EXPECT_GT(ToneShareOf(next.samples, 660.0), 0.8) << "the new recording holds what the new server plays";
    EXPECT_EQ(answer.Seen().size(), 1u) << "nothing else to tell";
}

TEST_F(ServerLossTest, StartedWithoutAServerItSaysSoAndRecoversWhenOneAppears) {
    StoreSettings(1, 1);
    tone.reset();
    Server().Kill();
    ModalAnswerer answer;
    OpenWindow();
    ASSERT_FALSE(answer.Seen().empty());
    EXPECT_EQ(answer.Seen().back().message.toStdString(), CapturePath::kStereoDeviceMessage);
    EXPECT_EQ(answer.Seen().back().size, QSize(350, 180));

    BringServerBack(440.0);
    const WavCheck recorded = RecordASecond();
    EXPECT_TRUE(recorded.finished);
    EXPECT_GT(ToneShareOf(recorded.samples, 440.0), 0.8);
}

TEST_F(ServerLossTest, TerminationWithANoticeOpenFinishesTheRecordingAndClosesAtOnce) {
    StoreSettings(1, 1);
    OpenWindow();
    TerminationSignals onSignal(window.get(), [this] { window->OnTerminationRequest(); });
    ASSERT_TRUE(Click(window.get(), "IDC_BTN_RECORD"));
    const std::string path = RecordingPath();
    ASSERT_TRUE(WaitUntil([&] { return fs::exists(path) && fs::file_size(path) > 44100 * 2; }, 8000));

    // The settings refusal opens a notice; the signal arrives while it waits for a click.
    QElapsedTimer sinceSignal;
    QTimer whenBoxOpen;
    QString boxSeen;
    QObject::connect(&whenBoxOpen, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<CMssageBoxDlg*>(QApplication::activeModalWidget())) {
            whenBoxOpen.stop();
            boxSeen = box->Message();
            sinceSignal.start();
            ::kill(::getpid(), SIGTERM);
        }
    });
    whenBoxOpen.start(20);
    ASSERT_TRUE(Click(window.get(), "IDC_BTN_SETTINGS")); // returns once the box has gone
    EXPECT_TRUE(boxSeen.startsWith(QStringLiteral("레코딩 중에는")));
    ASSERT_TRUE(WaitUntil([&] { return !window->isVisible(); }, 2000)) << "still open 2 s after SIGTERM";
    EXPECT_LE(sinceSignal.elapsed(), 2000);
    EXPECT_FALSE(window->TheRecorder().IsRecording());
    const WavCheck finished = ReadFinishedWav(path);
    EXPECT_TRUE(finished.finished);
    EXPECT_GT(ToneShareOf(finished.samples, 1000.0), 0.8);
}
