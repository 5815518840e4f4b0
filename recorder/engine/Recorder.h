// The recording controller and its always-open monitor capture. The monitor runs from the
// owner's initialisation to its end and feeds one callback (the spectrum or level display)
// with every filled buffer on a high-priority worker thread.
#pragma once

#include "CSoundIn.h"
#include "riff/FollowedFile.h"
#include "thread/AutoResetEvent.h"
#include "thread/SpscRing.h"
#include "wavein/WaveIn.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

class CSoundFile;
class CWriteMP3File;
struct RecorderSettings;

class Recorder {
public:
    // Why a recording could not start, or ended by itself.
    enum class RecordFailure {
        None,
        FileNotCreated, // the output file could not be created (folder missing, no rights)
        EncoderMissing, // liblame_enc.so missing or incomplete
        CaptureFailed,  // the capture device could not be opened or started
        DiskFull,       // a write stored fewer bytes than captured
        SizeLimit,      // a WAV file reached the largest size its format can describe
        CaptureLost,    // the sound server (or the capture source) went away mid-recording
        EncoderFailed,  // the encoder refused to start a stream with the chosen quality
        NoFormat,       // the file type is neither MP3 nor WAV
        NoRoomToStart,  // not even the first captured data could be written: no file is kept
        FileRemoved,    // the file (or its folder) was removed while recording
        EndNotWritten,  // the last data or the file's closing sizes did not reach the disk
        FileMoved,      // the file was renamed or moved while recording; it is whole at RecordingPath()
        FileSizeLimit,  // a write met the process's file-size limit (ulimit -f), not a full disk
    };

    // Called on the monitor worker for every filled buffer; must not block.
    using MonitorCallback = int (*)(void* target, WAVEHDR* header);
    static constexpr int kMonitorBuffers = 16;

    // frames: monitor buffer length in 16-bit stereo frames (both owners pass 1024).
    explicit Recorder(int frames);
    virtual ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // Opens the monitor device; the device's result code when that fails (nothing changes when
    // already open). Without a routine the default notification routine is used.
    MMRESULT OpenMonitor(WaveInProc routine = nullptr, uint32_t mode = CALLBACK_FUNCTION,
                         uint32_t deviceId = WAVE_MAPPER);
    void SetMonitorCallback(void* target, MonitorCallback callback);
    // Queues the buffers, starts the worker and the device; the first failing call's code.
    MMRESULT StartMonitor();
    // Ends the worker loop, stops and resets the device. The device closes at destruction.
    void StopMonitor();
    // After the monitor's source went away (IsMonitorLost) or when it never opened: closes what
    // is left and opens and starts it again as the first OpenMonitor did; that call's result.
    MMRESULT RestartMonitor();
    // Set by the monitor worker when the device lost its source (the sound server went away).
    bool IsMonitorLost() const { return m_bMonitorLost; }
    bool IsMonitorOpen() const { return m_bMonitorOpened; }
    bool IsMonitorRunning() const { return m_bMonitorRunning; }
    int MonitorBufferBytes() const { return m_MonitorBufferBytes; }

    // The default notification routine: runs on the device's delivery thread and only hands
    // the header to the worker.
    static void MonitorProc(HWAVEIN device, uint32_t msg, uintptr_t instance, uintptr_t param1,
                            uintptr_t param2);

    // Recording, on the window thread. StartRecord: false when a recording is already in
    // progress, or when it could not start (LastFailure tells why; nothing is left running and
    // no file is left behind). The file is RecorderSettings' savePath/fileName; an automatic
    // name (fileNameAutomatic) never replaces a file: a taken one becomes "name_2.ext", … and
    // fileName is updated.
    bool StartRecord();
    bool PauseRecord();
    bool ResumeRecord();
    // Finishes the file; after an MP3 recording opens the tag editor when mp3Id3v1 is 1.
    // LastFailure then tells what went wrong with the recording, if anything, and
    // DroppedSeconds how much audio the capture lost because writing fell behind.
    bool StopRecord();
    double DroppedSeconds() const { return m_DroppedSeconds; }
    // True while recording when the file was deleted (or its folder was). A file renamed or moved
    // is written on where it is now, and StopRecord tells its new place (FileMoved).
    bool RecordingFileGone() const;
    // The size of the recording's file wherever it is now; window thread.
    uint64_t RecordingFileBytes() const { return m_RecordingFile ? m_RecordingFile->Size() : 0; }
    bool IsRecording() const { return m_bRecording; }
    bool IsPaused() const { return m_bPaused; }
    RecordFailure LastFailure() const { return m_LastFailure; }
    std::string LastFailureDetail() const { return m_LastFailureDetail; }
    // Set by the capture worker when the file stopped taking data (disk full, size limit): the
    // recording is over and the window should call StopRecord to finish the file.
    // A capture whose source went away ends the recording too (CaptureLost).
    RecordFailure EndedByItself() const;
    // The path of the recording in progress or of the last one; after StopRecord the file's new
    // place when it was renamed or moved meanwhile.
    const std::string& RecordingPath() const { return m_RecordingPath; }
    // Captured PCM bytes that reached the file in the recording in progress or the last one
    // (paused stretches do not count). Any thread.
    uint64_t RecordedBytes() const { return m_RecordedBytes.load(); }
    // Caps the captured PCM bytes of the following recordings (0: no cap), so that a recording of
    // a set length ends on its sample instead of on whichever buffer crossed it; what arrives
    // beyond the cap is not written. Window thread, between recordings.
    void LimitRecordingTo(uint64_t bytes) { m_RecordLimit = bytes; }

    // Opens the tag editor modally on a finished MP3 file; the GUI installs it.
    void SetTagEditor(std::function<void(const std::string& path)> editor) {
        m_TagEditor = std::move(editor);
    }

    // The capture callback: every filled recording buffer, on the capture's worker thread.
    static void ReceiveCaptured(CBuffer& buffer, void* self);

private:
    bool Fail(RecordFailure failure, std::string detail);
    // How much of a buffer of `bytes` the recording limit lets through. Capture worker.
    int32_t BytesWithinLimit(int32_t bytes) const;
    bool OpenWriter(const RecorderSettings& settings);
    // Withdraws the writer from the worker, waits for a write in progress, and finishes the file.
    // False when the end did not reach the disk; *dataBytes gets what the file holds.
    bool FinishFiles(uint64_t* dataBytes);
    RecordFailure StopOutcome(RecordFailure ended, bool endWritten, uint64_t dataBytes);
    // Window thread, capture stopped: the file is exactly as large as the file-size limit allows.
    bool AtFileSizeLimit() const;

    void MonitorLoop();
    void CloseMonitor();

    // Hand-off from the notification routine (producer) to the worker (consumer). Every header
    // is in exactly one place: the device, this ring or the worker, so 16 slots never overflow.
    platform::AutoResetEvent m_MonitorEvent;
    platform::SpscRing<WAVEHDR, kMonitorBuffers> m_FilledHeaders;
    void* m_MonitorTarget = nullptr;
    std::thread m_MonitorThread;
    MonitorCallback m_MonitorCallback = nullptr;
    HWAVEIN m_MonitorDevice = nullptr;
    std::array<std::unique_ptr<WAVEHDR>, kMonitorBuffers> m_MonitorHeaders;
    std::array<std::unique_ptr<char[]>, kMonitorBuffers> m_MonitorData;
    uint16_t m_MonitorBitsPerSample = 16;
    uint16_t m_MonitorChannels = 2;
    int32_t m_MonitorSampleRate = 44100;
    WAVEFORMATEX m_MonitorFormat{};
    std::atomic<bool> m_bPaused{false};
    std::atomic<bool> m_bRecording{false};
    std::atomic<bool> m_bMonitorOpened{false};
    int32_t m_MonitorBufferBytes;
    std::atomic<bool> m_bMonitorRunning{false};
    std::atomic<bool> m_bMonitorLost{false};
    // What the first OpenMonitor was given, for RestartMonitor.
    WaveInProc m_MonitorRoutine = nullptr;
    uint32_t m_MonitorMode = CALLBACK_FUNCTION;
    uint32_t m_MonitorDeviceId = WAVE_MAPPER;

    // Shared with the capture worker, which only reads the pointers: they are published after
    // the writer is ready and withdrawn before it is finished. The worker holds m_WriterLock
    // while it uses a writer, so a writer is never finished under a write, however slow.
    std::mutex m_WriterLock;
    std::atomic<CSoundFile*> m_pWavFile{nullptr};
    CSoundIn m_Capture;
    std::atomic<CWriteMP3File*> m_pMp3Writer{nullptr};
    // The file type of the recording in progress, fixed at its start.
    std::atomic<int> m_RecordingType{-1};
    std::atomic<RecordFailure> m_EndedBy{RecordFailure::None};
    std::atomic<uint64_t> m_RecordedBytes{0};
    std::atomic<uint64_t> m_RecordLimit{0};
    RecordFailure m_LastFailure = RecordFailure::None;
    std::string m_LastFailureDetail;
    std::string m_RecordingPath;
    std::unique_ptr<platform::FollowedFile> m_RecordingFile;
    double m_DroppedSeconds = 0;
    std::function<void(const std::string&)> m_TagEditor;
};
