// Owned or borrowed PCM blocks.
#include "recorder/engine/CBuffer.h"

#include <cstdlib>

CBuffer::CBuffer(int32_t size, bool owns) : ptr(nullptr), Owns(owns) {
    if (size > 0)
        ptr = std::malloc(static_cast<size_t>(size));
    ByteLen = ptr ? size : 0;
}

CBuffer::CBuffer(void* data, int32_t length) : ptr(data), ByteLen(data ? length : 0), Owns(false) {}

CBuffer::~CBuffer() {
    if (Owns && ptr)
        std::free(ptr);
}
