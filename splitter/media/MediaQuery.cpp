// QueryMedia and its number parsing. The library header binds the 8-bit "MediaInfoA_" functions
// of libmediainfo.so.0 (a build may name another file through MEDIAINFODLL_NAME).
#include "splitter/media/MediaQuery.h"

#include "platform/decimal/Decimal.h"

#include <MediaInfoDLL/MediaInfoDLL.h>

#include <array>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstring>
#include <langinfo.h>
#include <utility>

namespace {

using Row = std::pair<const char*, const char*>;

constexpr std::array<Row, 8> kVideoCodecs{{
    {"Xvid", "Xvid"},
    {"Divx 5", "DIVX5"},
    {"Sorenson H263", "H263"},
    {"On2 VP6", "H263"},
    {"WMV2", "WMV2"},
    {"MPEG-4 Visual", "MP4V"},
    {"Divx 4", "Divx4"},
    {"h264", "H264"},
}};

constexpr std::array<Row, 9> kAudioCodecs{{
    {"A_AAC/MPEG4/LC", "AAC"},
    {"A_AAC/MPEG4/LTP", "AAC"},
    {"A_AAC/MPEG4/SSR", "AAC"},
    {"A_AAC/MPEG/MAIN", "AAC"},
    {"MPA1L3", "MP3"},
    {"MPA2L3", "MP3"},
    {"161", "WMA"},
    {"AC3", "AC3"},
    {"V_MPEG4/ISO/AVC", "AVC"},
}};

template <size_t N> std::string Normalise(std::string text, const std::array<Row, N>& table) {
    for (const Row& row : table)
        if (text == row.first)
            return row.second;
    return text;
}

bool LoadLibrary() {
    if (MediaInfoDLL_IsLoaded())
        return true;
    if (MediaInfoDLL_Load() != 1)
        return false; // the next query tries again
    // The legacy names ("PlayTime", audio "Codec", "Codec/String") are filled only in this mode;
    // it is process-wide and must be set before a file is opened.
    MediaInfo_Option(nullptr, "Legacy", "1");
    return true;
}

class Handle {
public:
    Handle() : m_Handle(MediaInfo_New()) {}
    ~Handle() {
        if (m_Handle)
            MediaInfo_Delete(m_Handle);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    bool Open(const std::string& path) { return m_Handle && MediaInfo_Open(m_Handle, path.c_str()) != 0; }
    std::string Get(MediaInfo_stream_C kind, const char* parameter) {
        const char* text =
            MediaInfo_Get(m_Handle, kind, 0, parameter, MediaInfo_Info_Text, MediaInfo_Info_Name);
        return text ? text : "";
    }

private:
    void* m_Handle;
};

std::string OrNotMode(std::string text) {
    return text.empty() ? "NotMode" : text;
}

} // namespace

bool EnsureUtf8CharacterLocale() {
    const char* codeset = nl_langinfo(CODESET);
    if (codeset && std::strcmp(codeset, "UTF-8") == 0)
        return true;
    if (!std::setlocale(LC_CTYPE, "C.UTF-8"))
        return false;
    codeset = nl_langinfo(CODESET);
    return codeset && std::strcmp(codeset, "UTF-8") == 0;
}

int32_t LeadingNumber(const std::string& text, double factor) {
    size_t blank = text.find(' ');
    if (blank == std::string::npos)
        return 0;
    double number = 0.0;
    const char* first = text.data();
    if (blank > 0 && (*first == '-' || (*first >= '0' && *first <= '9') || *first == '.'))
        std::from_chars(first, text.data() + blank, number); // "." always, whatever LC_NUMERIC says
    double product = number * factor;
    // 11.025 kHz is 11024.999... in binary: a tiny nudge keeps exact decimal products whole.
    product += std::copysign(std::fabs(product) * 1e-12, product);
    if (!(std::fabs(product) < 2147483648.0))
        return 0;
    return static_cast<int32_t>(std::trunc(product));
}

namespace {

bool ReadProperties(const std::string& path, MediaProps& record) {
    Handle info;
    if (!info.Open(path))
        return false;

    const auto general = MediaInfo_Stream_General;
    const auto video = MediaInfo_Stream_Video;
    const auto audio = MediaInfo_Stream_Audio;
    record.width = DecimalValue(info.Get(video, "Width"));
    record.height = DecimalValue(info.Get(video, "Height"));
    record.durationSec = DecimalValue(info.Get(general, "PlayTime")) / 1000;
    record.videoCodecShort = Normalise(info.Get(video, "Codec_String"), kVideoCodecs);
    record.audioCodecShort = Normalise(info.Get(audio, "Codec"), kAudioCodecs);
    record.videoCodec = info.Get(video, "Codec");
    record.audioCodecText = info.Get(audio, "Codec/String");
    record.videoBitRateMode = OrNotMode(info.Get(video, "BitRate_Mode"));
    record.audioBitRateMode = OrNotMode(info.Get(audio, "BitRate_Mode"));
    record.videoFrameRate = info.Get(video, "FrameRate");
    record.audioBitRate = info.Get(audio, "BitRate_String");
    record.videoBitRate = info.Get(video, "BitRate_String");
    record.audioChannels = info.Get(audio, "Channels");
    record.audioSampleRate = info.Get(audio, "SamplingRate_String");
    record.formatText = info.Get(general, "Format/String");
    record.fileSize = DecimalValue(info.Get(general, "FileSize"));
    return true;
}

} // namespace

bool QueryMedia(const std::string& path, MediaProps& record) {
    if (!LoadLibrary())
        return false;
    EnsureUtf8CharacterLocale();
    // The library is C++ behind its C functions: what a broken file makes it throw (an allocation
    // its header asks for) is a file it cannot read, not the end of the program. The record is
    // filled on a copy, so that it stays as it was.
    MediaProps read = record;
    try {
        if (!ReadProperties(path, read))
            return false;
    } catch (...) {
        return false;
    }
    record = std::move(read);
    return true;
}
