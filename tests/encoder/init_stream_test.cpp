// How a BE_CONFIG becomes an encoder: chunk sizes, channel modes, presets, ABR, quality and the
// MP3 layout, checked on the LAME context behind the handle.
#include "encoder/StreamTable.h"
#include "tests/encoder/BladeStream.h"
#include "tests/encoder/Mp3Probe.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

using quortest::Init;
using quortest::Lhv1Config;

// Opens a stream from a caller's record (of any layout and length), hands its context to check,
// then releases it.
template <typename Check> void WithRecord(const void* record, Check check) {
    quortest::OpenStream stream;
    stream.result = beInitStream(static_cast<PBE_CONFIG>(const_cast<void*>(record)), &stream.samples,
                                 &stream.bufferBytes, &stream.handle);
    ASSERT_NE(stream.handle, 0u);
    lame_t context = blade::Streams().Find(stream.handle);
    ASSERT_NE(context, nullptr);
    check(stream, context);
    EXPECT_EQ(beCloseStream(stream.handle), BE_ERR_SUCCESSFUL);
    if (blade::Streams().Find(stream.handle)) // parked for its VBR header: release it directly
        beWriteInfoTag(stream.handle, nullptr);
}

template <typename Check> void WithStream(const BE_CONFIG& config, Check check) {
    WithRecord(&config, check);
}

TEST(InitStream, ChunkAndBufferSizesFollowTheMpegVersionAndChannels) {
    struct Case {
        uint32_t rate;
        uint32_t bitrate;
        int32_t mode;
        uint32_t samples;
        uint32_t bufferBytes;
    };
    const Case cases[] = {
        {44100, 128, BE_MP3_MODE_JSTEREO, 2304, 8640}, // MPEG-1 stereo
        {44100, 128, BE_MP3_MODE_MONO, 1152, 8640},    // MPEG-1 mono
        {24000, 56, BE_MP3_MODE_JSTEREO, 1152, 7920},  // MPEG-2 stereo
        {22050, 32, BE_MP3_MODE_MONO, 576, 7920},      // MPEG-2 mono
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rate << " Hz, mode " << c.mode);
        WithStream(Lhv1Config(c.bitrate, c.rate, LQP_CBR, c.mode),
                   [&](const quortest::OpenStream& s, lame_t) {
                       EXPECT_EQ(s.result, BE_ERR_SUCCESSFUL);
                       EXPECT_EQ(s.samples, c.samples);
                       EXPECT_EQ(s.bufferBytes, c.bufferBytes);
                   });
    }
}

TEST(InitStream, UnknownChannelModeIsRefusedOnlyWhereThePresetLeavesTheModeToTheCaller) {
    const quortest::OpenStream refused = Init(Lhv1Config(128, 44100, LQP_NORMAL_QUALITY, 7));
    EXPECT_EQ(refused.result, BE_ERR_INVALID_FORMAT_PARAMETERS);
    // The stream exists anyway and is the caller's to close.
    ASSERT_NE(refused.handle, 0u);
    EXPECT_NE(blade::Streams().Find(refused.handle), nullptr);
    EXPECT_EQ(beCloseStream(refused.handle), BE_ERR_SUCCESSFUL);
    EXPECT_EQ(blade::Streams().Find(refused.handle), nullptr);

    WithStream(Lhv1Config(128, 44100, LQP_STANDARD, 7), [](const quortest::OpenStream& s, lame_t context) {
        EXPECT_EQ(s.result, BE_ERR_SUCCESSFUL);
        EXPECT_EQ(lame_get_num_channels(context), 2);
    });
}

TEST(InitStream, ChannelModesReachTheEncoder) {
    WithStream(Lhv1Config(128, 44100, LQP_NORMAL_QUALITY, BE_MP3_MODE_STEREO), [](auto&, lame_t context) {
        EXPECT_EQ(lame_get_mode(context), STEREO);
        EXPECT_EQ(lame_get_num_channels(context), 2);
    });
    // Dual channel is plain stereo to LAME (it drops forced mid/side outside joint stereo).
    WithStream(Lhv1Config(128, 44100, LQP_NORMAL_QUALITY, BE_MP3_MODE_DUALCHANNEL),
               [](auto&, lame_t context) {
                   EXPECT_EQ(lame_get_mode(context), STEREO);
                   EXPECT_EQ(lame_get_num_channels(context), 2);
               });
    WithStream(Lhv1Config(128, 44100, LQP_NORMAL_QUALITY, BE_MP3_MODE_JSTEREO),
               [](auto&, lame_t context) { EXPECT_EQ(lame_get_mode(context), JOINT_STEREO); });
    // A preset that picks its own mode cannot undo mono.
    WithStream(Lhv1Config(128, 44100, LQP_CD, BE_MP3_MODE_MONO), [](auto&, lame_t context) {
        EXPECT_EQ(lame_get_mode(context), MONO);
        EXPECT_EQ(lame_get_num_channels(context), 1);
    });
}

TEST(InitStream, PresetCodesSelectLamePresets) {
    // Voice quality and the named low-bitrate presets are mono ABR at a fixed rate. (A bitrate field
    // would also become the VBR minimum and raise the mean.)
    WithStream(Lhv1Config(0, 44100, LQP_VOICE_QUALITY), [](auto& s, lame_t context) {
        EXPECT_EQ(s.result, BE_ERR_SUCCESSFUL);
        EXPECT_EQ(lame_get_mode(context), MONO);
        EXPECT_EQ(lame_get_VBR(context), vbr_abr);
        EXPECT_EQ(lame_get_VBR_mean_bitrate_kbps(context), 56);
    });
    BE_CONFIG phone = Lhv1Config(0, 44100, LQP_PHONE);
    phone.format.LHV1.dwReSampleRate = 0; // LAME picks a rate where 16 kbps exists
    WithStream(phone, [](auto&, lame_t context) {
        EXPECT_EQ(lame_get_mode(context), MONO);
        EXPECT_EQ(lame_get_VBR_mean_bitrate_kbps(context), 16);
    });
    WithStream(Lhv1Config(0, 44100, LQP_STUDIO), [](auto&, lame_t context) {
        EXPECT_EQ(lame_get_VBR(context), vbr_abr);
        EXPECT_EQ(lame_get_VBR_mean_bitrate_kbps(context), 256);
    });
    // The CBR preset: constant bitrate at the bitrate field.
    WithStream(Lhv1Config(192, 44100, LQP_CBR), [](auto&, lame_t context) {
        EXPECT_EQ(lame_get_VBR(context), vbr_off);
        EXPECT_EQ(lame_get_brate(context), 192);
    });
    // The quality codes set only the algorithm quality.
    WithStream(Lhv1Config(128, 44100, LQP_LOW_QUALITY), [](auto&, lame_t context) {
        EXPECT_EQ(lame_get_quality(context), 9);
        EXPECT_EQ(lame_get_VBR(context), vbr_off);
    });
}

TEST(InitStream, NamedPresetsReachLame) {
    struct Case {
        int32_t code;
        vbr_mode mode;
        int vbrQuality; // for VBR modes
        int kbps;       // ABR mean or CBR bitrate
    };
    // The named VBR presets are LAME's -V levels; insane is CBR 320; the radio ones are ABR.
    const Case cases[] = {
        {LQP_STANDARD, vbr_mtrh, 2, 0}, {LQP_FAST_STANDARD, vbr_mtrh, 2, 0},
        {LQP_EXTREME, vbr_mtrh, 0, 0},  {LQP_FAST_EXTREME, vbr_mtrh, 0, 0},
        {LQP_MEDIUM, vbr_mtrh, 4, 0},   {LQP_FAST_MEDIUM, vbr_mtrh, 4, 0},
        {LQP_INSANE, vbr_off, 0, 320},  {LQP_FM, vbr_abr, 0, 112},
        {LQP_RADIO, vbr_abr, 0, 112},   {LQP_TAPE, vbr_abr, 0, 112},
        {LQP_HIFI, vbr_abr, 0, 160},    {LQP_CD, vbr_abr, 0, 192},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "preset " << c.code);
        WithStream(Lhv1Config(0, 44100, c.code), [&](const quortest::OpenStream& s, lame_t context) {
            EXPECT_EQ(s.result, BE_ERR_SUCCESSFUL);
            EXPECT_EQ(lame_get_VBR(context), c.mode);
            if (c.mode == vbr_mtrh) {
                EXPECT_EQ(lame_get_VBR_q(context), c.vbrQuality);
            } else if (c.mode == vbr_abr) {
                EXPECT_EQ(lame_get_VBR_mean_bitrate_kbps(context), c.kbps);
            } else {
                EXPECT_EQ(lame_get_brate(context), c.kbps);
            }
        });
    }
    // The quality codes.
    for (const auto& [code, quality] : {std::pair{LQP_HIGH_QUALITY, 2}, std::pair{LQP_VERYHIGH_QUALITY, 0}}) {
        WithStream(Lhv1Config(128, 44100, code),
                   [&](auto&, lame_t context) { EXPECT_EQ(lame_get_quality(context), quality); });
    }
}

TEST(InitStream, AbrRatesAreClampedTo8To320Kbps) {
    // 8 kbps exists only at 8000 Hz: there LAME keeps the clamped rate as it is.
    struct Case {
        int32_t preset;
        uint32_t bps;
        uint32_t rate;
        int kbps;
    };
    const Case cases[] = {
        {LQP_ABR, 400000, 44100, 320},
        {LQP_ABR, 5000, 8000, 8},                 // through the ABR preset
        {LQP_NORMAL_QUALITY, 128500, 44100, 129}, // rounded to the nearest kbps
        {LQP_NORMAL_QUALITY, 400000, 44100, 320},
        {LQP_NORMAL_QUALITY, 3000, 8000, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "preset " << c.preset << ", " << c.bps << " bps");
        BE_CONFIG config = Lhv1Config(128, c.rate, c.preset);
        config.format.LHV1.dwVbrAbr_bps = c.bps;
        config.format.LHV1.dwBitrate = 0;
        WithStream(config, [&](const quortest::OpenStream& s, lame_t context) {
            EXPECT_EQ(s.result, BE_ERR_SUCCESSFUL);
            EXPECT_EQ(lame_get_VBR(context), vbr_abr);
            EXPECT_EQ(lame_get_VBR_mean_bitrate_kbps(context), c.kbps);
        });
    }
}

TEST(InitStream, QualityWordNeedsItsComplementInTheHighByte) {
    auto qualityOf = [](uint16_t word) {
        BE_CONFIG config = Lhv1Config(128, 44100, LQP_NORMAL_QUALITY);
        config.format.LHV1.nQuality = word;
        int quality = -1;
        WithStream(config, [&](auto&, lame_t context) { quality = lame_get_quality(context); });
        return quality;
    };
    const int defaultQuality = qualityOf(0x0000);
    EXPECT_EQ(qualityOf(0xFD02), 2);
    EXPECT_EQ(qualityOf(0xF609), 9);
    EXPECT_NE(defaultQuality, 2);
    EXPECT_EQ(qualityOf(0x0202), defaultQuality);
}

TEST(InitStream, VbrMethodCodesSelectVbrModes) {
    struct Case {
        int32_t method;
        vbr_mode mode;
    };
    // Method 7 makes no call: LAME's default (off) stays.
    const Case cases[] = {{VBR_METHOD_NONE, vbr_off},
                          {VBR_METHOD_DEFAULT, vbr_mtrh},
                          {VBR_METHOD_OLD, vbr_rh},
                          {VBR_METHOD_NEW, vbr_mtrh},
                          {VBR_METHOD_MTRH, vbr_mtrh},
                          {VBR_METHOD_ABR, vbr_abr},
                          {7, vbr_off}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "method " << c.method);
        BE_CONFIG config = Lhv1Config(128, 44100, LQP_NORMAL_QUALITY);
        config.format.LHV1.bEnableVBR = 1;
        config.format.LHV1.nVBRQuality = 4;
        config.format.LHV1.nVbrMethod = c.method;
        WithStream(config, [&](auto&, lame_t context) { EXPECT_EQ(lame_get_VBR(context), c.mode); });
    }
}

TEST(InitStream, FlagsReachTheEncoder) {
    BE_CONFIG config = Lhv1Config(128, 44100, LQP_CBR);
    config.format.LHV1.bCRC = 1;
    config.format.LHV1.bStrictIso = 1;
    config.format.LHV1.dwMaxBitrate = 256;
    WithStream(config, [](auto&, lame_t context) {
        EXPECT_EQ(lame_get_extension(context), 1);
        EXPECT_EQ(lame_get_copyright(context), 1);
        EXPECT_EQ(lame_get_original(context), 1);
        EXPECT_EQ(lame_get_error_protection(context), 1);
        EXPECT_EQ(lame_get_strict_ISO(context), 1);
        EXPECT_EQ(lame_get_disable_reservoir(context), 1);
        EXPECT_EQ(lame_get_bWriteVbrTag(context), 0);
        EXPECT_EQ(lame_get_VBR_max_bitrate_kbps(context), 256);
    });
}

// The MP3 layout, filled byte by byte at its offsets into a buffer of exactly its 27 bytes.
std::unique_ptr<uint8_t[]> Mp3Layout(uint32_t rate, uint8_t mode, uint16_t bitrate, uint32_t packed) {
    auto bytes = std::make_unique<uint8_t[]>(27);
    const uint32_t selector = BE_CONFIG_MP3, yes = 1;
    std::memcpy(&bytes[0], &selector, 4);
    std::memcpy(&bytes[4], &rate, 4);
    bytes[8] = mode;
    std::memcpy(&bytes[9], &bitrate, 2);
    std::memcpy(&bytes[11], &yes, 4);
    std::memcpy(&bytes[15], &packed, 4);
    std::memcpy(&bytes[19], &yes, 4);
    std::memcpy(&bytes[23], &yes, 4);
    return bytes;
}

TEST(InitStream, Mp3LayoutPackedWordCarriesCrcPresetAndVbr) {
    auto vbr = Mp3Layout(44100, 0xF1, 128, 0x3001); // high bits of the mode byte are ignored
    WithRecord(vbr.get(), [](const quortest::OpenStream& s, lame_t context) {
        EXPECT_EQ(s.result, BE_ERR_SUCCESSFUL);
        EXPECT_EQ(s.samples, 2304u);
        EXPECT_EQ(lame_get_VBR(context), vbr_mtrh);
        EXPECT_EQ(lame_get_VBR_q(context), 2);
        EXPECT_EQ(lame_get_bWriteVbrTag(context), 1);
        EXPECT_EQ(lame_get_error_protection(context), 1);
        EXPECT_EQ(lame_get_mode(context), JOINT_STEREO);
        EXPECT_EQ(lame_get_copyright(context), 1);
    });

    auto cbr = Mp3Layout(44100, BE_MP3_MODE_MONO, 96, 0x0000);
    WithRecord(cbr.get(), [](const quortest::OpenStream& s, lame_t context) {
        EXPECT_EQ(s.result, BE_ERR_SUCCESSFUL);
        EXPECT_EQ(lame_get_VBR(context), vbr_off);
        EXPECT_EQ(lame_get_brate(context), 96);
        EXPECT_EQ(lame_get_num_channels(context), 1);
        EXPECT_EQ(lame_get_error_protection(context), 0);
        EXPECT_EQ(lame_get_bWriteVbrTag(context), 0);
    });
}

TEST(InitStream, Lhv1StructureSizeLimitsWhatIsRead) {
    // A size above the record is cut to the record (ASan sees any read past the 331 bytes).
    auto huge = std::make_unique<BE_CONFIG>(Lhv1Config(160, 44100));
    huge->format.LHV1.dwStructSize = 100000;
    WithStream(*huge, [](auto& s, lame_t context) {
        EXPECT_EQ(s.result, BE_ERR_SUCCESSFUL);
        EXPECT_EQ(lame_get_brate(context), 160);
    });

    // A shorter record from an older caller: only its own bytes are read; the rest counts as 0.
    const BE_CONFIG full = Lhv1Config(160, 44100);
    const size_t shortSize = offsetof(BE_CONFIG, format.LHV1.bPrivate);
    auto shortRecord = std::make_unique<uint8_t[]>(shortSize);
    std::memcpy(shortRecord.get(), &full, shortSize);
    const uint32_t sizeField = shortSize;
    std::memcpy(&shortRecord[offsetof(BE_CONFIG, format.LHV1.dwStructSize)], &sizeField, 4);
    WithRecord(shortRecord.get(), [](const quortest::OpenStream& s, lame_t context) {
        EXPECT_EQ(s.result, BE_ERR_SUCCESSFUL);
        EXPECT_EQ(lame_get_brate(context), 160);
        EXPECT_EQ(lame_get_copyright(context), 0);
        EXPECT_EQ(lame_get_extension(context), 0);
        EXPECT_EQ(lame_get_disable_reservoir(context), 0);
    });
}

TEST(InitStream, MonoChunkOfStereoSizeEncodesOneFrame) {
    // 2304 samples to a mono stream count as 1152; any other count is taken as it is.
    struct Case {
        uint32_t count;
        uint32_t encoded;
    };
    const int chunks = 40;
    for (const Case c : {Case{2304, 1152}, Case{1152, 1152}, Case{2000, 2000}}) {
        SCOPED_TRACE(testing::Message() << "count " << c.count);
        const quortest::OpenStream stream = Init(Lhv1Config(64, 44100, LQP_CBR, BE_MP3_MODE_MONO));
        ASSERT_EQ(stream.result, BE_ERR_SUCCESSFUL);
        const std::vector<int16_t> tone = quortest::MonoTone(44100, double(chunks) * c.count / 44100, 1000);
        const std::string mp3 = quortest::EncodeAll(stream, tone, c.count);
        EXPECT_EQ(beCloseStream(stream.handle), BE_ERR_SUCCESSFUL);

        quortest::TempDir dir("enc");
        quortest::WriteFile(dir / "mono.mp3", mp3);
        const quortest::DecodedMp3 decoded = quortest::DecodeMp3(dir / "mono.mp3");
        ASSERT_TRUE(decoded.ok);
        EXPECT_EQ(decoded.channels, 1);
        const size_t input = size_t{c.encoded} * chunks, delay = 576 + 529;
        EXPECT_GE(decoded.frames, input + delay);
        EXPECT_LT(decoded.frames, input + delay + 1152);
    }
}

TEST(StreamHandles, UnknownAndReleasedHandlesAreRefused) {
    std::vector<uint8_t> output(8640);
    const int16_t pcm[4] = {};
    uint32_t written = 77;
    EXPECT_EQ(beEncodeChunk(0, 4, pcm, output.data(), &written), BE_ERR_INVALID_HANDLE);
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(beEncodeChunk(0xDEADBEEF, 4, pcm, output.data(), &written), BE_ERR_INVALID_HANDLE);
    EXPECT_EQ(beDeinitStream(0x00010005, output.data(), &written), BE_ERR_INVALID_HANDLE);
    EXPECT_EQ(beFlushNoGap(0x00010005, output.data(), &written), BE_ERR_INVALID_HANDLE);
    EXPECT_EQ(beCloseStream(12345), BE_ERR_INVALID_HANDLE);

    // A released handle stays unknown when its slot is handed out again.
    const quortest::OpenStream first = Init(Lhv1Config(128, 44100));
    ASSERT_EQ(beCloseStream(first.handle), BE_ERR_SUCCESSFUL);
    const quortest::OpenStream second = Init(Lhv1Config(128, 44100));
    EXPECT_NE(second.handle, first.handle);
    EXPECT_EQ(beEncodeChunk(first.handle, 4, pcm, output.data(), &written), BE_ERR_INVALID_HANDLE);
    EXPECT_EQ(beCloseStream(first.handle), BE_ERR_INVALID_HANDLE);
    EXPECT_EQ(beEncodeChunk(second.handle, 4, pcm, output.data(), &written), BE_ERR_SUCCESSFUL);
    EXPECT_EQ(beCloseStream(second.handle), BE_ERR_SUCCESSFUL);
}

TEST(StreamHandles, NullArgumentsAreRefused) {
    BE_CONFIG config = Lhv1Config(128, 44100);
    uint32_t samples = 0, bufferBytes = 0;
    HBE_STREAM handle = 0;
    EXPECT_EQ(beInitStream(nullptr, &samples, &bufferBytes, &handle), BE_ERR_INVALID_FORMAT_PARAMETERS);
    EXPECT_EQ(beInitStream(&config, &samples, &bufferBytes, nullptr), BE_ERR_INVALID_FORMAT_PARAMETERS);
    EXPECT_EQ(handle, 0u);
}

} // namespace
