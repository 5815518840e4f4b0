// One mixer and one control of one of its lines, found by the line's component type and the
// control's type, read and written as a single 32-bit value. Window thread only.
#pragma once

#include "platform/mixer/Mixer.h"

#include <string>

class CVolumeCtrl {
public:
    CVolumeCtrl() = default;
    // Closes the mixer it opened.
    virtual ~CVolumeCtrl();
    CVolumeCtrl(const CVolumeCtrl&) = delete;
    CVolumeCtrl& operator=(const CVolumeCtrl&) = delete;

    // Opens mixer 0 of the kind the flags name (MIXER_OBJECTF_WAVEIN: the mixer of wave-input
    // device 0) and reads its capabilities. 1 on success; with no mixer device at all, 1 and no
    // handle. 0 when the open or the capabilities fail. `notify`, when given, hears of the mixer's
    // line and control changes on the mixer's notification thread.
    int Init(uint32_t openFlags, IMixerNotify* notify = nullptr);
    // The first line of the component type and its first control of the control type. 1 when
    // found; the bounds and identifiers are cleared either way.
    int FindControl(uint32_t componentType, uint32_t controlType);
    // The mute control of the first SRC_ANALOG line; stores only the names and the mute id.
    int FindAnalogMute();

    int GetValue(uint32_t& value) const;
    int SetValue(uint32_t value) const;
    int GetMute(uint32_t& value) const;
    int SetMute(uint32_t value) const;

    HMIXER Handle() const { return m_hMixer; }
    uint32_t Minimum() const { return m_dwMinimum; }
    uint32_t Maximum() const { return m_dwMaximum; }
    uint32_t ControlId() const { return m_dwControlID; }
    const std::u16string& LineName() const { return m_strLineName; }
    const MIXERCAPS& Caps() const { return m_MixerCaps; }

private:
    bool FindLineControl(uint32_t componentType, uint32_t controlType, MIXERCONTROL& control);
    int ReadSingle(uint32_t controlId, uint32_t& value) const;
    int WriteSingle(uint32_t controlId, uint32_t value) const;

    uint32_t m_dwControlType = 0;
    int32_t m_nNumMixers = 0;
    HMIXER m_hMixer = nullptr;
    MIXERCAPS m_MixerCaps{};
    uint32_t m_dwOpenFlags = 0;
    uint32_t m_dwComponentType = 0;
    std::u16string m_strLineName;
    uint32_t m_dwMinimum = 0;
    uint32_t m_dwMaximum = 0;
    uint32_t m_dwControlID = 0;
    uint32_t m_dwMuteID = 0;
};
