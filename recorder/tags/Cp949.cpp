// Code page 949 conversions through iconv, one character at a time where the bulk call stops.
#include "recorder/tags/Cp949.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace tags {
namespace {

class Converter {
public:
    Converter(const char* to, const char* from) : m_Cd(iconv_open(to, from)) {}
    ~Converter() {
        if (m_Cd != reinterpret_cast<iconv_t>(-1))
            iconv_close(m_Cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts as much as possible; on a sequence it cannot convert, calls onBad(in, left)
    // which returns how many input bytes to skip and may append a replacement.
    template <typename OnBad> std::string Run(const std::string& input, OnBad onBad) {
        std::string out;
        if (m_Cd == reinterpret_cast<iconv_t>(-1))
            return out;
        char* in = const_cast<char*>(input.data());
        size_t inLeft = input.size();
        char buffer[256];
        while (inLeft > 0) {
            char* to = buffer;
            size_t toLeft = sizeof buffer;
            size_t r = iconv(m_Cd, &in, &inLeft, &to, &toLeft);
            out.append(buffer, static_cast<size_t>(to - buffer));
            if (r != static_cast<size_t>(-1))
                break;
            if (errno == E2BIG)
                continue;
            size_t skip = onBad(in, inLeft, out);
            in += skip;
            inLeft -= skip;
            iconv(m_Cd, nullptr, nullptr, nullptr, nullptr);
        }
        return out;
    }

private:
    iconv_t m_Cd;
};

size_t Utf8SequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    if ((lead & 0xF8) == 0xF0)
        return 4;
    return 1;
}

} // namespace

std::string Utf8ToCp949(const std::string& utf8) {
    Converter converter("CP949", "UTF-8");
    return converter.Run(utf8, [](const char* at, size_t left, std::string& out) {
        size_t length = Utf8SequenceLength(static_cast<unsigned char>(*at));
        // A complete character the code page lacks becomes '?'; broken UTF-8 is dropped.
        if (length > 1 && length <= left)
            out += '?';
        return length <= left ? length : left;
    });
}

std::string Cp949ToUtf8(const std::string& cp949) {
    Converter converter("UTF-8", "CP949");
    return converter.Run(cp949, [](const char* at, size_t left, std::string& out) {
        out += "\xEF\xBF\xBD";
        return static_cast<unsigned char>(*at) >= 0x81 && left >= 2 ? size_t(2) : size_t(1);
    });
}

std::string CutCp949(const std::string& cp949, size_t maxBytes) {
    size_t end = 0;
    while (end < cp949.size()) {
        size_t length = static_cast<unsigned char>(cp949[end]) >= 0x81 ? 2 : 1;
        if (end + length > maxBytes || end + length > cp949.size())
            break;
        end += length;
    }
    return cp949.substr(0, end);
}

std::string FirstUtf8Chars(const std::string& utf8, size_t maxChars) {
    size_t at = 0;
    for (size_t n = 0; n < maxChars && at < utf8.size(); ++n)
        at += Utf8SequenceLength(static_cast<unsigned char>(utf8[at]));
    return utf8.substr(0, std::min(at, utf8.size()));
}

} // namespace tags
