// quor-record's run: everything between the parsed options and the exit code.
#include "tools/quor-record/RecordSession.h"

#include "platform/pulse/PulseConnection.h"
#include "platform/pulse/SoundSources.h"
#include "platform/registry/HiveFile.h"
#include "platform/riff/FollowedFile.h"
#include "platform/wavein/CaptureSource.h"
#include "recorder/engine/Recorder.h"
#include "recorder/settings/AutomaticFileName.h"
#include "recorder/settings/QualityPresets.h"
#include "recorder/settings/RecorderSettings.h"
#include "tools/quor-record/LevelWatch.h"
#include "tools/quor-record/RecordOptions.h"
#include "tools/quor-record/StatusLine.h"

#include <chrono>
#include <csignal>
#include <ctime>
#include <filesystem>
#include <iomanip>
#include <ostream>
#include <unistd.h>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

namespace {

// The monitor capture's fixed format: 44100 Hz 16-bit stereo.
constexpr int kMonitorRate = 44100;
// No captured data for this long while the server still answers: the capture is gone.
constexpr auto kStallLimit = 5s;
constexpr auto kStatusPeriod = 250ms;
const std::string kServerGone = "cannot reach the sound server (PulseAudio or PipeWire).";

struct Outcome {
    int code = kRecordOk;
    std::string sentence; // empty when all went well
};

bool ServerReady() {
    platform::PulseConnection& pulse = platform::PulseConnection::Instance();
    platform::PulseConnection::Lock lock(pulse);
    return pulse.IsReadyLocked();
}

// Settings from the store, with the format and the quality of the command line over them.
Outcome ChooseFormat(const RecordOptions& options, RecorderSettings& settings) {
    settings.Load(); // a stored type that cannot be recorded is MP3 at its first preset
    const bool otherFormat = options.fileType && *options.fileType != settings.fileType;
    if (options.fileType)
        settings.fileType = *options.fileType;
    if (options.quality) {
        auto index = ResolveQuality(settings.fileType, *options.quality);
        if (!index)
            return {kRecordUsage, "--quality \"" + *options.quality + "\" is not a preset of " +
                                      (settings.fileType == kFileTypeMp3 ? "MP3" : "WAV") + " (see --help)"};
        settings.fileSetting = *index;
    } else if (otherFormat) {
        // The stored preset belongs to the stored format.
        settings.fileSetting = 0;
    }
    settings.ApplyPreset();
    return {};
}

// The source to record: the one named, else the monitor of the default output.
Outcome ChooseSource(const RecordOptions& options, std::ostream& out) {
    auto sources = platform::ListSoundSources();
    if (!sources)
        return {kRecordNoServer, kServerGone};
    std::optional<std::vector<platform::PlayingApplication>> applications;
    if (options.listSources || options.application) {
        applications = platform::ListPlayingApplications();
        if (!applications)
            return {kRecordNoServer, kServerGone};
    }
    if (options.listSources) {
        for (const platform::SoundSource& source : *sources)
            out << (source.monitorOfDefaultOutput ? "* " : "  ") << source.name << '\t' << source.description
                << '\n';
        for (const platform::PlayingApplication& application : *applications)
            out << "  [application] " << application.name << '\t' << application.binary << '\n';
        return {};
    }
    if (options.application) {
        const platform::PlayingApplication* chosen =
            platform::FindPlayingApplication(*applications, *options.application);
        if (!chosen)
            return {kRecordNoSource, "no application named \"" + *options.application +
                                         "\" is playing (see quor-record --list-sources)."};
        // Followed from stream to stream for the whole recording, even while it plays nothing.
        platform::SelectCaptureSource(platform::ApplicationSourceName({chosen->binary, chosen->name}));
        return {};
    }
    const platform::SoundSource* chosen = nullptr;
    if (options.source) {
        chosen = platform::FindSoundSource(*sources, *options.source);
        if (!chosen)
            return {kRecordNoSource, "there is no sound source named \"" + *options.source +
                                         "\" (see quor-record --list-sources)."};
    }
    // Nothing named: the capture records the default output's monitor and moves with the default
    // output, as the window does; a named source stays chosen.
    platform::SelectCaptureSource(chosen ? chosen->name : std::string());
    return {};
}

// The folder and the name of the new file.
Outcome ChooseFile(const RecordOptions& options, RecorderSettings& settings) {
    std::error_code ec;
    if (options.file) {
        const fs::path path = fs::absolute(*options.file, ec);
        if (ec || path.filename().empty())
            return {kRecordUsage, "\"" + *options.file + "\" is not a file name"};
        if (fs::exists(fs::symlink_status(path, ec)))
            return {kRecordFileError, path.string() + " already exists; it is not replaced."};
        settings.savePath = path.parent_path().string();
        settings.fileName = path.filename().string();
        settings.fileNameAutomatic = false;
        return {};
    }
    // The save folder of the settings; made when missing, as a script expects it to work.
    fs::create_directories(settings.savePath, ec);
    // The recorder claims the name when it starts, adding "_2", "_3", … when it is taken.
    settings.fileName = AutomaticFileName(settings.fileType, std::time(nullptr));
    settings.fileNameAutomatic = true;
    return {};
}

// The file-size limit of this process (ulimit -f), in bytes.
std::string LimitText() {
    return std::to_string(platform::FileSizeLimit().value_or(0)) + " bytes (ulimit -f)";
}

// Why a recording could not start, or what went wrong with it by its end; a sentence with code 0
// tells something the user should know about a complete recording.
Outcome FailureOutcome(const Recorder& recorder) {
    const std::string& path = recorder.RecordingPath();
    const std::string detail = recorder.LastFailureDetail();
    using F = Recorder::RecordFailure;
    switch (recorder.LastFailure()) {
    case F::None:
        return {};
    case F::FileNotCreated:
        return {kRecordFileError, "cannot create " + path + "."};
    case F::DiskFull:
        return {kRecordFileError,
                "the disk is full; the recording stopped and " + path + " holds what was written."};
    case F::FileSizeLimit:
        return {kRecordFileError, "the file reached the file-size limit of " + LimitText() +
                                      "; the recording stopped and " + path + " holds what was written."};
    case F::NoRoomToStart:
        if (platform::FileSizeLimit())
            return {kRecordFileError, "the file-size limit of " + LimitText() +
                                          " leaves no room; nothing could be recorded and no file was kept."};
        return {kRecordFileError, "the disk is full; nothing could be recorded and no file was kept."};
    case F::SizeLimit:
        return {kRecordFileError,
                "the WAV file reached its largest possible size; " + path + " is complete."};
    case F::FileRemoved:
        return {kRecordFileError,
                path + " or its folder was removed while recording; the recording is lost."};
    case F::FileMoved:
        // Written on to the end where it went: complete, only under another name.
        return {kRecordOk,
                "the file was renamed or moved while recording; the whole recording is in " + path + "."};
    case F::EndNotWritten:
        return {kRecordFileError,
                "the end of the recording did not reach the disk; " + path + " may lack it."};
    case F::EncoderMissing:
        return {kRecordFailed, "the MP3 encoder library liblame_enc.so cannot be loaded (" + detail + ")."};
    case F::CaptureFailed:
        if (!ServerReady())
            return {kRecordNoServer, kServerGone};
        return {kRecordFailed, "the sound server refused the capture (" + detail + ")."};
    default:
        return {kRecordFailed, "the recording could not be made (" + detail + ")."};
    }
}

sigset_t StopSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&set, signal);
    return set;
}

// Waits for a stop signal up to `timeout`; true when one came.
bool StopSignalWithin(Clock::duration timeout) {
    const sigset_t set = StopSignals();
    const auto nanos = std::chrono::duration_cast<std::chrono::nanoseconds>(timeout).count();
    const timespec wait{static_cast<time_t>(nanos / 1000000000), static_cast<long>(nanos % 1000000000)};
    return sigtimedwait(&set, nullptr, &wait) > 0;
}

// Captured PCM bytes per second: 16-bit stereo at the chosen preset's rate.
uint64_t BytesPerSecond() {
    return static_cast<uint64_t>(TheRecorderSettings().sampleRate) * 4;
}

// The captured PCM bytes of a --duration; 0 without one.
uint64_t DurationBytes(const RecordOptions& options) {
    return options.duration ? options.duration->count() * BytesPerSecond() : 0;
}

// Records until a stop condition, with the recording still running: kRecordOk, or
// kRecordNoServer when the sound server or the capture went away. Endings of the file's own
// (disk full, file removed) also return kRecordOk: StopRecord tells them.
Outcome RecordUntilStopped(const RecordOptions& options, Recorder& recorder, const LevelWatch& levels,
                           std::ostream& err) {
    const uint64_t bytesPerSecond = BytesPerSecond();
    const uint64_t targetBytes = DurationBytes(options);
    const uint64_t silentLimit = options.untilSilence ? options.untilSilence->count() * kMonitorRate : 0;
    const bool live = isatty(STDERR_FILENO) == 1;
    uint64_t lastBytes = 0;
    uint64_t quitsTold = 0;
    auto lastProgress = Clock::now();
    auto nextStatus = Clock::now();
    for (;;) {
        const uint64_t recorded = recorder.RecordedBytes();
        // Wake close to the end of a --duration: the recorder takes nothing beyond it, so waking late
        // only costs a moment of capture that is thrown away.
        Clock::duration wait = 100ms;
        if (targetBytes && recorded < targetBytes)
            wait = std::clamp<Clock::duration>(
                std::chrono::microseconds((targetBytes - recorded) * 1000000 / bytesPerSecond), 5ms, 100ms);
        if (StopSignalWithin(wait))
            return {};
        // The file's own endings (disk full, removed) are told by StopRecord; an end because the
        // server went away is caught below.
        if ((recorder.EndedByItself() != Recorder::RecordFailure::None && ServerReady()) ||
            recorder.RecordingFileGone())
            return {};
        const uint64_t now = recorder.RecordedBytes();
        if (targetBytes && now >= targetBytes)
            return {};
        if (silentLimit && levels.SilentFrames() >= silentLimit)
            return {};
        if (options.application) {
            const platform::ApplicationCaptureEvents events = platform::ChosenApplicationEvents();
            // Never silence in place of sound the server would not hand over.
            if (events.refusals > 0)
                return {kRecordFailed, "the sound server would not let \"" + *options.application +
                                           "\" be recorded alone; " + recorder.RecordingPath() +
                                           " holds what was recorded."};
            if (events.quits > quitsTold) {
                quitsTold = events.quits;
                err << (live ? "\r\033[K" : "") << "quor-record: \"" << *options.application
                    << "\" quit; recording silence until it plays again.\n";
            }
        }
        if (now != lastBytes) {
            lastBytes = now;
            lastProgress = Clock::now();
        }
        // A suspended or idle output still delivers (silence): a capture that delivers nothing
        // while the server answers has stopped for another reason.
        if (!ServerReady())
            return {kRecordNoServer, "the sound capture ended (the sound server went away); " +
                                         recorder.RecordingPath() + " holds what was recorded."};
        if (Clock::now() - lastProgress > kStallLimit)
            return {kRecordFailed, "the sound server delivered nothing for " +
                                       std::to_string(kStallLimit.count()) + " s although it still runs; " +
                                       recorder.RecordingPath() + " holds what was recorded."};
        if (live && Clock::now() >= nextStatus) {
            nextStatus = Clock::now() + kStatusPeriod;
            err << '\r' << StatusLine(now / bytesPerSecond, recorder.RecordingFileBytes(), levels.Peak())
                << std::flush;
        }
    }
}

} // namespace

int RunQuorRecord(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string mistake;
    const auto options = ParseRecordOptions(args, &mistake);
    if (!options) {
        err << "quor-record: " << mistake << '\n' << RecordUsage();
        return kRecordUsage;
    }
    if (options->help) {
        out << RecordHelp();
        return kRecordOk;
    }
    if (options->version) {
        out << "quor-record " << QUOR_RECORD_VERSION << '\n';
        return kRecordOk;
    }
    auto fail = [&](const Outcome& outcome) {
        err << "quor-record: " << outcome.sentence << '\n';
        if (outcome.code == kRecordUsage)
            err << RecordUsage();
        return outcome.code;
    };

    // A settings file that cannot be read is moved aside and the defaults are used: say so.
    platform::SetHiveSetAsideObserver([&err](const fs::path& file, const fs::path& aside) {
        err << "quor-record: the settings file " << file.string() << " could not be read; it was moved to "
            << aside.string() << " and the default settings are used.\n";
    });
    struct StopObserving {
        ~StopObserving() { platform::SetHiveSetAsideObserver(nullptr); }
    } stopObserving;
    RecorderSettings& settings = TheRecorderSettings();
    if (!options->listSources)
        if (Outcome chosen = ChooseFormat(*options, settings); chosen.code != kRecordOk)
            return fail(chosen);
    if (Outcome chosen = ChooseSource(*options, out); chosen.code != kRecordOk)
        return fail(chosen);
    if (options->listSources)
        return kRecordOk;
    if (Outcome chosen = ChooseFile(*options, settings); chosen.code != kRecordOk)
        return fail(chosen);

    Recorder recorder(1024);
    LevelWatch levels(LevelWatch::ThresholdFor(kSilenceDbfs));
    if (recorder.OpenMonitor() != MMSYSERR_NOERROR)
        return fail({ServerReady() ? kRecordFailed : kRecordNoServer, "cannot open the sound capture."});
    recorder.SetMonitorCallback(&levels, &LevelWatch::OnBuffer);
    recorder.StartMonitor();
    levels.ResetSilence();
    recorder.LimitRecordingTo(DurationBytes(*options));
    if (!recorder.StartRecord())
        return fail(FailureOutcome(recorder));

    const Outcome outcome = RecordUntilStopped(*options, recorder, levels, err);
    recorder.StopRecord();
    recorder.StopMonitor();
    if (isatty(STDERR_FILENO) == 1)
        err << '\n';
    if (recorder.DroppedSeconds() >= 0.05)
        err << "quor-record: " << std::fixed << std::setprecision(1) << recorder.DroppedSeconds()
            << " s of sound were lost: the computer was too busy to write them in time.\n";
    if (outcome.code != kRecordOk)
        return fail(outcome);
    if (const Outcome stopped = FailureOutcome(recorder); !stopped.sentence.empty())
        return fail(stopped);
    return kRecordOk;
}
