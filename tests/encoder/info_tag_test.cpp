// The VBR/Info header frame patched into finished files, and the pending tag slot.
#include "encoder/StreamTable.h"
#include "tests/encoder/BladeStream.h"
#include "tests/encoder/Mp3Probe.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace {

constexpr int kRate = 44100;
constexpr double kSeconds = 2;

class InfoTag : public testing::Test {
protected:
    // Encodes a tone into a stream that writes the header frame; the stream is left open.
    quortest::OpenStream EncodeTagged(bool writeHeader = true) {
        BE_CONFIG config = quortest::Lhv1Config(128, kRate);
        config.format.LHV1.bWriteVBRHeader = writeHeader;
        const quortest::OpenStream stream = quortest::Init(config);
        EXPECT_EQ(stream.result, BE_ERR_SUCCESSFUL);
        mp3_ = quortest::EncodeAll(stream, pcm_, 2000);
        EXPECT_FALSE(mp3_.empty());
        if (lame_t context = blade::Streams().Find(stream.handle))
            frameSize_ = lame_get_lametag_frame(context, nullptr, 0);
        return stream;
    }

    std::string Path() const { return (dir_ / "song.mp3").string(); }

    const std::vector<int16_t> pcm_ = quortest::StereoTone(kRate, kSeconds, 1000, 440);
    quortest::TempDir dir_{"tag"};
    std::string mp3_;
    size_t frameSize_ = 0;
};

bool HasInfoFrameAt(const std::string& file, size_t offset, size_t size) {
    const std::string frame = file.substr(offset, size);
    return static_cast<unsigned char>(frame[0]) == 0xFF && frame.find("Info") != std::string::npos &&
           frame.find("LAME") != std::string::npos;
}

TEST_F(InfoTag, VbrHeaderReplacesThePlaceholderFrameAndMakesTheLengthExact) {
    const quortest::OpenStream stream = EncodeTagged();
    ASSERT_EQ(frameSize_, 417u);
    EXPECT_EQ(beCloseStream(stream.handle), BE_ERR_SUCCESSFUL);
    quortest::WriteFile(Path(), mp3_);

    EXPECT_EQ(beWriteVBRHeader(Path().c_str()), BE_ERR_SUCCESSFUL);
    const std::string patched = quortest::ReadFile(Path());
    ASSERT_EQ(patched.size(), mp3_.size());
    EXPECT_TRUE(HasInfoFrameAt(patched, 0, frameSize_));
    EXPECT_EQ(patched.substr(frameSize_), mp3_.substr(frameSize_));

    // With the tag the decoder drops the encoder delay and padding: exactly the input comes back.
    const quortest::DecodedMp3 decoded = quortest::DecodeMp3(Path(), true);
    ASSERT_TRUE(decoded.ok);
    EXPECT_EQ(decoded.frames, pcm_.size() / 2);
    // The stream is gone and the slot empty.
    EXPECT_EQ(blade::Streams().Find(stream.handle), nullptr);
    EXPECT_EQ(beWriteVBRHeader(Path().c_str()), BE_ERR_INVALID_FORMAT_PARAMETERS);
}

TEST_F(InfoTag, FrameGoesAfterALeadingId3v2Tag) {
    const quortest::OpenStream stream = EncodeTagged();
    // An ID3v2 header whose synchsafe size is 1000, then 1000 bytes of tag body.
    std::string id3 = std::string("ID3\x03\x00\x00", 6) + std::string("\x00\x00\x07\x68", 4);
    for (int i = 0; i < 1000; ++i)
        id3.push_back(static_cast<char>('a' + i % 26));
    quortest::WriteFile(Path(), id3 + mp3_);

    EXPECT_EQ(beWriteInfoTag(stream.handle, Path().c_str()), BE_ERR_SUCCESSFUL);
    const std::string patched = quortest::ReadFile(Path());
    ASSERT_EQ(patched.size(), id3.size() + mp3_.size());
    EXPECT_EQ(patched.substr(0, 1010), id3);
    EXPECT_TRUE(HasInfoFrameAt(patched, 1010, frameSize_));
    EXPECT_EQ(patched.substr(1010 + frameSize_), mp3_.substr(frameSize_));
    EXPECT_EQ(blade::Streams().Find(stream.handle), nullptr);
}

TEST_F(InfoTag, FileThatIsNoMp3IsRefusedUntouchedAndTheStreamIsReleased) {
    const quortest::OpenStream stream = EncodeTagged();
    const std::string garbage = "not an mp3 at all, just text before the frames" + mp3_;
    quortest::WriteFile(Path(), garbage);

    EXPECT_EQ(beWriteInfoTag(stream.handle, Path().c_str()), BE_ERR_INVALID_FORMAT_PARAMETERS);
    EXPECT_EQ(quortest::ReadFile(Path()), garbage);
    EXPECT_EQ(blade::Streams().Find(stream.handle), nullptr);

    // A frame header where the first frame is, but not one tag frame further on.
    const quortest::OpenStream other = EncodeTagged();
    const std::string cut = mp3_.substr(0, 4) + std::string(frameSize_ + 100, 'x');
    quortest::WriteFile(Path(), cut);
    EXPECT_EQ(beWriteInfoTag(other.handle, Path().c_str()), BE_ERR_INVALID_FORMAT_PARAMETERS);
    EXPECT_EQ(quortest::ReadFile(Path()), cut);

    // A file that cannot be opened.
    const quortest::OpenStream third = EncodeTagged();
    EXPECT_EQ(beWriteInfoTag(third.handle, (dir_ / "missing.mp3").c_str()), BE_ERR_INVALID_FORMAT_PARAMETERS);
    EXPECT_EQ(blade::Streams().Find(third.handle), nullptr);
}

TEST_F(InfoTag, VbrHeaderAfterAPlainCloseFindsNoStream) {
    const quortest::OpenStream tagged = EncodeTagged();
    EXPECT_EQ(beCloseStream(tagged.handle), BE_ERR_SUCCESSFUL); // parked
    const quortest::OpenStream plain = EncodeTagged(false);
    EXPECT_EQ(beCloseStream(plain.handle), BE_ERR_SUCCESSFUL); // empties the slot
    quortest::WriteFile(Path(), mp3_);

    EXPECT_EQ(beWriteVBRHeader(Path().c_str()), BE_ERR_INVALID_FORMAT_PARAMETERS);
    EXPECT_EQ(quortest::ReadFile(Path()), mp3_);
    // The parked stream is still the caller's to release.
    EXPECT_NE(blade::Streams().Find(tagged.handle), nullptr);
    EXPECT_EQ(beWriteInfoTag(tagged.handle, Path().c_str()), BE_ERR_SUCCESSFUL);
}

TEST_F(InfoTag, ReleasingTheParkedStreamEmptiesTheSlot) {
    const quortest::OpenStream stream = EncodeTagged();
    EXPECT_EQ(beCloseStream(stream.handle), BE_ERR_SUCCESSFUL);
    quortest::WriteFile(Path(), mp3_);
    // Released directly instead of through the slot: the slot must not keep the freed stream.
    EXPECT_EQ(beWriteInfoTag(stream.handle, Path().c_str()), BE_ERR_SUCCESSFUL);
    const std::string patched = quortest::ReadFile(Path());
    quortest::WriteFile(Path(), mp3_);

    EXPECT_EQ(beWriteVBRHeader(Path().c_str()), BE_ERR_INVALID_FORMAT_PARAMETERS);
    EXPECT_EQ(quortest::ReadFile(Path()), mp3_);
    EXPECT_NE(patched, mp3_);
}

TEST_F(InfoTag, StreamWithoutTheHeaderSwitchIsReleasedWithoutTouchingTheFile) {
    const quortest::OpenStream stream = EncodeTagged(false);
    quortest::WriteFile(Path(), mp3_);
    EXPECT_EQ(beWriteInfoTag(stream.handle, Path().c_str()), BE_ERR_SUCCESSFUL);
    EXPECT_EQ(quortest::ReadFile(Path()), mp3_);
    EXPECT_EQ(blade::Streams().Find(stream.handle), nullptr);

    EXPECT_EQ(beWriteInfoTag(0, Path().c_str()), BE_ERR_INVALID_FORMAT_PARAMETERS);
    EXPECT_EQ(beWriteInfoTag(stream.handle, Path().c_str()), BE_ERR_INVALID_FORMAT_PARAMETERS);
}

} // namespace
