// Tag test fixtures over the installed ffmpeg.
#include "tests/recorder/tags/TagFixtures.h"

#include "tests/splitter/common/MediaFiles.h"

#include <stdexcept>
#include <unistd.h>

namespace tagtest {
namespace {
constexpr uid_t kNobody = 65534;
}

bool MakePlainMp3(const std::string& path, double seconds) {
    return splittest::RunProgram({"ffmpeg", "-nostdin", "-v", "error", "-f", "lavfi", "-i",
                                  "sine=frequency=440:duration=" + std::to_string(seconds), "-ac", "2",
                                  "-c:a", "libmp3lame", "-b:a", "128k", "-id3v2_version", "0", "-y", path}) ==
           0;
}

std::string AfterId3v2(const std::string& bytes) {
    if (bytes.size() < 10 || bytes.compare(0, 3, "ID3") != 0)
        return bytes;
    size_t size = 0;
    for (int i = 6; i < 10; ++i)
        size = size << 7 | (static_cast<unsigned char>(bytes[i]) & 0x7F);
    return bytes.substr(std::min(bytes.size(), 10 + size));
}

Unprivileged::Unprivileged() {
    if (geteuid() != 0)
        return;
    if (setegid(kNobody) != 0 || seteuid(kNobody) != 0)
        throw std::runtime_error("cannot act as nobody");
    m_Dropped = true;
}

Unprivileged::~Unprivileged() {
    if (m_Dropped && (seteuid(0) != 0 || setegid(0) != 0))
        std::terminate();
}

} // namespace tagtest
