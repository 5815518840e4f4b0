// The capture of one application: a monitor stream of its own for each playback stream the
// application has (the server's monitor of a single sink input, which leaves what the user hears
// alone), mixed by us at the application capture level. The application is followed, not the
// stream: sink-input events open and close monitor streams as its streams come and go, and the
// time in which it plays nothing is recorded as silence, so a recording keeps the wall clock's
// length. Internal to the capture layer; everything runs with the main loop lock held.
#pragma once

#include "platform/pulse/PulseConnection.h"
#include "platform/wavein/CaptureSource.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <vector>

namespace platform {

class ApplicationCapture {
public:
    // Receives mixed PCM in the capture's format; null data is that many bytes of silence.
    using Sink = std::function<void(const void* data, size_t bytes)>;

    // Lock held, not on the main loop thread (it waits for the first look at the server).
    // `bits` is 8 or 16; monitor streams carry 16-bit samples either way. `lost` runs once, on
    // the main loop thread, when the server goes away.
    ApplicationCapture(ApplicationId application, uint32_t rate, uint8_t channels, uint8_t bits,
                       uint32_t fragmentMs, Sink sink, std::function<void()> lost);
    ~ApplicationCapture(); // lock held
    ApplicationCapture(const ApplicationCapture&) = delete;
    ApplicationCapture& operator=(const ApplicationCapture&) = delete;

    const ApplicationId& Application() const { return m_Application; }
    // Lock held. The silence clock starts again (time before a start is not recorded), and a
    // flush drops what waits to be mixed.
    void Restart();
    void Flush();
    void SetFragment(uint32_t fragmentMs);

    // Main loop thread, lock held: the server's sink inputs or clients changed.
    static void OnServerEvent(uint32_t facility);

private:
    struct Input;
    using Clock = std::chrono::steady_clock;

    void Rescan();
    void Reconcile();
    void OpenInput(uint32_t sinkInput, const std::string& monitor);
    void DropInput(uint32_t sinkInput);
    // The server would not let this stream be recorded alone: counted, and not asked again.
    void Refuse(uint32_t sinkInput);
    void NoteQuitOrReturn(bool present);
    // Mixes what every flowing input holds and hands it on.
    void Pump();
    // m_Mix's first `frames` frames, at the capture level, in the capture's format.
    void Emit(size_t frames);
    void EmitSilence(uint64_t frames);
    void OnTick();
    void StartTimer();
    size_t FrameBytesOut() const { return size_t(m_Channels) * (m_Bits / 8); }

    static void OnRead(pa_stream* stream, size_t, void* input);
    static void OnState(pa_stream* stream, void* input);

    uint64_t m_Id;
    ApplicationId m_Application;
    uint32_t m_Rate;
    uint8_t m_Channels;
    uint8_t m_Bits;
    uint32_t m_FragmentMs;
    Sink m_Sink;
    std::function<void()> m_Lost;
    uint64_t m_Generation = 0; // the connection's context this capture runs on
    std::set<uint32_t> m_Refused;
    std::map<uint32_t, std::unique_ptr<Input>> m_Inputs; // by sink-input index

    // One look at the server at a time: sinks (for their monitors), clients, sink inputs.
    bool m_Scanning = false;
    bool m_ScanAgain = false;
    std::map<uint32_t, std::string> m_Monitors;        // sink index -> its monitor source
    std::vector<uint32_t> m_ClientsOfApplication;      // client indexes
    std::vector<std::pair<uint32_t, uint32_t>> m_Seen; // (sink input, sink) of the application

    // The time line: audio as it comes while some input flows, else silence by the clock, from
    // the moment the last audio ended.
    pa_time_event* m_Timer = nullptr;
    Clock::time_point m_LastAudio;
    bool m_Silent = true;
    Clock::time_point m_SilenceSince;
    uint64_t m_SilenceFrames = 0;
    std::vector<int32_t> m_Mix;
    std::vector<int16_t> m_Out16;
    std::vector<uint8_t> m_Out8;
};

// Lock held: the chosen application was selected anew; its events count from 0.
void ResetApplicationEventsLocked();

} // namespace platform
