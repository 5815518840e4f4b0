// The main window when the sound server goes away and comes back: a recording ends with what it
// had and is told, the spectrum falls silent, and its capture and the next recording come back
// without a restart; a termination request with a box open still finishes the file and closes at
// once.
#include "tests/recorder/app/RecorderWindowFixture.h"

#include "platform/wavein/CaptureSource.h"
#include "recorder/devices/CapturePath.h"
#include "recorder/display/CFrequencyGraph.h"
#include "recorder/settings/RecorderSettings.h"
#include "tests/support/Eventually.h"
#include "tests/support/gui/GuiHelpers.h"
#include "tests/support/pulse/PulseServer.h"
#include "tests/support/pulse/Signal.h"
#include "ui/CMssageBoxDlg.h"
#include "ui/TerminationSignals.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

using namespace quortest::gui;
using namespace std::chrono_literals;
using quortest::Eventually;
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

int CaptureStreams() {
    bool ok = false;
    const std::string list = Server().Pactl("list short source-outputs", &ok);
    return ok ? static_cast<int>(std::count(list.begin(), list.end(), '\n')) : -1;
}

// The names of the sources the capture streams record from ("index<TAB>source index<TAB>…" and
// "index<TAB>name<TAB>…" lines).
std::vector<std::string> StreamSources() {
    std::map<std::string, std::string> names;
    std::istringstream sources(Server().Pactl("list short sources"));
    for (std::string index, name, rest; std::getline(sources, index, '\t') &&
                                        std::getline(sources, name, '\t') && std::getline(sources, rest);)
        names[index] = name;
    std::vector<std::string> recorded;
    std::istringstream streams(Server().Pactl("list short source-outputs"));
    for (std::string index, source, rest; std::getline(streams, index, '\t') &&
                                          std::getline(streams, source, '\t') && std::getline(streams, rest);)
        recorded.push_back(names.count(source) ? names[source] : source);
    return recorded;
}

bool Muted(const std::string& source) {
    return Server().Pactl("get-source-mute " + source).find("yes") != std::string::npos;
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
        ASSERT_TRUE(Eventually(
            [&] {
                const Recorder& recorder = window->TheRecorder();
                return recorder.IsMonitorRunning() && !recorder.IsMonitorLost() && CaptureStreams() == 1;
            },
            10s))
            << "the spectrum's capture did not come back on the new server";
    }
    // Kills the server, brings it back and waits until the window has recovered its capture path.
    void RestartServer() {
        Server().Kill();
        BringServerBack(660.0);
        ASSERT_TRUE(Eventually([&] { return !window->RecoveringCapturePath(); }, 10s));
    }
    // Records about a second and returns the finished file.
    WavCheck RecordASecond() {
        EXPECT_TRUE(Click(window.get(), "IDC_BTN_RECORD"));
        EXPECT_TRUE(window->TheRecorder().IsRecording()) << "the record press after the server came back";
        const std::string path = RecordingPath();
        Eventually([&] { return fs::exists(path) && fs::file_size(path) > 44100 * 4; }, 8s);
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
    ASSERT_TRUE(Eventually([&] { return fs::exists(first) && fs::file_size(first) > 44100 * 4; }, 8s));
    const auto beforeKill = fs::file_size(first);
    auto* spectrum = FindControlAs<CFrequencyGraph>(window.get(), "IDC_STATIC_SPECTRUM");
    ASSERT_NE(spectrum, nullptr);
    const auto showsSound = [spectrum] {
        const std::vector<double> values = spectrum->Values();
        return std::any_of(values.begin(), values.end(), [](double v) { return v > 0.0; });
    };
    ASSERT_TRUE(Eventually(showsSound, 8s)) << "the spectrum never showed the tone";

    Server().Kill();
    QElapsedTimer sinceKill;
    sinceKill.start();
    ASSERT_TRUE(Eventually([&] { return !answer.Seen().empty(); }, 2s)) << "no notice 2 s after the loss";
    EXPECT_LE(sinceKill.elapsed(), 2000);
    EXPECT_TRUE(answer.Seen()[0].message.startsWith(kLostNotice)) << answer.Seen()[0].message.toStdString();
    EXPECT_EQ(answer.Seen()[0].size, QSize(300, 150));
    EXPECT_FALSE(window->TheRecorder().IsRecording());
    EXPECT_FALSE(window->TimerRunning()) << "the elapsed time stops counting";
    EXPECT_TRUE(window->StatusText().isEmpty());
    EXPECT_TRUE(Eventually([&] { return !showsSound(); }, 2s)) << "the spectrum holds up the last sound";

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

TEST_F(ServerLossTest, AChosenMutedMicrophoneStaysChosenAndMutedAcrossARestartAndItsLossIsToldOnce) {
    StoreSettings(1, 1);
    ASSERT_TRUE(Server().AddMicrophone("mic"));
    ASSERT_TRUE(Server().SetSourceMute("mic", true));
    OpenWindow();
    ModalAnswerer answer;
    ChooseOnTheVolumePage(QStringLiteral("Microphone"));
    // (PipeWire keeps a capture opened on a monitor there: the window's own capture moves to the
    // microphone only when it is opened again.)
    ASSERT_EQ(platform::CaptureSourceName(), "mic");

    RestartServer();
    EXPECT_EQ(StreamSources(), std::vector<std::string>{"mic"}) << "still chosen";
    EXPECT_TRUE(Muted("mic")) << "a muted microphone stays muted";
    EXPECT_TRUE(answer.Seen().empty()) << "nothing to tell";
    const WavCheck chosen = RecordASecond();
    EXPECT_TRUE(chosen.finished);
    EXPECT_GT(chosen.samples.size(), 44100u * 2) << "a second of the microphone was recorded";
    EXPECT_LT(ToneShareOf(chosen.samples, 660.0), 0.1)
        << "the recording is the microphone's, not the output's";

    // The microphone goes with the server: told once, and the stereo mix is recorded again.
    ASSERT_TRUE(Server().RemoveMicrophone("mic"));
    RestartServer();
    ASSERT_EQ(answer.Seen().size(), 1u);
    EXPECT_EQ(answer.Seen()[0].message.toStdString(), CapturePath::kChosenSourceGoneMessage);
    EXPECT_EQ(answer.Seen()[0].size, QSize(300, 150));
    EXPECT_EQ(StreamSources(), std::vector<std::string>{"speakers.monitor"});
    EXPECT_TRUE(platform::CaptureSourceName().empty()) << "following the default output again";
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
    ASSERT_TRUE(Eventually([&] { return fs::exists(path) && fs::file_size(path) > 44100 * 2; }, 8s));

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
    ASSERT_TRUE(Eventually([&] { return !window->isVisible(); }, 2s)) << "still open 2 s after SIGTERM";
    EXPECT_LE(sinceSignal.elapsed(), 2000);
    EXPECT_FALSE(window->TheRecorder().IsRecording());
    const WavCheck finished = ReadFinishedWav(path);
    EXPECT_TRUE(finished.finished);
    EXPECT_GT(ToneShareOf(finished.samples, 1000.0), 0.8);
}
