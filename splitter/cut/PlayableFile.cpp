// Both readers must agree, so the range, the cut's rates and playback all describe one file.
#include "splitter/cut/PlayableFile.h"

#include "platform/player/Mp3Decoder.h"
#include "splitter/media/MediaQuery.h"

std::optional<MediaProps> ReadPlayableFile(const std::string& path) {
    MediaProps props;
    if (!QueryMedia(path, props) || props.durationSec < 1)
        return std::nullopt;
    // The length shown is the media library's; the player measures it exactly when it opens.
    platform::Mp3Decoder decoder;
    if (!decoder.Probe(path))
        return std::nullopt;
    return props;
}
