// The ID3v2 tag through TagLib, and the tag's length read by hand.
#include "recorder/tags/Id3v2Tag.h"

#include <taglib/commentsframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/tfilestream.h>

#include <cstdio>

namespace tags {
namespace {

using TagLib::String;
namespace ID3v2 = TagLib::ID3v2;

std::string Utf8(const String& text) {
    return text.to8Bit(true);
}

std::string FirstText(ID3v2::Tag* tag, const char* id) {
    const ID3v2::FrameList& frames = tag->frameList(id);
    return frames.isEmpty() ? std::string() : Utf8(frames.front()->toString());
}

// The comment is the COMM frame without a description; other COMM frames belong to other programs.
bool IsPlainComment(ID3v2::Frame* frame) {
    auto* comment = dynamic_cast<ID3v2::CommentsFrame*>(frame);
    return comment && comment->description().isEmpty();
}

std::string PlainComment(ID3v2::Tag* tag) {
    for (ID3v2::Frame* frame : tag->frameList("COMM")) {
        if (IsPlainComment(frame))
            return Utf8(frame->toString());
    }
    return {};
}

void SetText(ID3v2::Tag* tag, const char* id, const std::string& text) {
    tag->removeFrames(id);
    if (text.empty())
        return;
    auto* frame = new ID3v2::TextIdentificationFrame(id, String::UTF16);
    frame->setText(String(text, String::UTF8));
    tag->addFrame(frame);
}

void SetComment(ID3v2::Tag* tag, const std::string& text) {
    const ID3v2::FrameList frames = tag->frameList("COMM"); // a copy: removal changes the tag's list
    for (ID3v2::Frame* frame : frames) {
        if (IsPlainComment(frame))
            tag->removeFrame(frame);
    }
    if (text.empty())
        return;
    auto* frame = new ID3v2::CommentsFrame(String::UTF16);
    frame->setText(String(text, String::UTF8));
    tag->addFrame(frame);
}

bool ReadTexts(const char* path, TagTexts* texts) {
    TagLib::FileStream stream(path, true);
    if (!stream.isOpen())
        return false;
    TagLib::MPEG::File file(&stream, ID3v2::FrameFactory::instance(), false);
    if (!file.isValid() || !file.hasID3v2Tag())
        return false;
    ID3v2::Tag* tag = file.ID3v2Tag();
    // A year written as ID3v2.3's TYER is read back by TagLib as the newer TDRC.
    *texts = TagTexts{Utf8(tag->title()), Utf8(tag->artist()), Utf8(tag->album()), FirstText(tag, "TDRC"),
                      PlainComment(tag)};
    return !texts->Empty();
}

bool WriteTexts(const char* path, const TagTexts& texts) {
    TagLib::MPEG::File file(path, false);
    if (!file.isValid() || file.readOnly())
        return false;
    ID3v2::Tag* tag = file.ID3v2Tag(true);
    SetText(tag, "TIT2", texts.title);
    SetText(tag, "TPE1", texts.artist);
    SetText(tag, "TALB", texts.album);
    // TagLib turns a TDRC of fewer than four characters into nothing for ID3v2.3: write TYER itself.
    tag->removeFrames("TDRC");
    SetText(tag, "TYER", texts.year);
    SetComment(tag, texts.comment);
    return file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone, ID3v2::v3,
                     TagLib::File::DoNotDuplicate);
}
} // namespace

// TagLib may throw (allocation): a failure to read or write, never an exception to the caller.
std::optional<TagTexts> ReadId3v2(const std::string& path) {
    try {
        TagTexts texts;
        if (ReadTexts(path.c_str(), &texts))
            return texts;
    } catch (...) {
    }
    return std::nullopt;
}

bool WriteId3v2(const std::string& path, const TagTexts& texts) {
    try {
        return WriteTexts(path.c_str(), texts);
    } catch (...) {
        return false;
    }
}

int64_t Id3v2Length(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return -1;
    unsigned char header[10];
    const size_t got = std::fread(header, 1, sizeof header, file);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed)
        return -1;
    if (got < sizeof header || header[0] != 'I' || header[1] != 'D' || header[2] != '3' ||
        header[3] == 0xFF || header[4] == 0xFF)
        return 0;
    int64_t size = 0;
    for (int i = 6; i < 10; ++i) {
        if (header[i] & 0x80)
            return 0; // not a size in 7-bit bytes: not a tag header
        size = size << 7 | header[i];
    }
    const bool footer = header[5] & 0x10;
    return 10 + size + (footer ? 10 : 0);
}

} // namespace tags
