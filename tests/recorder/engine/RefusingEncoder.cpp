// A Blade-style encoder library for the failure path where the encoder refuses every stream: it
// exports all the names the MP3 writer binds, hands out a handle, and fails beInitStream.
#include "encoder/BladeEncoder.h"

#include <atomic>

namespace {
std::atomic<int> g_OpenHandles{0};
}

extern "C" {
BE_EXPORT BE_ERR beInitStream(PBE_CONFIG, uint32_t*, uint32_t*, HBE_STREAM* phbeStream) {
    *phbeStream = 7;
    ++g_OpenHandles;
    return BE_ERR_INVALID_FORMAT_PARAMETERS;
}
BE_EXPORT BE_ERR beEncodeChunk(HBE_STREAM, uint32_t, const int16_t*, uint8_t*, uint32_t* pdwOutput) {
    *pdwOutput = 0;
    return BE_ERR_INVALID_HANDLE;
}
BE_EXPORT BE_ERR beDeinitStream(HBE_STREAM, uint8_t*, uint32_t* pdwOutput) {
    *pdwOutput = 0;
    return BE_ERR_INVALID_HANDLE;
}
BE_EXPORT BE_ERR beCloseStream(HBE_STREAM) {
    --g_OpenHandles;
    return BE_ERR_SUCCESSFUL;
}
BE_EXPORT void beVersion(PBE_VERSION) {}
BE_EXPORT BE_ERR beWriteVBRHeader(const char*) {
    return BE_ERR_INVALID_HANDLE;
}
BE_EXPORT BE_ERR beWriteInfoTag(HBE_STREAM, const char*) {
    return BE_ERR_INVALID_HANDLE;
}
// How many handles were given out and not released: the writer must release a refused one.
BE_EXPORT int RefusingEncoderOpenHandles() {
    return g_OpenHandles.load();
}
}
