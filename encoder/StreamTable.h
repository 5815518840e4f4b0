// Maps the 32-bit stream handles of the interface to LAME contexts, and keeps the pending tag slot.
#pragma once

#include "encoder/BladeEncoder.h"

#include <lame.h>

#include <cstdint>
#include <mutex>
#include <vector>

namespace blade {

// A handle is (generation << 16) | (slot index + 1): never 0, and a released handle stays unknown
// after its slot is reused (until the 16-bit generation wraps).
class StreamTable {
public:
    static constexpr uint32_t kCapacity = 0xFFFF;

    // Stores the context and returns its handle; 0 when the table is full.
    HBE_STREAM Add(lame_t context);
    // The context of a handle, or null when the handle is not (or no longer) known.
    lame_t Find(HBE_STREAM handle) const;
    // Forgets the handle and returns its context for the caller to close; clears the pending slot
    // when it held this handle. Null for an unknown handle.
    lame_t Remove(HBE_STREAM handle);

    HBE_STREAM Pending() const;
    void SetPending(HBE_STREAM handle);

private:
    struct Slot {
        lame_t context = nullptr;
        uint16_t generation = 1;
    };
    int IndexOf(HBE_STREAM handle) const;

    mutable std::mutex lock_;
    std::vector<Slot> slots_;
    HBE_STREAM pending_ = 0;
};

// The module's one table. Every call of the interface goes through it, never through the exported
// names, so a program that exports the same names keeps its own table.
StreamTable& Streams();

// Closes the context of a handle and forgets the handle; false for an unknown handle.
bool ReleaseStream(HBE_STREAM handle);

} // namespace blade
