// Finding the default output's monitor, at once or from a server event.
#include "platform/wavein/OutputFollower.h"

#include "platform/pulse/PulseEvents.h"

#include <string>
#include <vector>

namespace platform {
namespace {

struct Lookup {
    std::string sink;
    std::string monitor;
};

void OnServerInfo(pa_context*, const pa_server_info* info, void* data) {
    if (info && IsRealOutput(info->default_sink_name))
        static_cast<Lookup*>(data)->sink = info->default_sink_name;
}

void OnSinkInfo(pa_context*, const pa_sink_info* info, int eol, void* data) {
    if (!eol && info && info->monitor_source_name)
        static_cast<Lookup*>(data)->monitor = info->monitor_source_name;
}

// Every real output's monitor, in the server's order.
void OnEverySink(pa_context*, const pa_sink_info* info, int eol, void* data) {
    if (!eol && info && info->monitor_source_name && IsRealOutput(info->name))
        static_cast<std::vector<std::string>*>(data)->push_back(info->monitor_source_name);
}

// The event path cannot wait on the server: each answer asks the next question.
void OnChangedSink(pa_context*, const pa_sink_info* info, int eol, void*) {
    if (!eol && info && info->monitor_source_name)
        MoveFollowingCapturesLocked(info->monitor_source_name);
}

void OnChangedServer(pa_context* c, const pa_server_info* info, void*) {
    if (!info || !IsRealOutput(info->default_sink_name))
        return; // no output to follow: the captures stay where they are
    if (pa_operation* op =
            pa_context_get_sink_info_by_name(c, info->default_sink_name, &OnChangedSink, nullptr))
        pa_operation_unref(op);
}

void OnEvent(pa_subscription_event_type_t type, uint32_t) {
    if ((type & PA_SUBSCRIPTION_EVENT_FACILITY_MASK) == PA_SUBSCRIPTION_EVENT_SERVER)
        RefollowLocked(PulseConnection::Instance());
}

} // namespace

void RefollowLocked(PulseConnection& pulse) {
    pa_context* c = pulse.Context();
    if (pa_operation* op = c ? pa_context_get_server_info(c, &OnChangedServer, nullptr) : nullptr)
        pa_operation_unref(op);
}

std::string DefaultOutputMonitorLocked(PulseConnection& pulse) {
    Lookup lookup;
    if (!pulse.WaitOperationLocked(pa_context_get_server_info(pulse.Context(), &OnServerInfo, &lookup)))
        return {};
    if (!lookup.sink.empty())
        pulse.WaitOperationLocked(
            pa_context_get_sink_info_by_name(pulse.Context(), lookup.sink.c_str(), &OnSinkInfo, &lookup));
    if (!lookup.monitor.empty())
        return lookup.monitor;
    // pipewire-pulse 0.3.65 can keep naming a client's default output "@DEFAULT_SINK@", a name it
    // then does not resolve, once every output went away and a new one came (new clients see it
    // right). With one output there is no doubt which one plays; with several, none is guessed.
    std::vector<std::string> monitors;
    pulse.WaitOperationLocked(pa_context_get_sink_info_list(pulse.Context(), &OnEverySink, &monitors));
    return monitors.size() == 1 ? monitors.front() : std::string();
}

void FollowDefaultOutputLocked(PulseConnection& pulse) {
    ListenToServerLocked(pulse, &OnEvent);
}

} // namespace platform
