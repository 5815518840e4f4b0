// The skin pictures as the programs carry them: the committed PNGs converted at build time into
// pixels ready to use, so that no window decodes a PNG before its first paint (the splitter's
// face alone took 1.3 ms to decode). One file per picture: a 16-byte header, then the rows.
#pragma once

#include <cstdint>

namespace skinformat {

// "QSK1", then width, height and the QImage format of the rows, each 32 bits little-endian.
inline constexpr char kMagic[4] = {'Q', 'S', 'K', '1'};
inline constexpr int kHeaderBytes = 16;
// A picture without a see-through pixel is stored as RGB32, any other as ARGB32 (straight
// alpha, as the PNG has it); both take four bytes per pixel and no padding.
inline constexpr int kBytesPerPixel = 4;

} // namespace skinformat
