// The view through which one block of captured PCM travels from the device to a writer.
#pragma once

#include <cstdint>

class CBuffer {
public:
    CBuffer() = default;
    // Allocates size bytes of uninitialised memory; with owns false the memory is handed on
    // and this object never frees it. A failed allocation leaves data null and length 0.
    CBuffer(int32_t size, bool owns);
    // A view of someone else's memory; a null pointer gives length 0.
    CBuffer(void* data, int32_t length);
    virtual ~CBuffer();
    CBuffer(const CBuffer&) = delete;
    CBuffer& operator=(const CBuffer&) = delete;

    void* ptr = nullptr;
    int32_t ByteLen = 0;
    bool Owns = false;
};
