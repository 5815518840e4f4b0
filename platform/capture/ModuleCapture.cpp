// What the recorder links in place of the capture driver and the mixer over PulseAudio: both bound
// to libquor_pulse_capture.so when first asked for. Without the module, captures fail to open and
// the mixer has no devices, as without a sound server.
#include "capture/CaptureModule.h"
#include "loader/ModuleBinding.h"

#include <mutex>

namespace platform {
namespace {

class NoCaptureDriver final : public WaveInDriver {
public:
    MMRESULT Open(WaveInDevice**, uint32_t, const WAVEFORMATEX&, uintptr_t, uintptr_t, uint32_t) override {
        return MMSYSERR_NODRIVER;
    }
};

class NoMixerBackend final : public MixerBackend {
public:
    uint32_t DeviceCount() override { return 0; }
    MMRESULT Caps(uint32_t, std::u16string&, uint32_t&) override { return MMSYSERR_BADDEVICEID; }
    bool MixerOfWaveIn(uint32_t, uint32_t&) override { return false; }
    MMRESULT Open(uint32_t) override { return MMSYSERR_BADDEVICEID; }
    void Close(uint32_t) override {}
    MMRESULT Read(uint32_t, MixerDeviceModel&) override { return MMSYSERR_BADDEVICEID; }
    MMRESULT Write(uint32_t, const MixerLineModel&, const MixerControlModel&, uint32_t,
                   const std::vector<uint32_t>&) override {
        return MMSYSERR_BADDEVICEID;
    }
};

// Binds the module once per program; while it is missing, every call looks for it again (see
// BindModule). The entry only hands out the two objects, so nothing calls back under the lock.
CaptureModule Bound() {
    static CaptureModule module{nullptr, nullptr};
    static std::mutex lock;
    std::lock_guard<std::mutex> guard(lock);
    if (module.driver && module.mixer)
        return module;
    const auto* entry = BindModule<CaptureEntryFunction>(
        kCaptureModuleFile, "Capture", [](void* library, CaptureEntryFunction* function) {
            return Lookup(library, kCaptureEntryName, function);
        });
    if (entry) {
        const SoundClientIdentity identity = CurrentSoundClientIdentity();
        module = (*entry)(&identity);
    }
    return module;
}

} // namespace

WaveInDriver& PulseWaveInDriver() {
    static NoCaptureDriver none;
    WaveInDriver* driver = Bound().driver;
    return driver ? *driver : none;
}

MixerBackend& PulseMixer() {
    static NoMixerBackend none;
    MixerBackend* mixer = Bound().mixer;
    return mixer ? *mixer : none;
}

} // namespace platform
