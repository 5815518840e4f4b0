// Mixer volume and mute access by line type.
#include "recorder/devices/CVolumeCtrl.h"

#include "platform/mixer/MixerQueries.h"

#include <cstring>

CVolumeCtrl::~CVolumeCtrl() {
    if (m_hMixer)
        mixerClose(m_hMixer);
}

int CVolumeCtrl::Init(uint32_t openFlags, IMixerNotify* notify) {
    m_dwOpenFlags = openFlags;
    m_nNumMixers = static_cast<int32_t>(mixerGetNumDevs());
    m_MixerCaps = MIXERCAPS{};
    m_strLineName.clear();
    m_dwMinimum = m_dwMaximum = 0;
    m_dwControlID = 0;
    // A second Init replaces the mixer instead of leaking the first handle.
    if (m_hMixer) {
        mixerClose(m_hMixer);
        m_hMixer = nullptr;
    }
    if (m_nNumMixers == 0)
        return 1;
    HMIXER mixer = nullptr;
    if (mixerOpen(&mixer, 0, reinterpret_cast<uintptr_t>(notify), 0, openFlags | CALLBACK_WINDOW) !=
        MMSYSERR_NOERROR)
        return 0;
    m_hMixer = mixer;
    if (mixerGetDevCaps(reinterpret_cast<uintptr_t>(m_hMixer), &m_MixerCaps, sizeof m_MixerCaps) !=
        MMSYSERR_NOERROR)
        return 0;
    return 1;
}

bool CVolumeCtrl::FindLineControl(uint32_t componentType, uint32_t controlType, MIXERCONTROL& control) {
    MIXERLINE line{};
    line.cbStruct = sizeof line;
    line.dwComponentType = componentType;
    if (mixerGetLineInfo(AsMixerObject(m_hMixer), &line,
                         MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE) != MMSYSERR_NOERROR)
        return false;
    const std::optional<MIXERCONTROL> found = LineControlOfType(m_hMixer, line.dwLineID, controlType);
    if (!found)
        return false;
    control = *found;
    m_strLineName = line.szName;
    return true;
}

int CVolumeCtrl::FindControl(uint32_t componentType, uint32_t controlType) {
    if (!m_hMixer)
        return 0;
    m_dwComponentType = componentType;
    m_dwControlType = controlType;
    m_dwMuteID = 0;
    m_dwMinimum = m_dwMaximum = 0;
    m_dwControlID = 0;
    MIXERCONTROL control{};
    if (!FindLineControl(componentType, controlType, control))
        return 0;
    m_dwControlID = control.dwControlID;
    if (controlType == MIXERCONTROL_CONTROLTYPE_MUTE)
        m_dwMuteID = control.dwControlID;
    if (controlType == MIXERCONTROL_CONTROLTYPE_VOLUME) {
        m_dwMinimum = control.Bounds.dwMinimum;
        m_dwMaximum = control.Bounds.dwMaximum;
    }
    return 1;
}

int CVolumeCtrl::FindAnalogMute() {
    if (!m_hMixer)
        return 0;
    MIXERCONTROL control{};
    if (!FindLineControl(MIXERLINE_COMPONENTTYPE_SRC_ANALOG, MIXERCONTROL_CONTROLTYPE_MUTE, control))
        return 0;
    m_dwMuteID = control.dwControlID;
    return 1;
}

namespace {
// One channel, one 32-bit value.
MIXERCONTROLDETAILS SingleValue(uint32_t controlId, MIXERCONTROLDETAILS_UNSIGNED& detail) {
    return MIXERCONTROLDETAILS{sizeof(MIXERCONTROLDETAILS), controlId, 1, 0, sizeof detail, &detail};
}
} // namespace

int CVolumeCtrl::ReadSingle(uint32_t controlId, uint32_t& value) const {
    if (!m_hMixer)
        return 0;
    MIXERCONTROLDETAILS_UNSIGNED detail{};
    MIXERCONTROLDETAILS details = SingleValue(controlId, detail);
    if (mixerGetControlDetails(AsMixerObject(m_hMixer), &details,
                               MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE) != MMSYSERR_NOERROR)
        return 0;
    value = detail.dwValue;
    return 1;
}

int CVolumeCtrl::WriteSingle(uint32_t controlId, uint32_t value) const {
    if (!m_hMixer)
        return 0;
    MIXERCONTROLDETAILS_UNSIGNED detail{value};
    MIXERCONTROLDETAILS details = SingleValue(controlId, detail);
    return mixerSetControlDetails(AsMixerObject(m_hMixer), &details,
                                  MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE) == MMSYSERR_NOERROR
               ? 1
               : 0;
}

int CVolumeCtrl::GetValue(uint32_t& value) const {
    return ReadSingle(m_dwControlID, value);
}
int CVolumeCtrl::SetValue(uint32_t value) const {
    return WriteSingle(m_dwControlID, value);
}
int CVolumeCtrl::GetMute(uint32_t& value) const {
    return ReadSingle(m_dwMuteID, value);
}
int CVolumeCtrl::SetMute(uint32_t value) const {
    return WriteSingle(m_dwMuteID, value);
}
