// Both readers must agree, so the range, the cut's rates and playback all describe one file.
#include "splitter/cut/PlayableFile.h"

#include "platform/player/Mp3Decoder.h"
#include "splitter/media/MediaQuery.h"

std::optional<MediaProps> ReadPlayableFile(const std::string& path) {
    MediaProps props;
    if (!QueryMedia(path, props))
        return std::nullopt;
    // The length is what decodes, not what the media library reads from a header: a file cut
    // short keeps a header that names its whole length, and a variable bit rate file without one
    // gets no length or a guess from it.
    platform::Mp3Decoder decoder;
    if (!decoder.Probe(path))
        return std::nullopt;
    props.durationSec = static_cast<int32_t>(decoder.LengthMs() / 1000);
    if (props.durationSec < 1)
        return std::nullopt;
    return props;
}
