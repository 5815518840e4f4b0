// Recording control over the scripted capture when files and disks misbehave: names that are
// taken, files held by another writer, folders removed under a recording, a disk that refuses the
// first data or the end, an encoder that refuses the stream, and a writer that blocks for seconds.
#include "recorder/engine/CSoundFile.h"
#include "recorder/engine/CSoundIn.h"
#include "recorder/engine/CWriteMP3File.h"
#include "recorder/engine/Recorder.h"
#include "recorder/settings/RecorderSettings.h"
#include "tests/encoder/Mp3Probe.h"
#include "tests/support/Eventually.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TempDir.h"
#include "tests/support/pulse/ScriptedWaveIn.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;
using quortest::Eventually;
using Failure = Recorder::RecordFailure;
namespace fs = std::filesystem;

namespace {

uintmax_t SizeOf(const fs::path& file) {
    std::error_code ec;
    const uintmax_t size = fs::file_size(file, ec);
    return ec ? 0 : size;
}

uint32_t LE32(const std::string& s, size_t at) {
    uint32_t v = 0;
    std::memcpy(&v, s.data() + at, 4);
    return v;
}

// A whole recording: WAV sizes that describe the file and some data, or MP3 that decodes.
void ExpectWhole(const fs::path& file) {
    SCOPED_TRACE(file.string());
    if (file.extension() == ".wav") {
        const std::string bytes = quortest::ReadFile(file);
        ASSERT_GT(bytes.size(), 46u);
        EXPECT_EQ(LE32(bytes, 4), bytes.size() - 8);
        EXPECT_EQ(LE32(bytes, 42), bytes.size() - 46);
    } else {
        const quortest::DecodedMp3 mp3 = quortest::DecodeMp3(file);
        EXPECT_TRUE(mp3.ok);
        EXPECT_GT(mp3.frames, 0u);
        EXPECT_GT(quortest::CountWholeFrames(quortest::ReadFile(file)), 0) << "frames of one stream only";
    }
}

// Runs a clean-up when the scope ends, however it ends.
struct AtScopeExit {
    std::function<void()> run;
    ~AtScopeExit() { run(); }
};

class RecordingFaults : public ::testing::Test {
protected:
    void SetUp() override {
        settings = RecorderSettings{};
        settings.savePath = dir.str();
    }
    void TearDown() override { settings = RecorderSettings{}; }
    void Use(int fileType, int fileSetting, const std::string& name, bool automatic) {
        settings.fileType = fileType;
        settings.fileSetting = fileSetting;
        settings.ApplyPreset();
        settings.fileName = name;
        settings.fileNameAutomatic = automatic;
    }
    // Records until the file holds more than `bytes`, then stops.
    void RecordUntil(Recorder& running, uintmax_t bytes) {
        const fs::path file = running.RecordingPath();
        ASSERT_TRUE(Eventually([&] { return SizeOf(file) > bytes; })) << file;
        ASSERT_TRUE(running.StopRecord());
    }

    quortest::ScriptedWaveIn driver;
    quortest::TempDir dir;
    RecorderSettings& settings = TheRecorderSettings();
    Recorder recorder{1024};
};

} // namespace

TEST_F(RecordingFaults, AutomaticNamesNeverReplaceAFileAndEveryFileHasOneWriter) {
    // Record, stop and record again within the same second: the clock gives the same name.
    for (const char* extension : {"mp3", "wav"}) {
        const std::string name = std::string("20260314_093005.") + extension;
        for (int take = 0; take < 2; ++take) {
            Use(extension == std::string("mp3") ? 0 : 1, 3, name, true);
            ASSERT_TRUE(recorder.StartRecord()) << recorder.LastFailureDetail();
            RecordUntil(recorder, 8000);
            EXPECT_EQ(recorder.LastFailure(), Failure::None);
        }
        EXPECT_EQ(settings.fileName, std::string("20260314_093005_2.") + extension)
            << "the name recorded is told";
        ExpectWhole(dir / name);
        ExpectWhole(dir / ("20260314_093005_2." + std::string(extension)));
    }

    // Two recorders at once under the same automatic name write two separate files.
    Recorder second{1024};
    Use(0, 0, "same.mp3", true);
    ASSERT_TRUE(recorder.StartRecord());
    Use(0, 0, "same.mp3", true);
    ASSERT_TRUE(second.StartRecord());
    EXPECT_EQ(second.RecordingPath(), (dir / "same_2.mp3").string());
    ASSERT_TRUE(
        Eventually([&] { return SizeOf(dir / "same.mp3") > 8000 && SizeOf(dir / "same_2.mp3") > 8000; }));
    ASSERT_TRUE(recorder.StopRecord());
    ASSERT_TRUE(second.StopRecord());
    ExpectWhole(dir / "same.mp3");
    ExpectWhole(dir / "same_2.mp3");

    // A chosen name that another recorder is writing is refused, not truncated under it.
    for (const char* held : {"held.mp3", "held.wav"}) {
        Use(held == std::string("held.mp3") ? 0 : 1, 0, held, false);
        ASSERT_TRUE(recorder.StartRecord());
        ASSERT_TRUE(Eventually([&] { return SizeOf(dir / held) > 100; }));
        EXPECT_FALSE(second.StartRecord());
        EXPECT_EQ(second.LastFailure(), Failure::FileNotCreated);
        RecordUntil(recorder, 8000);
        ExpectWhole(dir / held);
    }
}

TEST_F(RecordingFaults, AFileRemovedWhileRecordingIsToldAtStopAndARenamedOneIsWrittenOn) {
    std::vector<std::string> tagged;
    recorder.SetTagEditor([&](const std::string& path) { tagged.push_back(path); });
    settings.mp3Id3v1 = 1;
    for (int type : {0, 1}) {
        settings.savePath = (dir / "folder").string();
        fs::create_directory(settings.savePath);
        Use(type, 0, type == 0 ? "gone.mp3" : "gone.wav", true);
        settings.mp3Id3v1 = 1;
        ASSERT_TRUE(recorder.StartRecord());
        ASSERT_TRUE(Eventually([&] { return SizeOf(recorder.RecordingPath()) > 100; }));
        EXPECT_FALSE(recorder.RecordingFileGone());
        fs::remove_all(settings.savePath);
        EXPECT_TRUE(recorder.RecordingFileGone());
        ASSERT_TRUE(recorder.StopRecord());
        EXPECT_EQ(recorder.LastFailure(), Failure::FileRemoved);
    }
    EXPECT_TRUE(tagged.empty()) << "no tag editor on a file that is gone";

    // The MP3 renamed, the WAV's folder renamed while recording: each is written on to its end,
    // the stop tells where it is now, and the tag editor opens there.
    for (int type : {0, 1}) {
        settings.savePath = (dir / "saved").string();
        fs::create_directory(settings.savePath);
        Use(type, 0, type == 0 ? "take.mp3" : "take.wav", false);
        settings.mp3Id3v1 = 1;
        ASSERT_TRUE(recorder.StartRecord());
        ASSERT_TRUE(Eventually([&] { return SizeOf(recorder.RecordingPath()) > 100; }));
        const fs::path now = type == 0 ? dir / "saved" / "renamed.mp3" : dir / "moved" / "take.wav";
        fs::rename(type == 0 ? recorder.RecordingPath() : settings.savePath, type == 0 ? now : dir / "moved");
        EXPECT_FALSE(recorder.RecordingFileGone());
        const uintmax_t atRename = SizeOf(now);
        ASSERT_TRUE(Eventually([&] { return SizeOf(now) > atRename + 8000; })) << "written on";
        ASSERT_TRUE(recorder.StopRecord());
        EXPECT_EQ(recorder.LastFailure(), Failure::FileMoved);
        EXPECT_EQ(recorder.RecordingPath(), now.string());
        ExpectWhole(now);
    }
    EXPECT_EQ(tagged, std::vector<std::string>{(dir / "saved" / "renamed.mp3").string()});
}

TEST_F(RecordingFaults, RecordingsThatCannotStartLeaveNoFile) {
    // The first MP3 data meets a full disk: the recording ends, and Stop removes the empty file.
    {
        const quortest::FileSizeLimit full(0);
        Use(0, 0, "full.mp3", true);
        ASSERT_TRUE(recorder.StartRecord());
        ASSERT_TRUE(Eventually([&] { return recorder.EndedByItself() == Failure::DiskFull; }));
        ASSERT_TRUE(recorder.StopRecord());
        EXPECT_EQ(recorder.LastFailure(), Failure::NoRoomToStart);
    }
    // A chosen name whose recording cannot start leaves the file of that name as it was.
    const fs::path kept = dir / "kept";
    fs::create_directory(kept);
    settings.savePath = kept.string();
    for (const char* name : {"old.mp3", "old.wav"}) {
        quortest::WriteFile(kept / name, "an earlier recording");
        Use(name == std::string("old.mp3") ? 0 : 1, 0, name, false);
        driver.FailCall(quortest::ScriptedWaveIn::Call::Start, MMSYSERR_NODRIVER);
        EXPECT_FALSE(recorder.StartRecord());
        EXPECT_EQ(recorder.LastFailure(), Failure::CaptureFailed);
        EXPECT_EQ(quortest::ReadFile(kept / name), "an earlier recording");
    }
    fs::remove_all(kept);
    settings.savePath = dir.str();
    // A file type that is neither MP3 nor WAV records nothing rather than pretending to.
    for (int type : {2, -1, 99}) {
        Use(type, 0, "other.ogg", true);
        EXPECT_FALSE(recorder.StartRecord());
        EXPECT_EQ(recorder.LastFailure(), Failure::NoFormat);
        EXPECT_FALSE(recorder.IsRecording());
    }
    EXPECT_TRUE(fs::is_empty(dir.path())) << "no file is left behind";
    EXPECT_EQ(driver.OpenDevices(), 0) << "no capture is left running";
}

TEST_F(RecordingFaults, EndsThatDoNotReachTheDiskAreReported) {
    const std::vector<int16_t> pcm = quortest::StereoTone(44100, 1.0, 440, 880);
    {
        CWriteMP3File writer;
        writer.Open((dir / "end.mp3").string(), 128, 44100, 0);
        writer.Receive(reinterpret_cast<unsigned char*>(const_cast<int16_t*>(pcm.data())),
                       static_cast<int>(pcm.size() * 2));
        const quortest::FileSizeLimit full(SizeOf(dir / "end.mp3"));
        EXPECT_FALSE(writer.Close()) << "the flushed frames did not fit";
    }
    {
        WAVEFORMATEX format{1, 2, 44100, 176400, 4, 16, 0};
        CSoundFile wav((dir / "end.wav").string(), &format);
        CBuffer buffer(const_cast<int16_t*>(pcm.data()), 4000);
        ASSERT_TRUE(wav.Write(&buffer)); // held in the file's buffer until the end
        const quortest::FileSizeLimit full(SizeOf(dir / "end.wav"));
        EXPECT_FALSE(wav.Finish());
    }
    // And an encoder that refuses the stream makes no file at all, and gets its handle back.
    CWriteMP3File refused(REFUSING_ENCODER);
    try {
        refused.Open((dir / "refused.mp3").string(), 128, 44100, 0);
        ADD_FAILURE() << "the stream was accepted";
    } catch (const CWriteMP3FileError& error) {
        EXPECT_EQ(error.GetReason(), CWriteMP3FileError::Reason::EncoderStream);
        EXPECT_STREQ(error.what(), "ERRORR in beInitStream.");
    }
    EXPECT_FALSE(fs::exists(dir / "refused.mp3"));
    void* library = dlopen(REFUSING_ENCODER, RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(library, nullptr);
    auto openHandles = reinterpret_cast<int (*)()>(dlsym(library, "RefusingEncoderOpenHandles"));
    ASSERT_NE(openHandles, nullptr);
    EXPECT_EQ(openHandles(), 0);
    dlclose(library);
}

// The recording goes into a pipe whose reader stops reading: the capture worker then blocks in
// its write for as long as the test says.
TEST_F(RecordingFaults, AStopKeepsEverythingCapturedUpToItButNothingWhilePaused) {
    Use(1, 0, "tail.wav", false);
    const uint64_t buffer = uint64_t(CSoundIn::FragmentFrames(settings.sampleRate)) * 4;
    ASSERT_TRUE(recorder.StartRecord());
    // Stopped while a buffer is partly filled.
    ASSERT_TRUE(Eventually(
        [&] { return recorder.RecordedBytes() > 100000 && driver.ProducedBytes() % buffer > buffer / 4; }));
    ASSERT_TRUE(recorder.StopRecord());
    const std::string wav = quortest::ReadFile(dir / "tail.wav");
    ASSERT_GT(wav.size(), 46u);
    EXPECT_EQ(LE32(wav, 42), driver.ProducedBytes()) << "the buffers in flight and the last part";

    Use(1, 0, "paused.wav", false);
    ASSERT_TRUE(recorder.StartRecord());
    ASSERT_TRUE(Eventually([&] { return recorder.RecordedBytes() > 0; }));
    ASSERT_TRUE(recorder.PauseRecord());
    // Several buffers later, anything taken before the pause is written.
    const uint64_t atPause = driver.ProducedBytes();
    ASSERT_TRUE(Eventually([&] { return driver.ProducedBytes() > atPause + 3 * buffer + buffer / 2; }));
    const uint64_t kept = recorder.RecordedBytes();
    ASSERT_TRUE(recorder.StopRecord());
    EXPECT_EQ(recorder.RecordedBytes(), kept) << "a paused recording takes nothing at the stop";

    // A device that, like a sound server, holds audio until a fragment is full.
    driver.holdFragments = true;
    Use(1, 0, "held.wav", false);
    const uint64_t madeBefore = driver.MadeBytes();
    ASSERT_TRUE(recorder.StartRecord());
    // Stopped while the device holds part of a fragment.
    ASSERT_TRUE(Eventually([&] {
        return recorder.RecordedBytes() > 0 && driver.MadeBytes() > driver.ProducedBytes() + buffer / 4;
    }));
    const uint64_t madeBeforeStop = driver.MadeBytes() - madeBefore;
    ASSERT_TRUE(recorder.StopRecord());
    EXPECT_GE(recorder.RecordedBytes(), madeBeforeStop) << "the audio made up to the stop is in the file";
}

TEST_F(RecordingFaults, AStalledWriterLosesTheOverflowWhichIsToldAndStopWaitsForIt) {
    const fs::path pipePath = dir / "pipe.mp3";
    ASSERT_EQ(mkfifo(pipePath.c_str(), 0600), 0);
    const int reader = open(pipePath.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const int pipeBytes = fcntl(reader, F_SETPIPE_SZ, 4096);
    ASSERT_GT(pipeBytes, 0);
    // Writes of up to two 320 kbps frames are atomic: the writer blocks once less than that is
    // free, and is known to be blocked once nothing more arrives for several capture buffers.
    auto writerBlocked = [&] {
        int last = -1;
        auto since = std::chrono::steady_clock::now();
        return Eventually([&] {
            int queued = 0;
            if (ioctl(reader, FIONREAD, &queued) != 0)
                return false;
            if (queued != last) {
                last = queued;
                since = std::chrono::steady_clock::now();
                return false;
            }
            return queued >= pipeBytes - 2100 && std::chrono::steady_clock::now() - since > 150ms;
        });
    };
    std::atomic<bool> draining{false};
    std::atomic<bool> finished{false};
    std::string collected; // the drain thread's until it is joined
    std::atomic<size_t> collectedBytes{0};
    std::thread drain([&] {
        char chunk[4096];
        while (!finished) {
            if (!draining) {
                Eventually([&] { return draining || finished; });
                continue;
            }
            const ssize_t got = read(reader, chunk, sizeof chunk);
            if (got > 0) {
                collected.append(chunk, static_cast<size_t>(got));
                collectedBytes = collected.size();
            } else if (got == 0) {
                finished = true; // the writer closed: the recording is finished
            } else {
                pollfd ready{reader, POLLIN, 0};
                poll(&ready, 1, 10); // until the writer gives more or closes
            }
        }
    });
    std::thread release;
    // However the test ends, a failed assertion included, the pipe is drained until the recording
    // has stopped and both threads are joined: a failure is told, not ended by std::terminate.
    const AtScopeExit joinHelpers{[&] {
        draining = true;
        recorder.StopRecord();
        if (release.joinable())
            release.join();
        Eventually([&] { return finished.load(); });
        finished = true;
        if (drain.joinable())
            drain.join();
    }};

    Use(0, 0, "pipe.mp3", false); // 320 kbps: the pipe fills in a tenth of a second
    ASSERT_TRUE(recorder.StartRecord()) << recorder.LastFailureDetail();
    const auto recordStart = std::chrono::steady_clock::now();
    ASSERT_TRUE(writerBlocked());
    const auto stallStart = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(10s); // the stall itself: the reader reads nothing
    draining = true;
    const double stalled =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - stallStart).count();

    // The recording goes on after the stall; then the reader stops again and Stop comes while the
    // writer is blocked for 8 s.
    const size_t afterStall = collectedBytes;
    ASSERT_TRUE(Eventually([&] { return collectedBytes > afterStall + 80000; }));
    draining = false;
    ASSERT_TRUE(writerBlocked());
    release = std::thread([&] {
        std::this_thread::sleep_for(8s); // the second stall
        draining = true;
    });
    const auto stopStart = std::chrono::steady_clock::now();
    const double captured = std::chrono::duration<double>(stopStart - recordStart).count();
    ASSERT_TRUE(recorder.StopRecord());
    EXPECT_GE(std::chrono::steady_clock::now() - stopStart, 7s) << "Stop waited for the blocked write";
    release.join();
    ASSERT_TRUE(Eventually([&] { return finished.load(); }));
    drain.join();
    close(reader);

    // A 2 s backlog, three capture buffers and the pipe absorb the start of the stall.
    EXPECT_NEAR(recorder.DroppedSeconds(), stalled - 2.1, 0.5);
    EXPECT_EQ(recorder.LastFailure(), Failure::None);
    quortest::WriteFile(dir / "copy.mp3", collected);
    const quortest::DecodedMp3 mp3 = quortest::DecodeMp3(dir / "copy.mp3");
    EXPECT_TRUE(mp3.ok);
    EXPECT_EQ(quortest::CountWholeFrames(collected), static_cast<long>(mp3.mp3Frames)) << "the end is whole";
    // What the file holds and what was told as lost add up to the time the capture ran (the short
    // second stall is cut off by Stop itself).
    EXPECT_NEAR(double(mp3.frames) / 44100 + recorder.DroppedSeconds(), captured, 0.6);
}

// The capture's own side of the same promise: Stop returns only once a callback that outlasts the
// capture's patience for retiring buffers has returned, so its owner may then free what it used.
TEST(SlowCapture, StopWaitsForACallbackLongerThanTheRetireTimeout) {
    quortest::ScriptedWaveIn driver;
    CSoundIn capture;
    struct Slow {
        std::atomic<int> calls{0};
        std::atomic<bool> inside{false};
        std::atomic<bool> returned{false};
        static void Take(CBuffer&, void* self) {
            auto* slow = static_cast<Slow*>(self);
            if (++slow->calls != 2)
                return;
            slow->inside = true;
            std::this_thread::sleep_for(6s); // a write stuck on a slow disk
            slow->returned = true;
        }
    } slow;
    capture.DataFromSoundIn = &Slow::Take;
    capture.m_pOwner = &slow;
    ASSERT_TRUE(capture.Start());
    ASSERT_TRUE(Eventually([&] { return slow.inside.load(); }));
    capture.Stop();
    EXPECT_TRUE(slow.returned) << "Stop returned while the callback was still running";
    EXPECT_EQ(capture.QueuedBuffers(), 0);
    EXPECT_EQ(driver.OpenDevices(), 0);
}
