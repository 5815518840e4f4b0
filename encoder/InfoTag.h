// Writes LAME's VBR/Info header frame over the placeholder frame at the start of a finished file.
#pragma once

#include "encoder/BladeEncoder.h"

#include <lame.h>

#include <cstdio>

namespace blade {

// The file is open for reading and writing. The first audio frame follows an ID3v2 tag, if any;
// it and the frame one tag-frame size further on must both start with a frame header, so that the
// tag frame replaces exactly the placeholder. BE_ERR_SUCCESSFUL or BE_ERR_INVALID_FORMAT_PARAMETERS.
BE_ERR WriteInfoTagFrame(lame_t context, std::FILE* file);

} // namespace blade
