// The scripted mixer: models held in memory, writes recorded and applied.
#include "platform/mixer/ScriptedMixerBackend.h"

namespace platform {

ScriptedMixerBackend::ScriptedMixerBackend() : m_Previous(SetMixerBackend(this)) {}

ScriptedMixerBackend::~ScriptedMixerBackend() {
    SetMixerBackend(m_Previous);
}

MixerControlModel ScriptedMixerBackend::Control(uint32_t id, uint32_t type, const std::u16string& name,
                                                uint32_t minimum, uint32_t maximum,
                                                std::vector<uint32_t> values) {
    MixerControlModel control;
    control.id = id;
    control.type = type;
    control.flags = values.size() == 1 ? MIXERCONTROL_CONTROLF_UNIFORM : 0;
    control.name = name;
    control.minimum = minimum;
    control.maximum = maximum;
    control.values = std::move(values);
    return control;
}

MixerControlModel ScriptedMixerBackend::Mux(uint32_t id, const std::vector<MixerLineModel>& lines,
                                            size_t selected) {
    MixerControlModel mux;
    mux.id = id;
    mux.type = MIXERCONTROL_CONTROLTYPE_MUX;
    mux.flags = MIXERCONTROL_CONTROLF_UNIFORM | MIXERCONTROL_CONTROLF_MULTIPLE;
    mux.name = u"Mux";
    mux.maximum = lines.empty() ? 0 : static_cast<uint32_t>(lines.size() - 1);
    for (size_t k = lines.size(); k-- > 0;) {
        mux.items.push_back({lines[k].id, lines[k].name, {}});
        mux.values.push_back(k == selected ? 1u : 0u);
    }
    return mux;
}

MixerLineModel ScriptedMixerBackend::Line(uint32_t id, uint32_t componentType, const std::u16string& name,
                                          std::vector<MixerControlModel> controls) {
    MixerLineModel line;
    line.id = id;
    line.componentType = componentType;
    line.name = name;
    line.controls = std::move(controls);
    return line;
}

uint32_t ScriptedMixerBackend::DeviceCount() {
    std::lock_guard<std::mutex> guard(m_Lock);
    return static_cast<uint32_t>(devices.size());
}

MMRESULT ScriptedMixerBackend::Caps(uint32_t device, std::u16string& productName, uint32_t& destinations) {
    std::lock_guard<std::mutex> guard(m_Lock);
    if (device >= devices.size())
        return MMSYSERR_BADDEVICEID;
    if (devices[device].capsResult != MMSYSERR_NOERROR)
        return devices[device].capsResult;
    productName = devices[device].model.productName;
    destinations = static_cast<uint32_t>(devices[device].model.destinations.size());
    return MMSYSERR_NOERROR;
}

bool ScriptedMixerBackend::MixerOfWaveIn(uint32_t waveInId, uint32_t& device) {
    std::lock_guard<std::mutex> guard(m_Lock);
    if ((waveInId != 0 && waveInId != WAVE_MAPPER) || waveInMixer < 0 ||
        static_cast<size_t>(waveInMixer) >= devices.size())
        return false;
    device = static_cast<uint32_t>(waveInMixer);
    return true;
}

MMRESULT ScriptedMixerBackend::Open(uint32_t device) {
    std::lock_guard<std::mutex> guard(m_Lock);
    if (device >= devices.size())
        return MMSYSERR_BADDEVICEID;
    if (devices[device].openResult != MMSYSERR_NOERROR)
        return devices[device].openResult;
    m_Opens.resize(devices.size());
    ++m_Opens[device];
    return MMSYSERR_NOERROR;
}

void ScriptedMixerBackend::Close(uint32_t device) {
    std::lock_guard<std::mutex> guard(m_Lock);
    m_Closes.resize(devices.size());
    if (device < devices.size())
        ++m_Closes[device];
}

MMRESULT ScriptedMixerBackend::Read(uint32_t device, MixerDeviceModel& model) {
    std::lock_guard<std::mutex> guard(m_Lock);
    if (device >= devices.size())
        return MMSYSERR_BADDEVICEID;
    if (devices[device].readResult != MMSYSERR_NOERROR)
        return devices[device].readResult;
    model = devices[device].model;
    return MMSYSERR_NOERROR;
}

MMRESULT ScriptedMixerBackend::Write(uint32_t device, const MixerLineModel&, const MixerControlModel& control,
                                     uint32_t channels, const std::vector<uint32_t>& values) {
    std::lock_guard<std::mutex> guard(m_Lock);
    m_Writes.push_back({device, control.id, channels, values});
    if (writeResult != MMSYSERR_NOERROR)
        return writeResult;
    if (MixerControlModel* held = FindLocked(device, control.id)) {
        if (values.size() == 1 && held->values.size() > 1)
            held->values.assign(held->values.size(), values[0]);
        else
            held->values = values;
    }
    return MMSYSERR_NOERROR;
}

int ScriptedMixerBackend::Opens(uint32_t device) const {
    std::lock_guard<std::mutex> guard(m_Lock);
    return device < m_Opens.size() ? m_Opens[device] : 0;
}

int ScriptedMixerBackend::Closes(uint32_t device) const {
    std::lock_guard<std::mutex> guard(m_Lock);
    return device < m_Closes.size() ? m_Closes[device] : 0;
}

std::vector<ScriptedMixerBackend::WriteRecord> ScriptedMixerBackend::Writes() const {
    std::lock_guard<std::mutex> guard(m_Lock);
    return m_Writes;
}

int64_t ScriptedMixerBackend::Value(uint32_t device, uint32_t controlId) const {
    std::lock_guard<std::mutex> guard(m_Lock);
    const MixerControlModel* control = FindLocked(device, controlId);
    return control && !control->values.empty() ? control->values[0] : -1;
}

std::vector<uint32_t> ScriptedMixerBackend::Values(uint32_t device, uint32_t controlId) const {
    std::lock_guard<std::mutex> guard(m_Lock);
    const MixerControlModel* control = FindLocked(device, controlId);
    return control ? control->values : std::vector<uint32_t>{};
}

void ScriptedMixerBackend::SetValues(uint32_t device, uint32_t controlId, std::vector<uint32_t> values) {
    std::lock_guard<std::mutex> guard(m_Lock);
    if (MixerControlModel* control = FindLocked(device, controlId))
        control->values = std::move(values);
}

const MixerControlModel* ScriptedMixerBackend::FindLocked(uint32_t device, uint32_t controlId) const {
    if (device >= devices.size())
        return nullptr;
    for (const auto& destination : devices[device].model.destinations) {
        for (const auto& control : destination.line.controls)
            if (control.id == controlId)
                return &control;
        for (const auto& source : destination.sources)
            for (const auto& control : source.controls)
                if (control.id == controlId)
                    return &control;
    }
    return nullptr;
}

MixerControlModel* ScriptedMixerBackend::FindLocked(uint32_t device, uint32_t controlId) {
    return const_cast<MixerControlModel*>(
        static_cast<const ScriptedMixerBackend*>(this)->FindLocked(device, controlId));
}

} // namespace platform
