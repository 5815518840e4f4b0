// The identity under a lock: main sets it, the connection reads it when it connects.
#include "platform/pulse/SoundClientIdentity.h"

#include <cerrno>
#include <mutex>

namespace platform {

namespace {
std::mutex g_identityLock;
SoundClientIdentity g_identity;
} // namespace

void SetSoundClientIdentity(SoundClientIdentity identity) {
    std::lock_guard<std::mutex> guard(g_identityLock);
    g_identity = std::move(identity);
}

SoundClientIdentity CurrentSoundClientIdentity() {
    std::lock_guard<std::mutex> guard(g_identityLock);
    SoundClientIdentity identity = g_identity;
    if (identity.name.empty())
        identity.name = program_invocation_short_name;
    return identity;
}

} // namespace platform
