#include "platform/mixer/MixerQueries.h"

std::optional<MIXERCONTROL> LineControlOfType(HMIXER mixer, uint32_t lineId, uint32_t controlType) {
    if (!mixer)
        return std::nullopt;
    MIXERCONTROL control{};
    control.cbStruct = sizeof control;
    MIXERLINECONTROLS request{};
    request.cbStruct = sizeof request;
    request.dwLineID = lineId;
    request.dwControlType = controlType;
    request.cControls = 1;
    request.cbmxctrl = sizeof control;
    request.pamxctrl = &control;
    if (mixerGetLineControls(AsMixerObject(mixer), &request,
                             MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE) != MMSYSERR_NOERROR)
        return std::nullopt;
    return control;
}

std::vector<MIXERCONTROL> LineControls(HMIXER mixer, uint32_t lineId, uint32_t controlCount) {
    if (!mixer || controlCount == 0)
        return {};
    std::vector<MIXERCONTROL> controls(controlCount);
    for (MIXERCONTROL& control : controls)
        control.cbStruct = sizeof control;
    MIXERLINECONTROLS request{};
    request.cbStruct = sizeof request;
    request.dwLineID = lineId;
    request.cControls = controlCount;
    request.cbmxctrl = sizeof(MIXERCONTROL);
    request.pamxctrl = controls.data();
    if (mixerGetLineControls(AsMixerObject(mixer), &request,
                             MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ALL) != MMSYSERR_NOERROR)
        return {};
    return controls;
}
