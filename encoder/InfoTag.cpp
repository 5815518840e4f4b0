// Locating the first audio frame of a finished file and replacing it with the tag frame.
#include "encoder/InfoTag.h"

#include <vector>

namespace blade {
namespace {

// Bytes before the first audio frame: a leading ID3v2 tag, header included.
bool AudioStart(std::FILE* file, long* offset) {
    unsigned char header[10];
    if (std::fseek(file, 0, SEEK_SET) != 0 || std::fread(header, 1, sizeof header, file) != sizeof header)
        return false;
    *offset = 0;
    if (header[0] == 'I' && header[1] == 'D' && header[2] == '3') {
        // The size is synchsafe: four bytes of seven bits, most significant first.
        *offset = ((header[6] & 0x7FL) << 21) | ((header[7] & 0x7FL) << 14) | ((header[8] & 0x7FL) << 7) |
                  (header[9] & 0x7FL);
        *offset += 10;
    }
    return true;
}

bool FrameHeaderAt(std::FILE* file, long offset) {
    unsigned char header[4];
    if (std::fseek(file, offset, SEEK_SET) != 0 ||
        std::fread(header, 1, sizeof header, file) != sizeof header)
        return false;
    return header[0] == 0xFF && (header[1] & 0xE0) == 0xE0;
}

} // namespace

BE_ERR WriteInfoTagFrame(lame_t context, std::FILE* file) {
    const size_t frameSize = lame_get_lametag_frame(context, nullptr, 0);
    if (frameSize == 0)
        return BE_ERR_SUCCESSFUL;

    long offset = 0;
    if (!AudioStart(file, &offset) || !FrameHeaderAt(file, offset) ||
        !FrameHeaderAt(file, offset + static_cast<long>(frameSize)) ||
        std::fseek(file, offset, SEEK_SET) != 0)
        return BE_ERR_INVALID_FORMAT_PARAMETERS;

    std::vector<unsigned char> frame(frameSize);
    const size_t bytes = lame_get_lametag_frame(context, frame.data(), frame.size());
    if (bytes > 0 && std::fwrite(frame.data(), 1, bytes, file) != bytes)
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    return BE_ERR_SUCCESSFUL;
}

} // namespace blade
