// The ID3v2 tag through TagLib: the two entry points of libquor_id3v2.so.
#include "Id3v2Module.h"

#include <taglib/commentsframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/tfilestream.h>

#include <type_traits>

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
} // namespace tags

// Only these two names leave the module. TagLib may throw (allocation): nothing crosses back.
extern "C" __attribute__((visibility("default"))) bool QuorReadId3v2(const char* path,
                                                                     tags::TagTexts* texts) {
    try {
        return tags::ReadTexts(path, texts);
    } catch (...) {
        return false;
    }
}

extern "C" __attribute__((visibility("default"))) bool QuorWriteId3v2(const char* path,
                                                                      const tags::TagTexts* texts) {
    try {
        return tags::WriteTexts(path, *texts);
    } catch (...) {
        return false;
    }
}

static_assert(std::is_same_v<decltype(&QuorReadId3v2), tags::ReadId3v2Function>);
static_assert(std::is_same_v<decltype(&QuorWriteId3v2), tags::WriteId3v2Function>);
