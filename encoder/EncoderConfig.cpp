// The order of LAME's setters matters: presets overwrite earlier settings, so the channel mode,
// the bitrate limits and the switches come after them.
#include "encoder/EncoderConfig.h"

#include <algorithm>
#include <cstring>

namespace blade {
namespace {

BE_CONFIG FromMp3Layout(const BE_CONFIG& caller) {
    BE_CONFIG local{};
    auto& out = local.format.LHV1;
    const auto& in = caller.format.mp3;
    local.dwConfig = BE_CONFIG_LAME;
    out.dwStructVersion = 1;
    out.dwStructSize = sizeof(BE_CONFIG);
    out.dwSampleRate = in.dwSampleRate;
    out.nMode = in.byMode & 0x0F;
    out.dwBitrate = in.wBitrate;
    out.bPrivate = in.bPrivate;
    out.bCopyright = in.bCopyright;
    out.bOriginal = in.bOriginal;
    const uint32_t packed = in.bCRC;
    out.bCRC = packed & 1;
    out.nPreset = static_cast<int32_t>((packed >> 8) & 0x0F);
    const int32_t vbr = static_cast<int32_t>((packed >> 12) & 0x0F);
    if (vbr > 0) {
        out.bWriteVBRHeader = 1;
        out.bEnableVBR = 1;
        out.nVBRQuality = vbr - 1;
    }
    return local;
}

void SetChannels(lame_t context, MPEG_mode mode, int channels) {
    lame_set_mode(context, mode);
    lame_set_num_channels(context, channels);
}

// The VBR method codes and the LAME mode each selects; false where no call is made.
bool VbrModeOf(int32_t method, vbr_mode* mode) {
    switch (method) {
    case VBR_METHOD_NONE:
        *mode = vbr_off;
        return true;
    case VBR_METHOD_DEFAULT:
    case VBR_METHOD_NEW:
    case VBR_METHOD_MTRH:
        *mode = vbr_mtrh;
        return true;
    case VBR_METHOD_OLD:
        *mode = vbr_rh;
        return true;
    case VBR_METHOD_ABR:
        *mode = vbr_abr;
        return true;
    default:
        return false;
    }
}

// Channel mode, VBR and bitrate for the presets that leave them to the caller (codes below 6).
BE_ERR ApplyCallerChoices(lame_t context, const BE_CONFIG& config) {
    const auto& c = config.format.LHV1;
    switch (c.nMode) {
    case BE_MP3_MODE_STEREO:
        SetChannels(context, STEREO, 2);
        break;
    case BE_MP3_MODE_JSTEREO:
        SetChannels(context, JOINT_STEREO, 2);
        break;
    case BE_MP3_MODE_DUALCHANNEL:
        lame_set_force_ms(context, 1);
        SetChannels(context, STEREO, 2);
        break;
    case BE_MP3_MODE_MONO:
        SetChannels(context, MONO, 1);
        break;
    default:
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    }
    if (c.bEnableVBR) {
        lame_set_VBR_q(context, c.nVBRQuality);
        vbr_mode mode;
        if (VbrModeOf(c.nVbrMethod, &mode))
            lame_set_VBR(context, mode);
    } else {
        lame_set_VBR(context, vbr_off);
    }
    lame_set_brate(context, static_cast<int>(c.dwBitrate));
    if (c.dwVbrAbr_bps > 0) {
        lame_set_VBR(context, vbr_abr);
        lame_set_VBR_mean_bitrate_kbps(context, static_cast<int>((c.dwVbrAbr_bps + 500) / 1000));
        if (lame_get_VBR_mean_bitrate_kbps(context) > 320)
            lame_set_VBR_mean_bitrate_kbps(context, 320);
        if (lame_get_VBR_mean_bitrate_kbps(context) < 8)
            lame_set_VBR_mean_bitrate_kbps(context, 8);
    }
    return BE_ERR_SUCCESSFUL;
}

// What each preset code sets: mono first where it says so, then LAME's preset or the algorithm
// quality (-1 = not set). Codes not listed (no preset, normal quality, ABR and CBR) set nothing
// here; ABR and CBR were applied before the caller's choices.
struct PresetEffect {
    int32_t code;
    bool mono;
    int preset;
    int quality;
};
constexpr PresetEffect kPresetEffects[] = {
    {LQP_LOW_QUALITY, false, -1, 9},
    {LQP_HIGH_QUALITY, false, -1, 2},
    {LQP_VOICE_QUALITY, true, 56, -1},
    {LQP_R3MIX, false, R3MIX, -1},
    {LQP_VERYHIGH_QUALITY, false, -1, 0},
    {LQP_STANDARD, false, STANDARD, -1},
    {LQP_FAST_STANDARD, false, STANDARD_FAST, -1},
    {LQP_EXTREME, false, EXTREME, -1},
    {LQP_FAST_EXTREME, false, EXTREME_FAST, -1},
    {LQP_INSANE, false, INSANE, -1},
    {LQP_MEDIUM, false, MEDIUM, -1},
    {LQP_FAST_MEDIUM, false, MEDIUM_FAST, -1},
    {LQP_PHONE, true, 16, -1},
    {LQP_SW, true, 24, -1},
    {LQP_AM, true, 40, -1},
    {LQP_FM, false, 112, -1},
    {LQP_VOICE, true, 56, -1},
    {LQP_RADIO, false, 112, -1},
    {LQP_TAPE, false, 112, -1},
    {LQP_HIFI, false, 160, -1},
    {LQP_CD, false, 192, -1},
    {LQP_STUDIO, false, 256, -1},
};

void ApplyPresetCode(lame_t context, int32_t code) {
    for (const PresetEffect& effect : kPresetEffects) {
        if (effect.code != code)
            continue;
        if (effect.mono)
            lame_set_mode(context, MONO);
        if (effect.preset >= 0)
            lame_set_preset(context, effect.preset);
        if (effect.quality >= 0)
            lame_set_quality(context, effect.quality);
        return;
    }
}

} // namespace

BE_CONFIG ToLhv1(const BE_CONFIG* caller) {
    if (caller->dwConfig != BE_CONFIG_LAME)
        return FromMp3Layout(*caller);
    // The caller's record may be shorter than ours (take only its own bytes) or claim to be longer
    // (never copy past our 331 bytes).
    BE_CONFIG local{};
    const size_t size = std::min<size_t>(caller->format.LHV1.dwStructSize, sizeof(BE_CONFIG));
    std::memcpy(&local, caller, size);
    return local;
}

BE_ERR Configure(lame_t context, const BE_CONFIG& config) {
    const auto& c = config.format.LHV1;
    lame_set_in_samplerate(context, static_cast<int>(c.dwSampleRate));
    lame_set_bWriteVbrTag(context, 0);

    if (c.nPreset == LQP_ABR) {
        const int kbps = std::clamp(static_cast<int>(c.dwVbrAbr_bps / 1000), 8, 320);
        lame_set_preset(context, kbps);
    }
    if (c.nPreset == LQP_CBR) {
        lame_set_preset(context, static_cast<int>(c.dwBitrate));
        lame_set_VBR(context, vbr_off);
    }
    if (c.nPreset < LQP_STANDARD) {
        const BE_ERR result = ApplyCallerChoices(context, config);
        if (result != BE_ERR_SUCCESSFUL)
            return result;
    }
    if (c.nPreset != LQP_NOPRESET)
        ApplyPresetCode(context, c.nPreset);

    if (c.dwReSampleRate > 0)
        lame_set_out_samplerate(context, static_cast<int>(c.dwReSampleRate));
    if (c.nMode == BE_MP3_MODE_MONO) // mono holds whatever a preset chose
        SetChannels(context, MONO, 1);

    lame_set_strict_ISO(context, c.bStrictIso != 0);
    if (c.bCopyright)
        lame_set_copyright(context, 1);
    lame_set_original(context, c.bOriginal != 0);
    lame_set_error_protection(context, c.bCRC != 0);
    lame_set_extension(context, c.bPrivate != 0);

    if (c.dwBitrate > 0)
        lame_set_VBR_min_bitrate_kbps(context, static_cast<int>(c.dwBitrate));
    if (c.dwMaxBitrate > 0)
        lame_set_VBR_max_bitrate_kbps(context, static_cast<int>(c.dwMaxBitrate));
    if (c.bNoRes)
        lame_set_disable_reservoir(context, 1);
    lame_set_bWriteVbrTag(context, c.bWriteVBRHeader != 0);

    const unsigned low = c.nQuality & 0xFF;
    const unsigned high = (c.nQuality >> 8) & 0xFF;
    if (high == 255 - low)
        lame_set_quality(context, static_cast<int>(low));

    const int refused = lame_init_params(context);
    if (refused != 0)
        return static_cast<BE_ERR>(refused);
    return BE_ERR_SUCCESSFUL;
}

ChunkSizes ChunkSizesOf(lame_t context) {
    const uint32_t channels = static_cast<uint32_t>(lame_get_num_channels(context));
    // MPEG-1 frames hold 1152 samples per channel, MPEG-2 frames 576. MPEG-2.5 (version 2) is
    // given the MPEG-1 size, which the encoder buffers as two frames; callers rely on these sizes.
    const uint32_t perChannel = lame_get_version(context) != 0 ? 1152 : 576;
    ChunkSizes sizes;
    sizes.samples = channels * perChannel;
    sizes.bufferBytes = static_cast<uint32_t>(perChannel * 1.25 + 7200);
    return sizes;
}

} // namespace blade
