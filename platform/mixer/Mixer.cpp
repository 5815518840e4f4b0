// The mixer* functions over the installed backend: handle bookkeeping, record filling, lookups
// by destination, source, identifier and type, detail checks, and notification delivery.
#include "platform/mixer/Mixer.h"

#include "platform/mixer/MixerBackend.h"
#include "platform/thread/MessageThread.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <set>

struct MixerHandle {
    uint32_t device;
    uintptr_t callback;
    uintptr_t instance;
    uint32_t callbackType;
};

namespace {

using platform::CurrentMixerBackend;
using platform::MixerControlModel;
using platform::MixerDeviceModel;
using platform::MixerLineModel;

// Guards the open handles; held while a notification is delivered, so that after mixerClose
// returns the opener hears nothing more. Recursive: a notified opener may call mixer functions.
std::recursive_mutex& HandlesLock() {
    static auto* lock = new std::recursive_mutex;
    return *lock;
}
std::set<MixerHandle*>& Handles() {
    static auto* handles = new std::set<MixerHandle*>;
    return *handles;
}

class MixerNotifier final : public platform::MessageThread {
protected:
    void OnThreadMessage(const platform::ThreadMessage& msg) override {
        const auto device = static_cast<uint32_t>(msg.wParam >> 32);
        const auto message = static_cast<uint32_t>(msg.wParam & 0xFFFFFFFFu);
        const auto id = static_cast<uint32_t>(msg.lParam);
        std::lock_guard<std::recursive_mutex> guard(HandlesLock());
        std::vector<MixerHandle*> targets(Handles().begin(), Handles().end());
        for (MixerHandle* handle : targets) {
            if (!Handles().count(handle) || handle->device != device || !handle->callback)
                continue;
            if (handle->callbackType == CALLBACK_WINDOW)
                reinterpret_cast<IMixerNotify*>(handle->callback)->OnMixerNotify(handle, message, id);
            else if (handle->callbackType == CALLBACK_FUNCTION)
                reinterpret_cast<MixerProc>(handle->callback)(handle, message, handle->instance, id, 0);
        }
    }
};

MixerNotifier& Notifier() {
    // Never destroyed: backends may report changes while static objects are torn down.
    static MixerNotifier* notifier = [] {
        auto* n = new MixerNotifier;
        n->CreateThread();
        return n;
    }();
    return *notifier;
}

MMRESULT ResolveObject(HMIXEROBJ object, uint32_t flags, uint32_t& device) {
    platform::MixerBackend& backend = CurrentMixerBackend();
    switch (flags & MIXER_OBJECTF_TYPEMASK) {
    case MIXER_OBJECTF_HMIXER: {
        std::lock_guard<std::recursive_mutex> guard(HandlesLock());
        auto* handle = reinterpret_cast<MixerHandle*>(object);
        if (!handle || !Handles().count(handle))
            return MMSYSERR_INVALHANDLE;
        device = handle->device;
        return MMSYSERR_NOERROR;
    }
    case MIXER_OBJECTF_MIXER: {
        uintptr_t index = reinterpret_cast<uintptr_t>(object);
        if (index >= backend.DeviceCount())
            return MMSYSERR_BADDEVICEID;
        device = static_cast<uint32_t>(index);
        return MMSYSERR_NOERROR;
    }
    case MIXER_OBJECTF_WAVEIN:
        return backend.MixerOfWaveIn(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(object)), device)
                   ? MMSYSERR_NOERROR
                   : MMSYSERR_NODRIVER;
    default:
        return MMSYSERR_INVALFLAG;
    }
}

MMRESULT ReadModel(HMIXEROBJ object, uint32_t flags, uint32_t& device, MixerDeviceModel& model) {
    MMRESULT result = ResolveObject(object, flags, device);
    if (result != MMSYSERR_NOERROR)
        return result;
    return CurrentMixerBackend().Read(device, model);
}

// A line of the model with its place: destination index, source index (or none).
struct LinePlace {
    const MixerLineModel* line = nullptr;
    uint32_t destination = 0;
    uint32_t source = 0;
    bool isSource = false;
    uint32_t connections = 0;
};

template <typename Match> LinePlace FindLine(const MixerDeviceModel& model, Match match) {
    for (uint32_t d = 0; d < model.destinations.size(); ++d) {
        const auto& destination = model.destinations[d];
        if (match(destination.line))
            return {&destination.line, d, 0, false, static_cast<uint32_t>(destination.sources.size())};
    }
    for (uint32_t d = 0; d < model.destinations.size(); ++d) {
        const auto& destination = model.destinations[d];
        for (uint32_t s = 0; s < destination.sources.size(); ++s)
            if (match(destination.sources[s]))
                return {&destination.sources[s], d, s, true, 0};
    }
    return {};
}

struct ControlPlace {
    const MixerLineModel* line = nullptr;
    const MixerControlModel* control = nullptr;
};

ControlPlace FindControl(const MixerDeviceModel& model, uint32_t controlId) {
    ControlPlace place;
    FindLine(model, [&](const MixerLineModel& line) {
        for (const auto& control : line.controls) {
            if (control.id == controlId) {
                place = {&line, &control};
                return true;
            }
        }
        return false;
    });
    return place;
}

void FillLine(MIXERLINE& out, const LinePlace& place) {
    const MixerLineModel& line = *place.line;
    out.dwDestination = place.destination;
    out.dwSource = place.isSource ? place.source : 0;
    out.dwLineID = line.id;
    out.fdwLine = line.flags | (place.isSource ? MIXERLINE_LINEF_SOURCE : 0);
    out.dwUser = 0;
    out.dwComponentType = line.componentType;
    out.cChannels = line.channels;
    out.cConnections = place.connections;
    out.cControls = static_cast<uint32_t>(line.controls.size());
    platform::CopyMixerName(out.szShortName, MIXER_SHORT_NAME_CHARS, line.name);
    platform::CopyMixerName(out.szName, MIXER_LONG_NAME_CHARS, line.name);
}

void FillControl(MIXERCONTROL& out, const MixerControlModel& control) {
    std::memset(&out, 0, sizeof out);
    out.cbStruct = sizeof(MIXERCONTROL);
    out.dwControlID = control.id;
    out.dwControlType = control.type;
    out.fdwControl = control.flags;
    out.cMultipleItems =
        (control.flags & MIXERCONTROL_CONTROLF_MULTIPLE) ? static_cast<uint32_t>(control.items.size()) : 0;
    platform::CopyMixerName(out.szShortName, MIXER_SHORT_NAME_CHARS, control.name);
    platform::CopyMixerName(out.szName, MIXER_LONG_NAME_CHARS, control.name);
    out.Bounds.dwMinimum = control.minimum;
    out.Bounds.dwMaximum = control.maximum;
    out.Metrics.cSteps = control.steps;
}

// How many values a details record carries for the control, or 0 when its shape is wrong.
size_t DetailCount(const MIXERCONTROLDETAILS& details, const MixerLineModel& line,
                   const MixerControlModel& control) {
    if (control.flags & MIXERCONTROL_CONTROLF_MULTIPLE) {
        if (details.cMultipleItems != control.items.size() || details.cChannels != 1)
            return 0;
        return control.items.size();
    }
    if (details.cMultipleItems != 0)
        return 0;
    if (details.cChannels == 1)
        return 1;
    if (!(control.flags & MIXERCONTROL_CONTROLF_UNIFORM) && details.cChannels == line.channels)
        return details.cChannels;
    return 0;
}

// The control a details record addresses, read fresh, with the number of values it carries.
struct DetailTarget {
    uint32_t device = 0;
    MixerDeviceModel model;
    ControlPlace place; // points into model
    size_t count = 0;
};

MMRESULT ResolveDetails(HMIXEROBJ object, const MIXERCONTROLDETAILS* details, uint32_t flags,
                        size_t recordSize, DetailTarget& target) {
    if (!details || details->cbStruct < sizeof(MIXERCONTROLDETAILS) || !details->paDetails ||
        details->cbDetails < recordSize)
        return MMSYSERR_INVALPARAM;
    MMRESULT result = ReadModel(object, flags, target.device, target.model);
    if (result != MMSYSERR_NOERROR)
        return result;
    target.place = FindControl(target.model, details->dwControlID);
    if (!target.place.control)
        return MIXERR_INVALCONTROL;
    target.count = DetailCount(*details, *target.place.line, *target.place.control);
    return target.count == 0 ? MMSYSERR_INVALPARAM : MMSYSERR_NOERROR;
}

} // namespace

namespace platform {

void NotifyMixerChange(uint32_t device, uint32_t message, uint32_t id) {
    Notifier().PostThreadMessage(message, (static_cast<uintptr_t>(device) << 32) | message,
                                 static_cast<intptr_t>(id));
}

void CopyMixerName(char16_t* field, size_t capacity, const std::u16string& text) {
    size_t length = std::min(text.size(), capacity - 1);
    // Never leave half of a surrogate pair at the end.
    if (length > 0 && length < text.size() && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF)
        --length;
    std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length), field);
    std::fill(field + length, field + capacity, u'\0');
}

} // namespace platform

uint32_t mixerGetNumDevs() {
    return CurrentMixerBackend().DeviceCount();
}

MMRESULT mixerGetDevCaps(uintptr_t mixerId, MIXERCAPS* caps, uint32_t capsSize) {
    if (!caps || capsSize == 0)
        return MMSYSERR_INVALPARAM;
    uint32_t device = 0;
    {
        // A live handle stands for its device, as with the classic call.
        std::lock_guard<std::recursive_mutex> guard(HandlesLock());
        auto* handle = reinterpret_cast<MixerHandle*>(mixerId);
        if (Handles().count(handle))
            device = handle->device;
        else if (mixerId < CurrentMixerBackend().DeviceCount())
            device = static_cast<uint32_t>(mixerId);
        else
            return MMSYSERR_BADDEVICEID;
    }
    std::u16string name;
    MIXERCAPS filled{};
    MMRESULT result = CurrentMixerBackend().Caps(device, name, filled.cDestinations);
    if (result != MMSYSERR_NOERROR)
        return result;
    filled.vDriverVersion = 0x0100;
    platform::CopyMixerName(filled.szPname, MAXPNAMELEN, name);
    std::memcpy(caps, &filled, std::min<size_t>(capsSize, sizeof filled));
    return MMSYSERR_NOERROR;
}

MMRESULT mixerOpen(HMIXER* mixer, uint32_t mixerId, uintptr_t callback, uintptr_t instance, uint32_t flags) {
    if (!mixer)
        return MMSYSERR_INVALPARAM;
    *mixer = nullptr;
    const uint32_t callbackType = flags & CALLBACK_TYPEMASK;
    if (callbackType != CALLBACK_NULL && callbackType != CALLBACK_WINDOW && callbackType != CALLBACK_FUNCTION)
        return MMSYSERR_INVALFLAG;
    if (flags & MIXER_OBJECTF_HANDLE)
        return MMSYSERR_INVALFLAG;
    uint32_t device = 0;
    MMRESULT result = ResolveObject(reinterpret_cast<HMIXEROBJ>(static_cast<uintptr_t>(mixerId)),
                                    flags & MIXER_OBJECTF_TYPEMASK, device);
    if (result != MMSYSERR_NOERROR)
        return result;
    result = CurrentMixerBackend().Open(device);
    if (result != MMSYSERR_NOERROR)
        return result;
    if (callbackType != CALLBACK_NULL && callback)
        Notifier(); // started before the first change can be reported
    auto* handle = new MixerHandle{device, callback, instance, callbackType};
    std::lock_guard<std::recursive_mutex> guard(HandlesLock());
    Handles().insert(handle);
    *mixer = handle;
    return MMSYSERR_NOERROR;
}

MMRESULT mixerClose(HMIXER mixer) {
    uint32_t device;
    {
        std::lock_guard<std::recursive_mutex> guard(HandlesLock());
        if (!mixer || !Handles().erase(mixer))
            return MMSYSERR_INVALHANDLE;
        device = mixer->device;
        delete mixer;
    }
    CurrentMixerBackend().Close(device);
    return MMSYSERR_NOERROR;
}

MMRESULT mixerGetLineInfo(HMIXEROBJ object, MIXERLINE* line, uint32_t flags) {
    if (!line || line->cbStruct < sizeof(MIXERLINE))
        return MMSYSERR_INVALPARAM;
    uint32_t device;
    MixerDeviceModel model;
    MMRESULT result = ReadModel(object, flags, device, model);
    if (result != MMSYSERR_NOERROR)
        return result;
    LinePlace place;
    switch (flags & MIXER_GETLINEINFOF_QUERYMASK) {
    case MIXER_GETLINEINFOF_DESTINATION:
        if (line->dwDestination >= model.destinations.size())
            return MMSYSERR_INVALPARAM;
        place = {&model.destinations[line->dwDestination].line, line->dwDestination, 0, false,
                 static_cast<uint32_t>(model.destinations[line->dwDestination].sources.size())};
        break;
    case MIXER_GETLINEINFOF_SOURCE:
        if (line->dwDestination >= model.destinations.size() ||
            line->dwSource >= model.destinations[line->dwDestination].sources.size())
            return MMSYSERR_INVALPARAM;
        place = {&model.destinations[line->dwDestination].sources[line->dwSource], line->dwDestination,
                 line->dwSource, true, 0};
        break;
    case MIXER_GETLINEINFOF_LINEID: {
        uint32_t id = line->dwLineID;
        place = FindLine(model, [id](const MixerLineModel& l) { return l.id == id; });
        break;
    }
    case MIXER_GETLINEINFOF_COMPONENTTYPE: {
        uint32_t type = line->dwComponentType;
        place = FindLine(model, [type](const MixerLineModel& l) { return l.componentType == type; });
        break;
    }
    default:
        return MMSYSERR_INVALFLAG;
    }
    if (!place.line)
        return MIXERR_INVALLINE;
    FillLine(*line, place);
    return MMSYSERR_NOERROR;
}

MMRESULT mixerGetLineControls(HMIXEROBJ object, MIXERLINECONTROLS* controls, uint32_t flags) {
    if (!controls || controls->cbStruct < sizeof(MIXERLINECONTROLS) || !controls->pamxctrl ||
        controls->cbmxctrl < sizeof(MIXERCONTROL))
        return MMSYSERR_INVALPARAM;
    uint32_t device;
    MixerDeviceModel model;
    MMRESULT result = ReadModel(object, flags, device, model);
    if (result != MMSYSERR_NOERROR)
        return result;
    const uint32_t query = flags & MIXER_GETLINECONTROLSF_QUERYMASK;
    if (query == MIXER_GETLINECONTROLSF_ONEBYID) {
        ControlPlace place = FindControl(model, controls->dwControlID);
        if (!place.control)
            return MIXERR_INVALCONTROL;
        controls->dwLineID = place.line->id;
        FillControl(*controls->pamxctrl, *place.control);
        return MMSYSERR_NOERROR;
    }
    if (query != MIXER_GETLINECONTROLSF_ALL && query != MIXER_GETLINECONTROLSF_ONEBYTYPE)
        return MMSYSERR_INVALFLAG;
    uint32_t lineId = controls->dwLineID;
    LinePlace place = FindLine(model, [lineId](const MixerLineModel& l) { return l.id == lineId; });
    if (!place.line)
        return MIXERR_INVALLINE;
    const auto& lineControls = place.line->controls;
    if (query == MIXER_GETLINECONTROLSF_ALL) {
        if (controls->cControls != lineControls.size() || lineControls.empty())
            return MMSYSERR_INVALPARAM;
        auto* record = reinterpret_cast<unsigned char*>(controls->pamxctrl);
        for (const auto& control : lineControls) {
            FillControl(*reinterpret_cast<MIXERCONTROL*>(record), control);
            record += controls->cbmxctrl;
        }
        return MMSYSERR_NOERROR;
    }
    for (const auto& control : lineControls) {
        if (control.type == controls->dwControlType) {
            controls->dwControlID = control.id;
            FillControl(*controls->pamxctrl, control);
            return MMSYSERR_NOERROR;
        }
    }
    return MIXERR_INVALCONTROL;
}

MMRESULT mixerGetControlDetails(HMIXEROBJ object, MIXERCONTROLDETAILS* details, uint32_t flags) {
    const uint32_t query = flags & MIXER_GETCONTROLDETAILSF_QUERYMASK;
    if (query != MIXER_GETCONTROLDETAILSF_VALUE && query != MIXER_GETCONTROLDETAILSF_LISTTEXT)
        return MMSYSERR_INVALFLAG;
    const size_t recordSize =
        query == MIXER_GETCONTROLDETAILSF_VALUE ? sizeof(uint32_t) : sizeof(MIXERCONTROLDETAILS_LISTTEXT);
    DetailTarget target;
    MMRESULT result = ResolveDetails(object, details, flags, recordSize, target);
    if (result != MMSYSERR_NOERROR)
        return result;
    const MixerControlModel& control = *target.place.control;
    const size_t count = target.count;

    auto* record = static_cast<unsigned char*>(details->paDetails);
    if (query == MIXER_GETCONTROLDETAILSF_LISTTEXT) {
        if (!(control.flags & MIXERCONTROL_CONTROLF_MULTIPLE))
            return MMSYSERR_INVALPARAM;
        for (const auto& item : control.items) {
            MIXERCONTROLDETAILS_LISTTEXT text{};
            text.dwParam1 = item.lineId;
            platform::CopyMixerName(text.szName, MIXER_LONG_NAME_CHARS, item.name);
            std::memcpy(record, &text, sizeof text);
            record += details->cbDetails;
        }
        return MMSYSERR_NOERROR;
    }
    for (size_t i = 0; i < count; ++i) {
        // One value for a many-channel control: the loudest channel, as a single slider shows it.
        uint32_t value = count == 1 && control.values.size() > 1
                             ? *std::max_element(control.values.begin(), control.values.end())
                             : (i < control.values.size() ? control.values[i] : 0);
        std::memcpy(record, &value, sizeof value);
        record += details->cbDetails;
    }
    return MMSYSERR_NOERROR;
}

MMRESULT mixerSetControlDetails(HMIXEROBJ object, MIXERCONTROLDETAILS* details, uint32_t flags) {
    if ((flags & MIXER_SETCONTROLDETAILSF_QUERYMASK) != MIXER_SETCONTROLDETAILSF_VALUE)
        return MMSYSERR_INVALFLAG;
    DetailTarget target;
    MMRESULT result = ResolveDetails(object, details, flags, sizeof(uint32_t), target);
    if (result != MMSYSERR_NOERROR)
        return result;
    const MixerControlModel& control = *target.place.control;
    const size_t count = target.count;
    std::vector<uint32_t> values(count);
    const auto* record = static_cast<const unsigned char*>(details->paDetails);
    for (size_t i = 0; i < count; ++i) {
        std::memcpy(&values[i], record, sizeof(uint32_t));
        record += details->cbDetails;
    }
    if (control.flags & MIXERCONTROL_CONTROLF_MULTIPLE) {
        // A selector takes exactly one item.
        if (std::count_if(values.begin(), values.end(), [](uint32_t v) { return v != 0; }) != 1)
            return MIXERR_INVALVALUE;
    } else {
        for (uint32_t v : values)
            if (v < control.minimum || v > control.maximum)
                return MIXERR_INVALVALUE;
    }
    return CurrentMixerBackend().Write(target.device, *target.place.line, control, details->cChannels,
                                       values);
}
