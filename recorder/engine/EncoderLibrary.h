// Binds the Blade-style entry points from the encoder library loaded by file name at run time.
#pragma once

#include "encoder/BladeEncoder.h"

#include <string>

struct BladeEntryPoints {
    BE_ERR (*beInitStream)(PBE_CONFIG, uint32_t*, uint32_t*, HBE_STREAM*) = nullptr;
    BE_ERR (*beEncodeChunk)(HBE_STREAM, uint32_t, const int16_t*, uint8_t*, uint32_t*) = nullptr;
    BE_ERR (*beDeinitStream)(HBE_STREAM, uint8_t*, uint32_t*) = nullptr;
    BE_ERR (*beCloseStream)(HBE_STREAM) = nullptr;
    void (*beVersion)(PBE_VERSION) = nullptr;
    BE_ERR (*beWriteVBRHeader)(const char*) = nullptr;
    BE_ERR (*beWriteInfoTag)(HBE_STREAM, const char*) = nullptr; // may be null
};

enum class EncoderBinding { Bound, Missing, Incomplete };

// Loads the library through the normal search (for the program: its RUNPATH, so the copy beside
// it) and looks up the seven names; all but beWriteInfoTag are required. A library that binds
// stays loaded for the rest of the program and is not looked up again; a failure is retried on
// the next call, so installing the library mends it without a restart. Any thread may call it.
EncoderBinding BindEncoderLibrary(const std::string& fileName, BladeEntryPoints* entryPoints);
