// What a mixer backend provides: the devices as a tree of lines and controls with their current
// values, read fresh on every call, and writes of control values. The mixer* functions do the
// record handling, lookups and checks once for every backend.
#pragma once

#include "platform/mixer/Mixer.h"

#include <string>
#include <vector>

namespace platform {

struct MixerControlModel {
    uint32_t id = 0;
    uint32_t type = 0;
    uint32_t flags = 0; // MIXERCONTROL_CONTROLF_*
    std::u16string name;
    uint32_t minimum = 0;
    uint32_t maximum = 0;
    uint32_t steps = 0;
    // MULTIPLE controls: one entry per item (line identifier and name).
    struct Item {
        uint32_t lineId;
        std::u16string name;
        std::string key;
    };
    std::vector<Item> items;
    // Current values: one per item for MULTIPLE controls, one for UNIFORM ones, else one per channel.
    std::vector<uint32_t> values;
    // The backend's own reference for writing (a server object name, for example).
    std::string key;
};

struct MixerLineModel {
    uint32_t id = 0;
    uint32_t componentType = 0;
    uint32_t flags = MIXERLINE_LINEF_ACTIVE;
    uint32_t channels = 1;
    std::u16string name;
    std::vector<MixerControlModel> controls;
};

struct MixerDestinationModel {
    MixerLineModel line;
    std::vector<MixerLineModel> sources;
};

struct MixerDeviceModel {
    std::u16string productName;
    std::vector<MixerDestinationModel> destinations;
};

class MixerBackend {
public:
    virtual ~MixerBackend() = default;

    virtual uint32_t DeviceCount() = 0;
    // Capabilities without opening: the product name and the number of destinations.
    virtual MMRESULT Caps(uint32_t device, std::u16string& productName, uint32_t& destinations) = 0;
    // The mixer device that belongs to a wave-input id; false when there is none.
    virtual bool MixerOfWaveIn(uint32_t waveInId, uint32_t& device) = 0;
    // Called for every mixerOpen / mixerClose of the device; Open fails when the device cannot be
    // reached (no sound server).
    virtual MMRESULT Open(uint32_t device) = 0;
    virtual void Close(uint32_t device) = 0;
    virtual MMRESULT Read(uint32_t device, MixerDeviceModel& model) = 0;
    // values: as in MixerControlModel::values, or a single value for all channels when
    // channels is 1 and the line has more.
    virtual MMRESULT Write(uint32_t device, const MixerLineModel& line, const MixerControlModel& control,
                           uint32_t channels, const std::vector<uint32_t>& values) = 0;
};

// The backend in use; SetMixerBackend installs another (tests) and returns the previous one;
// nullptr restores the sound server's.
MixerBackend& CurrentMixerBackend();
MixerBackend* SetMixerBackend(MixerBackend* backend);

// Backends report changes here, from any thread; the openers of the device hear of them on the
// mixer's notification thread.
void NotifyMixerChange(uint32_t device, uint32_t message, uint32_t id);

// Copies text into a fixed record field, cut at a character boundary and terminated.
void CopyMixerName(char16_t* field, size_t capacity, const std::u16string& text);

// UTF-8 and the records' UTF-16 (invalid input becomes U+FFFD).
std::u16string Utf8ToUtf16(const std::string& text);
std::string Utf16ToUtf8(const std::u16string& text);

} // namespace platform
