// One subscription per context, fanned out to the listening layers.
#include "platform/pulse/PulseEvents.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace platform {
namespace {

// Guarded by the main loop lock.
// Never destroyed: the main loop thread may still deliver an event while the process exits.
std::vector<PulseEventHandler>& g_handlers = *new std::vector<PulseEventHandler>;
// The connection generation subscribed last; 0 before the first.
uint64_t g_subscribed = 0;

void OnEvent(pa_context*, pa_subscription_event_type_t type, uint32_t index, void*) {
    for (PulseEventHandler handler : g_handlers)
        handler(type, index);
}

} // namespace

void ListenToServerLocked(PulseConnection& pulse, PulseEventHandler handler) {
    if (std::find(g_handlers.begin(), g_handlers.end(), handler) == g_handlers.end())
        g_handlers.push_back(handler);
    pa_context* c = pulse.Context();
    if (!c || pulse.GenerationLocked() == g_subscribed)
        return;
    pa_context_set_subscribe_callback(c, &OnEvent, nullptr);
    auto mask = static_cast<pa_subscription_mask_t>(
        PA_SUBSCRIPTION_MASK_SINK | PA_SUBSCRIPTION_MASK_SOURCE | PA_SUBSCRIPTION_MASK_SINK_INPUT |
        PA_SUBSCRIPTION_MASK_CLIENT | PA_SUBSCRIPTION_MASK_SERVER);
    if (pa_operation* op = pa_context_subscribe(c, mask, nullptr, nullptr))
        pa_operation_unref(op);
    g_subscribed = pulse.GenerationLocked();
}

bool IsRealOutput(const char* sinkName) {
    return sinkName && *sinkName && std::strcmp(sinkName, "auto_null") != 0;
}

} // namespace platform
