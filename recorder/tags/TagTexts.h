// The five texts of the tag editor, in UTF-8, as one value shared by both tag formats.
#pragma once

#include <string>

namespace tags {

struct TagTexts {
    std::string title;
    std::string artist;
    std::string album;
    std::string year;
    std::string comment;

    bool Empty() const {
        return title.empty() && artist.empty() && album.empty() && year.empty() && comment.empty();
    }
    bool operator==(const TagTexts&) const = default;
};

} // namespace tags
