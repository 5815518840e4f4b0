// The capture path against a private PulseAudio server set up as a desktop is: a null sink
// "speakers" playing a sine, a muted microphone "mic" that is the default source, and a card input
// described "스테레오 믹스 (USB)". The monitor capture opened before the set-up records the (muted)
// stereo mix, never the microphone; after PrepareCapturePath it hears the sine, because the stereo
// mix (and not the card input) was found, unmuted and selected, while the microphone stays muted
// and the default source. The slider follows the real volume.
#include "platform/wavein/CaptureSource.h"
#include "recorder/devices/CapturePath.h"
#include "recorder/engine/Recorder.h"
#include "tests/recorder/devices/UiRecorders.h"
#include "tests/support/Eventually.h"
#include "tests/support/pulse/PulseServer.h"
#include "tests/support/pulse/Signal.h"
#include "tests/support/pulse/SignalPlayer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

namespace {

struct Buffers {
    std::mutex lock;
    std::vector<std::vector<int16_t>> taken;
    static int Feed(void* self, WAVEHDR* header) {
        auto* b = static_cast<Buffers*>(self);
        auto* pcm = reinterpret_cast<const int16_t*>(header->lpData);
        std::lock_guard<std::mutex> guard(b->lock);
        b->taken.emplace_back(pcm, pcm + header->dwBufferLength / 2);
        return 1;
    }
    size_t Count() {
        std::lock_guard<std::mutex> guard(lock);
        return taken.size();
    }
    // Waits for `count` more buffers and returns their left channel.
    std::vector<double> Next(size_t count) {
        size_t from = Count();
        quortest::Eventually([&] { return Count() >= from + count; }, 5s);
        std::lock_guard<std::mutex> guard(lock);
        std::vector<int16_t> pcm;
        for (size_t k = from; k < taken.size(); ++k)
            pcm.insert(pcm.end(), taken[k].begin(), taken[k].end());
        return quortest::Channel(pcm.data(), pcm.size() / 2, 2, 0);
    }
};

} // namespace

TEST(CapturePathAudio, StereoMixIsSelectedUnmutedAndHeardByTheOpenMonitor) {
    quortest::PulseServer& server = quortest::SharedPulseServer();
    ASSERT_TRUE(server.AddMicrophone("mic"));
    // A card's own input described like a stereo mix, later in the list: not taken for it.
    ASSERT_TRUE(server.AddMicrophone("usbmix", "스테레오 믹스 (USB)"));
    server.Pactl("set-default-source mic");
    ASSERT_TRUE(server.SetSourceMute("mic", true)); // muted for privacy: must stay so
    ASSERT_TRUE(server.SetSourceMute("speakers.monitor", true));
    ASSERT_TRUE(server.SetSourceVolume("speakers.monitor", 16384));
    server.WakeSink();
    quortest::SignalPlayer sine(1000.0);
    ASSERT_TRUE(sine.Playing());

    Buffers buffers;
    Recorder recorder(1024);
    ASSERT_EQ(recorder.OpenMonitor(), MMSYSERR_NOERROR);
    recorder.SetMonitorCallback(&buffers, &Buffers::Feed);
    ASSERT_EQ(recorder.StartMonitor(), MMSYSERR_NOERROR);
    auto before = buffers.Next(20);
    ASSERT_FALSE(before.empty());
    EXPECT_EQ(quortest::Rms(before), 0.0) << "the monitor starts on the stereo mix, still muted";

    RecordingHost host;
    RecordingSlider slider;
    CapturePath path(host, slider);
    path.PrepareCapturePath();

    EXPECT_TRUE(host.boxes.empty());
    ASSERT_EQ(path.InputDevices().size(), 1u);
    EXPECT_EQ(path.InputDevices()[0].name, u"PulseAudio Input");
    ASSERT_LT(path.StereoMixPosition(), path.SourceLines().size());
    EXPECT_EQ(path.SourceLines()[path.StereoMixPosition()], u"스테레오 믹스 (Speakers)");
    EXPECT_NE(std::find(path.SourceLines().begin(), path.SourceLines().end(), u"장치: 스테레오 믹스 (USB)"),
              path.SourceLines().end());
    EXPECT_TRUE(platform::CaptureSourceName().empty()) << "the stereo mix follows the default output";
    EXPECT_NE(server.Pactl("get-source-mute mic").find("yes"), std::string::npos)
        << "the microphone stays muted";
    EXPECT_NE(server.Pactl("get-default-source").find("mic"), std::string::npos)
        << "the default is untouched";
    EXPECT_NE(server.Pactl("get-source-mute speakers.monitor").find("no"), std::string::npos);

    // Slider: range [0, 65535], position = maximum - the stereo mix's volume.
    ASSERT_TRUE(slider.range.has_value());
    EXPECT_EQ(*slider.range, std::make_pair(0, 65535));
    EXPECT_EQ(slider.position, 65535 - 16384);
    path.OnVolumeSliderMoved(0);
    EXPECT_NE(server.Pactl("get-source-volume speakers.monitor").find("65536 / 100%"), std::string::npos)
        << server.Pactl("get-source-volume speakers.monitor");
    path.OnVolumeSliderMoved(65535 - 32768);
    EXPECT_NE(server.Pactl("get-source-volume speakers.monitor").find("32769 /  50%"), std::string::npos)
        << server.Pactl("get-source-volume speakers.monitor");
    path.OnVolumeSliderMoved(0);

    // The moved stream must come to hear the sine cleanly. On a busy machine the player may run dry
    // or the move may take a while, so wait for a clean stretch instead of judging the first one.
    std::vector<double> after;
    double share = 0.0;
    for (int stretch = 0; stretch < 8 && share <= 0.9; ++stretch) {
        after = buffers.Next(20);
        ASSERT_FALSE(after.empty());
        share = quortest::ToneShare(after, 44100, 1000.0);
    }
    EXPECT_GT(share, 0.9);
    EXPECT_GT(quortest::Rms(after), 32767 * 0.5 * 0.6);
    recorder.StopMonitor();
}
