// A bounded single-producer single-consumer ring of pointers.
// Memory order: the producer writes the slot, then publishes the new head with release; the
// consumer reads the head with acquire before the slot, and publishes the new tail with release
// so that the producer (acquire) never overwrites a slot still being read.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>

namespace platform {

template <typename T, size_t Capacity> class SpscRing {
    static_assert(Capacity > 0 && (Capacity & (Capacity - 1)) == 0, "capacity must be a power of two");

public:
    // Producer only. False when full.
    bool Push(T* item) {
        size_t head = m_Head.load(std::memory_order_relaxed);
        size_t tail = m_Tail.load(std::memory_order_acquire);
        if (head - tail == Capacity)
            return false;
        m_Slots[head & (Capacity - 1)] = item;
        m_Head.store(head + 1, std::memory_order_release);
        return true;
    }
    // Consumer only. Null when empty.
    T* Pop() {
        size_t tail = m_Tail.load(std::memory_order_relaxed);
        size_t head = m_Head.load(std::memory_order_acquire);
        if (tail == head)
            return nullptr;
        T* item = m_Slots[tail & (Capacity - 1)];
        m_Tail.store(tail + 1, std::memory_order_release);
        return item;
    }
    // Consumer only: nothing to pop now.
    bool Empty() const {
        return m_Tail.load(std::memory_order_relaxed) == m_Head.load(std::memory_order_acquire);
    }
    // Consumer only, with the producer stopped.
    void Clear() { m_Tail.store(m_Head.load(std::memory_order_acquire), std::memory_order_release); }

private:
    std::array<T*, Capacity> m_Slots{};
    std::atomic<size_t> m_Head{0};
    std::atomic<size_t> m_Tail{0};
};

} // namespace platform
