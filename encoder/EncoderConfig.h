// Turns a caller's BE_CONFIG into settings on a LAME context, and the chunk sizes that follow.
#pragma once

#include "encoder/BladeEncoder.h"

#include <lame.h>

namespace blade {

// The caller's record as a local LHV1 record: an LHV1 caller's bytes up to its structure size (at
// most 331, the rest zero), or the MP3 layout's 27 bytes translated.
BE_CONFIG ToLhv1(const BE_CONFIG* caller);

// Applies an LHV1 record to a fresh context and initialises its parameters. Returns
// BE_ERR_SUCCESSFUL, BE_ERR_INVALID_FORMAT_PARAMETERS or LAME's own refusal.
BE_ERR Configure(lame_t context, const BE_CONFIG& lhv1);

struct ChunkSizes {
    uint32_t samples;     // per beEncodeChunk, all channels together
    uint32_t bufferBytes; // output buffer each call needs
};
// For an initialised context.
ChunkSizes ChunkSizesOf(lame_t context);

} // namespace blade
