// A mixer backend that reports whatever devices, lines and controls a test describes, keeps the
// values written to it, counts opens and writes, and can refuse calls. While it lives it is the
// backend of the mixer* functions.
#pragma once

#include "platform/mixer/MixerBackend.h"

#include <mutex>
#include <vector>

namespace platform {

class ScriptedMixerBackend : public MixerBackend {
public:
    struct Device {
        MixerDeviceModel model;
        MMRESULT capsResult = MMSYSERR_NOERROR;
        MMRESULT openResult = MMSYSERR_NOERROR;
        MMRESULT readResult = MMSYSERR_NOERROR;
    };
    struct WriteRecord {
        uint32_t device;
        uint32_t controlId;
        uint32_t channels;
        std::vector<uint32_t> values;
    };

    ScriptedMixerBackend();           // installs itself
    ~ScriptedMixerBackend() override; // restores the previous backend

    // Set up before use; the wave-input mixer is the device that wave-input id 0 belongs to.
    std::vector<Device> devices;
    int waveInMixer = 0; // -1: none
    MMRESULT writeResult = MMSYSERR_NOERROR;

    int Opens(uint32_t device) const;
    int Closes(uint32_t device) const;
    std::vector<WriteRecord> Writes() const;
    // The value now held by a control (first value), or -1 when there is no such control.
    int64_t Value(uint32_t device, uint32_t controlId) const;
    std::vector<uint32_t> Values(uint32_t device, uint32_t controlId) const;
    void SetValues(uint32_t device, uint32_t controlId, std::vector<uint32_t> values);

    // Builders for the models.
    static MixerControlModel Control(uint32_t id, uint32_t type, const std::u16string& name, uint32_t minimum,
                                     uint32_t maximum, std::vector<uint32_t> values);
    // A MUX over the given lines, listed in the reverse order of `lines`; value 1 on `selected`.
    static MixerControlModel Mux(uint32_t id, const std::vector<MixerLineModel>& lines, size_t selected);
    static MixerLineModel Line(uint32_t id, uint32_t componentType, const std::u16string& name,
                               std::vector<MixerControlModel> controls = {});

    uint32_t DeviceCount() override;
    MMRESULT Caps(uint32_t device, std::u16string& productName, uint32_t& destinations) override;
    bool MixerOfWaveIn(uint32_t waveInId, uint32_t& device) override;
    MMRESULT Open(uint32_t device) override;
    void Close(uint32_t device) override;
    MMRESULT Read(uint32_t device, MixerDeviceModel& model) override;
    MMRESULT Write(uint32_t device, const MixerLineModel& line, const MixerControlModel& control,
                   uint32_t channels, const std::vector<uint32_t>& values) override;

private:
    MixerControlModel* FindLocked(uint32_t device, uint32_t controlId);
    const MixerControlModel* FindLocked(uint32_t device, uint32_t controlId) const;

    mutable std::mutex m_Lock;
    MixerBackend* m_Previous;
    std::vector<int> m_Opens, m_Closes;
    std::vector<WriteRecord> m_Writes;
};

} // namespace platform
