// Record set-up for the mixer calls of the volume page.
#include "recorder/devices/dialog/VolumePageMixer.h"

#include "platform/mixer/MixerQueries.h"

namespace volumepage {
namespace {

MIXERLINE EmptyLine() {
    MIXERLINE line{};
    line.cbStruct = sizeof line;
    return line;
}

std::optional<MIXERLINE> Query(HMIXER mixer, MIXERLINE line, uint32_t query) {
    if (!mixer ||
        mixerGetLineInfo(AsMixerObject(mixer), &line, MIXER_OBJECTF_HMIXER | query) != MMSYSERR_NOERROR)
        return std::nullopt;
    return line;
}

MIXERCONTROLDETAILS Details(uint32_t controlId, uint32_t items, uint32_t itemBytes, void* records) {
    MIXERCONTROLDETAILS details{};
    details.cbStruct = sizeof details;
    details.dwControlID = controlId;
    details.cChannels = 1;
    details.cMultipleItems = items;
    details.cbDetails = itemBytes;
    details.paDetails = records;
    return details;
}

} // namespace

std::optional<MIXERCAPS> ReadCaps(uint32_t device) {
    MIXERCAPS caps{};
    if (mixerGetDevCaps(device, &caps, sizeof caps) != MMSYSERR_NOERROR)
        return std::nullopt;
    return caps;
}

std::optional<MIXERLINE> ReadDestination(HMIXER mixer, uint32_t destination) {
    MIXERLINE line = EmptyLine();
    line.dwDestination = destination;
    return Query(mixer, line, MIXER_GETLINEINFOF_DESTINATION);
}

std::optional<MIXERLINE> ReadSource(HMIXER mixer, uint32_t destination, uint32_t source) {
    MIXERLINE line = EmptyLine();
    line.dwDestination = destination;
    line.dwSource = source;
    return Query(mixer, line, MIXER_GETLINEINFOF_SOURCE);
}

std::optional<MIXERLINE> ReadLine(HMIXER mixer, uint32_t lineId) {
    MIXERLINE line = EmptyLine();
    line.dwLineID = lineId;
    return Query(mixer, line, MIXER_GETLINEINFOF_LINEID);
}

std::vector<MIXERCONTROL> ReadControls(HMIXER mixer, const MIXERLINE& line) {
    return LineControls(mixer, line.dwLineID, line.cControls);
}

std::optional<MIXERCONTROL> FindControl(HMIXER mixer, const MIXERLINE& line, uint32_t type) {
    return LineControlOfType(mixer, line.dwLineID, type);
}

std::optional<uint32_t> ReadValue(HMIXER mixer, uint32_t controlId) {
    uint32_t value = 0;
    MIXERCONTROLDETAILS details = Details(controlId, 0, sizeof value, &value);
    if (!mixer ||
        mixerGetControlDetails(AsMixerObject(mixer), &details,
                               MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE) != MMSYSERR_NOERROR)
        return std::nullopt;
    return value;
}

bool WriteValue(HMIXER mixer, uint32_t controlId, uint32_t value) {
    MIXERCONTROLDETAILS details = Details(controlId, 0, sizeof value, &value);
    return mixer &&
           mixerSetControlDetails(AsMixerObject(mixer), &details,
                                  MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE) == MMSYSERR_NOERROR;
}

std::vector<uint32_t> ReadItems(HMIXER mixer, const MIXERCONTROL& control) {
    if (!mixer || control.cMultipleItems == 0)
        return {};
    std::vector<uint32_t> values(control.cMultipleItems);
    MIXERCONTROLDETAILS details =
        Details(control.dwControlID, control.cMultipleItems, sizeof(uint32_t), values.data());
    if (mixerGetControlDetails(AsMixerObject(mixer), &details,
                               MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE) != MMSYSERR_NOERROR)
        return {};
    return values;
}

bool WriteItems(HMIXER mixer, uint32_t controlId, const std::vector<uint32_t>& values) {
    if (!mixer || values.empty())
        return false;
    std::vector<uint32_t> records = values;
    MIXERCONTROLDETAILS details =
        Details(controlId, static_cast<uint32_t>(records.size()), sizeof(uint32_t), records.data());
    return mixerSetControlDetails(AsMixerObject(mixer), &details,
                                  MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE) == MMSYSERR_NOERROR;
}

std::vector<QString> ReadItemNames(HMIXER mixer, const MIXERCONTROL& control) {
    if (!mixer || control.cMultipleItems == 0)
        return {};
    std::vector<MIXERCONTROLDETAILS_LISTTEXT> texts(control.cMultipleItems);
    MIXERCONTROLDETAILS details = Details(control.dwControlID, control.cMultipleItems,
                                          sizeof(MIXERCONTROLDETAILS_LISTTEXT), texts.data());
    if (mixerGetControlDetails(AsMixerObject(mixer), &details,
                               MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_LISTTEXT) != MMSYSERR_NOERROR)
        return {};
    std::vector<QString> names;
    for (const MIXERCONTROLDETAILS_LISTTEXT& text : texts)
        names.push_back(NameOf(text.szName));
    return names;
}

} // namespace volumepage
