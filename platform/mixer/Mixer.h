// The audio mixer in the shape of the classic mixer* family: devices with destinations, source
// lines and controls, read and written through fixed records with result codes. Backed by the
// sound server (see PulseMixerModel.h): device 0 is the playback side, device 1 the capture
// side, whose MUX chooses what this process records from.
#pragma once

#include "platform/wavein/WaveIn.h"

#include <cstddef>
#include <cstdint>

struct MixerHandle;
using HMIXER = MixerHandle*;
// A handle, or a device index or wave-input id cast to this type (chosen by MIXER_OBJECTF_*).
struct MixerObject;
using HMIXEROBJ = MixerObject*;

constexpr MMRESULT MMSYSERR_NOTSUPPORTED = 8;
constexpr MMRESULT MIXERR_INVALLINE = 1024;
constexpr MMRESULT MIXERR_INVALCONTROL = 1025;
constexpr MMRESULT MIXERR_INVALVALUE = 1026;

constexpr size_t MAXPNAMELEN = 32;
constexpr size_t MIXER_SHORT_NAME_CHARS = 16;
constexpr size_t MIXER_LONG_NAME_CHARS = 64;

constexpr uint32_t MIXER_OBJECTF_HANDLE = 0x80000000u;
constexpr uint32_t MIXER_OBJECTF_MIXER = 0x00000000u;
constexpr uint32_t MIXER_OBJECTF_HMIXER = MIXER_OBJECTF_HANDLE | MIXER_OBJECTF_MIXER;
constexpr uint32_t MIXER_OBJECTF_WAVEIN = 0x20000000u;
constexpr uint32_t MIXER_OBJECTF_TYPEMASK = 0xF0000000u;

constexpr uint32_t MIXER_GETLINEINFOF_DESTINATION = 0;
constexpr uint32_t MIXER_GETLINEINFOF_SOURCE = 1;
constexpr uint32_t MIXER_GETLINEINFOF_LINEID = 2;
constexpr uint32_t MIXER_GETLINEINFOF_COMPONENTTYPE = 3;
constexpr uint32_t MIXER_GETLINEINFOF_QUERYMASK = 0xF;

constexpr uint32_t MIXER_GETLINECONTROLSF_ALL = 0;
constexpr uint32_t MIXER_GETLINECONTROLSF_ONEBYID = 1;
constexpr uint32_t MIXER_GETLINECONTROLSF_ONEBYTYPE = 2;
constexpr uint32_t MIXER_GETLINECONTROLSF_QUERYMASK = 0xF;

constexpr uint32_t MIXER_GETCONTROLDETAILSF_VALUE = 0;
constexpr uint32_t MIXER_GETCONTROLDETAILSF_LISTTEXT = 1;
constexpr uint32_t MIXER_GETCONTROLDETAILSF_QUERYMASK = 0xF;
constexpr uint32_t MIXER_SETCONTROLDETAILSF_VALUE = 0;
constexpr uint32_t MIXER_SETCONTROLDETAILSF_QUERYMASK = 0xF;

constexpr uint32_t MIXERLINE_LINEF_ACTIVE = 0x00000001u;
constexpr uint32_t MIXERLINE_LINEF_DISCONNECTED = 0x00008000u;
constexpr uint32_t MIXERLINE_LINEF_SOURCE = 0x80000000u;

constexpr uint32_t MIXERLINE_COMPONENTTYPE_DST_FIRST = 0x0000;
constexpr uint32_t MIXERLINE_COMPONENTTYPE_DST_UNDEFINED = 0x0000;
constexpr uint32_t MIXERLINE_COMPONENTTYPE_DST_DIGITAL = 0x0001;
constexpr uint32_t MIXERLINE_COMPONENTTYPE_DST_LINE = 0x0002;
constexpr uint32_t MIXERLINE_COMPONENTTYPE_DST_SPEAKERS = 0x0004;
constexpr uint32_t MIXERLINE_COMPONENTTYPE_DST_WAVEIN = 0x0007;
constexpr uint32_t MIXERLINE_COMPONENTTYPE_SRC_FIRST = 0x1000;
constexpr uint32_t MIXERLINE_COMPONENTTYPE_SRC_LINE = 0x1002;
constexpr uint32_t MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE = 0x1003;
constexpr uint32_t MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC = 0x1005;
constexpr uint32_t MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT = 0x1008;
constexpr uint32_t MIXERLINE_COMPONENTTYPE_SRC_ANALOG = 0x100A;

constexpr uint32_t MIXERCONTROL_CONTROLF_UNIFORM = 0x00000001u;
constexpr uint32_t MIXERCONTROL_CONTROLF_MULTIPLE = 0x00000002u;

constexpr uint32_t MIXERCONTROL_CONTROLTYPE_MUTE = 0x20010002u;
constexpr uint32_t MIXERCONTROL_CONTROLTYPE_VOLUME = 0x50030001u;
constexpr uint32_t MIXERCONTROL_CONTROLTYPE_MUX = 0x70010001u;

// Notifications to the opener: the changed line's or control's identifier.
constexpr uint32_t MM_MIXM_LINE_CHANGE = 0x3D0;
constexpr uint32_t MM_MIXM_CONTROL_CHANGE = 0x3D1;

struct MIXERCAPS {
    uint16_t wMid;
    uint16_t wPid;
    uint32_t vDriverVersion;
    char16_t szPname[MAXPNAMELEN];
    uint32_t fdwSupport;
    uint32_t cDestinations;
};

struct MIXERLINE {
    uint32_t cbStruct;
    uint32_t dwDestination;
    uint32_t dwSource;
    uint32_t dwLineID;
    uint32_t fdwLine;
    uintptr_t dwUser;
    uint32_t dwComponentType;
    uint32_t cChannels;
    uint32_t cConnections;
    uint32_t cControls;
    char16_t szShortName[MIXER_SHORT_NAME_CHARS];
    char16_t szName[MIXER_LONG_NAME_CHARS];
};

struct MIXERCONTROL {
    uint32_t cbStruct;
    uint32_t dwControlID;
    uint32_t dwControlType;
    uint32_t fdwControl;
    uint32_t cMultipleItems;
    char16_t szShortName[MIXER_SHORT_NAME_CHARS];
    char16_t szName[MIXER_LONG_NAME_CHARS];
    struct {
        uint32_t dwMinimum;
        uint32_t dwMaximum;
    } Bounds;
    struct {
        uint32_t cSteps;
    } Metrics;
};

struct MIXERLINECONTROLS {
    uint32_t cbStruct;
    uint32_t dwLineID;
    union {
        uint32_t dwControlID;
        uint32_t dwControlType;
    };
    uint32_t cControls;
    uint32_t cbmxctrl;
    MIXERCONTROL* pamxctrl;
};

struct MIXERCONTROLDETAILS {
    uint32_t cbStruct;
    uint32_t dwControlID;
    uint32_t cChannels;
    uint32_t cMultipleItems;
    uint32_t cbDetails;
    void* paDetails;
};

struct MIXERCONTROLDETAILS_UNSIGNED {
    uint32_t dwValue;
};
struct MIXERCONTROLDETAILS_BOOLEAN {
    int32_t fValue;
};
struct MIXERCONTROLDETAILS_LISTTEXT {
    uint32_t dwParam1; // the item's line identifier
    uint32_t dwParam2;
    char16_t szName[MIXER_LONG_NAME_CHARS];
};

// The opener of a mixer with CALLBACK_WINDOW: told of line and control changes, on the mixer's
// notification thread (never a sound-server thread). An observer that owns a window posts
// the news to the window's thread and returns; it may call mixer functions.
class IMixerNotify {
public:
    virtual ~IMixerNotify() = default;
    virtual void OnMixerNotify(HMIXER mixer, uint32_t message, uint32_t id) = 0;
};
// CALLBACK_FUNCTION: called on the same thread with (mixer, message, instance, id, 0).
using MixerProc = void (*)(HMIXER mixer, uint32_t message, uintptr_t instance, uintptr_t id,
                           uintptr_t reserved);

uint32_t mixerGetNumDevs();
MMRESULT mixerGetDevCaps(uintptr_t mixerId, MIXERCAPS* caps, uint32_t capsSize);
// callback: an IMixerNotify* with CALLBACK_WINDOW, a MixerProc with CALLBACK_FUNCTION, or 0.
// mixerId: a device index (MIXER_OBJECTF_MIXER) or a wave-input id (MIXER_OBJECTF_WAVEIN).
MMRESULT mixerOpen(HMIXER* mixer, uint32_t mixerId, uintptr_t callback, uintptr_t instance, uint32_t flags);
MMRESULT mixerClose(HMIXER mixer);
MMRESULT mixerGetLineInfo(HMIXEROBJ object, MIXERLINE* line, uint32_t flags);
MMRESULT mixerGetLineControls(HMIXEROBJ object, MIXERLINECONTROLS* controls, uint32_t flags);
MMRESULT mixerGetControlDetails(HMIXEROBJ object, MIXERCONTROLDETAILS* details, uint32_t flags);
MMRESULT mixerSetControlDetails(HMIXEROBJ object, MIXERCONTROLDETAILS* details, uint32_t flags);
