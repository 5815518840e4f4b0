// The handle table: a handle names a slot and the generation the slot had when it was handed out.
#include "encoder/StreamTable.h"

namespace blade {

HBE_STREAM StreamTable::Add(lame_t context) {
    std::lock_guard<std::mutex> guard(lock_);
    size_t index = 0;
    while (index < slots_.size() && slots_[index].context)
        ++index;
    if (index == slots_.size()) {
        if (slots_.size() >= kCapacity)
            return 0;
        slots_.emplace_back();
    }
    slots_[index].context = context;
    return (static_cast<uint32_t>(slots_[index].generation) << 16) | static_cast<uint32_t>(index + 1);
}

int StreamTable::IndexOf(HBE_STREAM handle) const {
    const uint32_t position = handle & 0xFFFF;
    if (position == 0 || position > slots_.size())
        return -1;
    const Slot& slot = slots_[position - 1];
    if (!slot.context || slot.generation != (handle >> 16))
        return -1;
    return static_cast<int>(position - 1);
}

lame_t StreamTable::Find(HBE_STREAM handle) const {
    std::lock_guard<std::mutex> guard(lock_);
    const int index = IndexOf(handle);
    return index < 0 ? nullptr : slots_[index].context;
}

lame_t StreamTable::Remove(HBE_STREAM handle) {
    std::lock_guard<std::mutex> guard(lock_);
    const int index = IndexOf(handle);
    if (index < 0)
        return nullptr;
    Slot& slot = slots_[index];
    lame_t context = slot.context;
    slot.context = nullptr;
    ++slot.generation;
    if (pending_ == handle)
        pending_ = 0;
    return context;
}

HBE_STREAM StreamTable::Pending() const {
    std::lock_guard<std::mutex> guard(lock_);
    return pending_;
}

void StreamTable::SetPending(HBE_STREAM handle) {
    std::lock_guard<std::mutex> guard(lock_);
    pending_ = handle;
}

StreamTable& Streams() {
    static StreamTable table;
    return table;
}

bool ReleaseStream(HBE_STREAM handle) {
    lame_t context = Streams().Remove(handle);
    if (!context)
        return false;
    lame_close(context);
    return true;
}

} // namespace blade
