// Wave input: open a capture of a PCM format on the current capture source, queue buffers,
// start, stop, reset, close. The calls, codes and messages behave as the classic waveIn* family:
// every queued buffer comes back exactly once, in order, marked done, through the callback
// chosen at open (a message posted to a thread's queue, or a function call).
#pragma once

#include "platform/wavein/WaveFormat.h"

#include <cstddef>
#include <cstdint>

struct WaveInDevice;
using HWAVEIN = WaveInDevice*;
using MMRESULT = uint32_t;

constexpr MMRESULT MMSYSERR_NOERROR = 0;
constexpr MMRESULT MMSYSERR_ERROR = 1;
constexpr MMRESULT MMSYSERR_BADDEVICEID = 2;
constexpr MMRESULT MMSYSERR_ALLOCATED = 4;
constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
constexpr MMRESULT MMSYSERR_NODRIVER = 6;
constexpr MMRESULT MMSYSERR_NOMEM = 7;
constexpr MMRESULT MMSYSERR_BADERRNUM = 9;
constexpr MMRESULT MMSYSERR_INVALFLAG = 10;
constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
constexpr MMRESULT WAVERR_BADFORMAT = 32;
constexpr MMRESULT WAVERR_STILLPLAYING = 33;
constexpr MMRESULT WAVERR_UNPREPARED = 34;

constexpr uint32_t WAVE_MAPPER = 0xFFFFFFFFu;

constexpr uint32_t CALLBACK_TYPEMASK = 0x00070000u;
constexpr uint32_t CALLBACK_NULL = 0x00000000u;
constexpr uint32_t CALLBACK_WINDOW = 0x00010000u;
constexpr uint32_t CALLBACK_THREAD = 0x00020000u;
constexpr uint32_t CALLBACK_FUNCTION = 0x00030000u;

// Messages: WIM_* to a callback function, MM_WIM_* posted to a thread (lParam = the header).
constexpr uint32_t WIM_OPEN = 0x3BE;
constexpr uint32_t WIM_CLOSE = 0x3BF;
constexpr uint32_t WIM_DATA = 0x3C0;
constexpr uint32_t MM_WIM_OPEN = WIM_OPEN;
constexpr uint32_t MM_WIM_CLOSE = WIM_CLOSE;
constexpr uint32_t MM_WIM_DATA = WIM_DATA;

constexpr uint32_t WHDR_DONE = 0x01;
constexpr uint32_t WHDR_PREPARED = 0x02;
constexpr uint32_t WHDR_INQUEUE = 0x10;

constexpr uint32_t MAXERRORLENGTH = 256;

struct WAVEHDR {
    char* lpData;
    uint32_t dwBufferLength;
    uint32_t dwBytesRecorded;
    uintptr_t dwUser;
    uint32_t dwFlags;
    uint32_t dwLoops;
    WAVEHDR* lpNext;
    uintptr_t reserved;
};

// Called on the device's delivery thread, or on the thread of a waveInAddBuffer call that found
// captured bytes waiting and filled the buffer at once; it must only hand the header on (no
// waveIn* calls).
using WaveInProc = void (*)(HWAVEIN device, uint32_t msg, uintptr_t instance, uintptr_t param1,
                            uintptr_t param2);

// deviceId: WAVE_MAPPER or 0, both the current capture source. callback: a WaveInProc cast to
// uintptr_t (CALLBACK_FUNCTION) or a platform::MessageThread id (CALLBACK_THREAD).
MMRESULT waveInOpen(HWAVEIN* device, uint32_t deviceId, const WAVEFORMATEX* format, uintptr_t callback,
                    uintptr_t instance, uint32_t flags);
MMRESULT waveInPrepareHeader(HWAVEIN device, WAVEHDR* header, uint32_t headerSize);
MMRESULT waveInUnprepareHeader(HWAVEIN device, WAVEHDR* header, uint32_t headerSize);
MMRESULT waveInAddBuffer(HWAVEIN device, WAVEHDR* header, uint32_t headerSize);
MMRESULT waveInStart(HWAVEIN device);
MMRESULT waveInStop(HWAVEIN device);
MMRESULT waveInReset(HWAVEIN device);
MMRESULT waveInClose(HWAVEIN device);
MMRESULT waveInGetErrorText(MMRESULT error, char* text, uint32_t textSize);

namespace platform {
// The longest an open capture may hold captured audio before delivering it (20 ms unless set).
// A capture that needs no low latency, such as one that only feeds a file, asks for a long one
// so that the sound server and the delivery thread wake less often; buffers still come back
// whole and in order. Before or after waveInStart.
MMRESULT SetWaveInFragment(HWAVEIN device, uint32_t milliseconds);
// Captured bytes that wait for buffers because the owner was late handing them back. After
// waveInStop they still go into buffers added later; waveInReset drops them. 0 for a bad handle.
size_t WaveInPendingBytes(HWAVEIN device);
// How many times the driver has delivered captured audio (a fragment, or part of one) while
// started; 0 for a bad handle. Audio captured up to a moment arrives with the first delivery after it.
uint64_t WaveInDeliveries(HWAVEIN device);
} // namespace platform
