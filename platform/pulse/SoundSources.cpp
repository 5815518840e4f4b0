// Source introspection for command-line use: one server-info and one source-list query.
#include "platform/pulse/SoundSources.h"

#include "platform/pulse/Property.h"
#include "platform/pulse/PulseConnection.h"

#include <algorithm>
#include <cctype>

namespace platform {

namespace {

struct Listing {
    std::string defaultSink;
    std::vector<std::pair<SoundSource, uint32_t>> sources; // with the index of the sink monitored
    std::vector<std::pair<std::string, uint32_t>> sinks;   // name, index
};

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

std::optional<std::vector<SoundSource>> ListSoundSources() {
    PulseConnection& pulse = PulseConnection::Instance();
    if (!pulse.EnsureConnected())
        return std::nullopt;
    Listing listing;
    {
        PulseConnection::Lock lock(pulse);
        if (!pulse.IsReadyLocked())
            return std::nullopt;
        pa_context* c = pulse.Context();
        bool ok = pulse.WaitOperationLocked(pa_context_get_server_info(
            c,
            [](pa_context*, const pa_server_info* info, void* data) {
                if (info && info->default_sink_name)
                    static_cast<Listing*>(data)->defaultSink = info->default_sink_name;
            },
            &listing));
        ok = ok && pulse.WaitOperationLocked(pa_context_get_sink_info_list(
                       c,
                       [](pa_context*, const pa_sink_info* info, int eol, void* data) {
                           if (!eol && info && info->name)
                               static_cast<Listing*>(data)->sinks.emplace_back(info->name, info->index);
                       },
                       &listing));
        ok = ok && pulse.WaitOperationLocked(pa_context_get_source_info_list(
                       c,
                       [](pa_context*, const pa_source_info* info, int eol, void* data) {
                           if (eol || !info || !info->name)
                               return;
                           SoundSource source;
                           source.name = info->name;
                           source.description = info->description ? info->description : info->name;
                           source.monitor = info->monitor_of_sink != PA_INVALID_INDEX;
                           static_cast<Listing*>(data)->sources.emplace_back(source, info->monitor_of_sink);
                       },
                       &listing));
        if (!ok)
            return std::nullopt;
    }
    uint32_t defaultSinkIndex = PA_INVALID_INDEX;
    for (const auto& [name, index] : listing.sinks)
        if (name == listing.defaultSink)
            defaultSinkIndex = index;
    std::vector<SoundSource> sources;
    for (auto& [source, monitored] : listing.sources) {
        source.monitorOfDefaultOutput = source.monitor && monitored == defaultSinkIndex;
        sources.push_back(std::move(source));
    }
    return sources;
}

std::optional<std::vector<PlayingApplication>> ListPlayingApplications() {
    PulseConnection& pulse = PulseConnection::Instance();
    if (!pulse.EnsureConnected())
        return std::nullopt;
    std::vector<PlayingApplication> applications;
    PulseConnection::Lock lock(pulse);
    if (!pulse.IsReadyLocked())
        return std::nullopt;
    const bool ok = pulse.WaitOperationLocked(pa_context_get_sink_input_info_list(
        pulse.Context(),
        [](pa_context*, const pa_sink_input_info* info, int eol, void* data) {
            if (eol || !info)
                return;
            PlayingApplication found{PropertyOf(info->proplist, PA_PROP_APPLICATION_PROCESS_BINARY),
                                     PropertyOf(info->proplist, PA_PROP_APPLICATION_NAME),
                                     PropertyOf(info->proplist, PA_PROP_APPLICATION_ICON_NAME)};
            auto* list = static_cast<std::vector<PlayingApplication>*>(data);
            if (std::none_of(list->begin(), list->end(), [&](const PlayingApplication& a) {
                    return a.binary == found.binary && a.name == found.name;
                }))
                list->push_back(std::move(found));
        },
        &applications));
    if (!ok)
        return std::nullopt;
    return applications;
}

const PlayingApplication* FindPlayingApplication(const std::vector<PlayingApplication>& applications,
                                                 const std::string& wanted) {
    for (const PlayingApplication& application : applications)
        if (SameIgnoringCase(application.name, wanted))
            return &application;
    for (const PlayingApplication& application : applications)
        if (SameIgnoringCase(application.binary, wanted))
            return &application;
    return nullptr;
}

const SoundSource* FindSoundSource(const std::vector<SoundSource>& sources, const std::string& wanted) {
    for (const SoundSource& source : sources)
        if (source.name == wanted)
            return &source;
    for (const SoundSource& source : sources)
        if (SameIgnoringCase(source.description, wanted))
            return &source;
    return nullptr;
}

} // namespace platform
