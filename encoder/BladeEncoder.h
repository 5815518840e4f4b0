/* The Blade-style MP3 encoder interface over LAME: records, result codes and the nine functions.
 *
 * A caller describes the stream in one BE_CONFIG, gets a handle, the number of samples to pass per
 * chunk and the output buffer size to provide, feeds PCM chunks, flushes, closes, and may patch the
 * VBR/Info header frame into the finished file. Plain C, byte-packed records, 32-bit types only,
 * so callers written for the classic interface keep working on 64-bit systems.
 *
 * Threads: the module takes care of its own handle table; one stream is used by one thread at a
 * time (the caller serialises the calls on a stream).
 */
#ifndef QUOR_BLADE_ENCODER_H
#define QUOR_BLADE_ENCODER_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define BE_EXPORT __attribute__((visibility("default")))
#else
#define BE_EXPORT
#endif

/* A stream handle: a small number that the module maps to its encoder context; 0 is "no stream". */
typedef uint32_t HBE_STREAM;
typedef uint32_t BE_ERR;

/* Result codes. Any other non-zero value is LAME's parameter initialisation refusing the settings,
 * passed through unchanged. */
#define BE_ERR_SUCCESSFUL 0x00000000u
#define BE_ERR_INVALID_FORMAT_PARAMETERS 0x00000002u
#define BE_ERR_NO_MORE_HANDLES 0x00000003u
#define BE_ERR_INVALID_HANDLE 0x00000004u
#define BE_ERR_BUFFER_TOO_SMALL 0x00000005u

/* Format selector, the first word of BE_CONFIG. */
#define BE_CONFIG_MP3 0u
#define BE_CONFIG_LAME 256u

/* Channel modes. */
#define BE_MP3_MODE_STEREO 0
#define BE_MP3_MODE_JSTEREO 1
#define BE_MP3_MODE_DUALCHANNEL 2
#define BE_MP3_MODE_MONO 3

/* Preset codes (LHV1 nPreset, or bits 8 to 11 of the MP3 layout's packed word). */
typedef enum {
    LQP_NOPRESET = -1,
    LQP_NORMAL_QUALITY = 0,
    LQP_LOW_QUALITY = 1,
    LQP_HIGH_QUALITY = 2,
    LQP_VOICE_QUALITY = 3,
    LQP_R3MIX = 4,
    LQP_VERYHIGH_QUALITY = 5,
    LQP_STANDARD = 6,
    LQP_FAST_STANDARD = 7,
    LQP_EXTREME = 8,
    LQP_FAST_EXTREME = 9,
    LQP_INSANE = 10,
    LQP_ABR = 11,
    LQP_CBR = 12,
    LQP_MEDIUM = 13,
    LQP_FAST_MEDIUM = 14,
    LQP_PHONE = 1000,
    LQP_SW = 2000,
    LQP_AM = 3000,
    LQP_FM = 4000,
    LQP_VOICE = 5000,
    LQP_RADIO = 6000,
    LQP_TAPE = 7000,
    LQP_HIFI = 8000,
    LQP_CD = 9000,
    LQP_STUDIO = 10000
} LAME_QUALITY_PRESET;

/* VBR methods (LHV1 nVbrMethod). */
typedef enum {
    VBR_METHOD_NONE = -1,
    VBR_METHOD_DEFAULT = 0,
    VBR_METHOD_OLD = 1,
    VBR_METHOD_NEW = 2,
    VBR_METHOD_MTRH = 3,
    VBR_METHOD_ABR = 4
} VBRMETHOD;

#pragma pack(push, 1)

typedef struct {
    uint32_t dwConfig; /* BE_CONFIG_LAME selects the LHV1 layout, anything else the MP3 layout */
    union {
        /* Only these 27 bytes (with dwConfig) are read. */
        struct {
            uint32_t dwSampleRate;
            uint8_t byMode; /* low 4 bits: channel mode */
            uint16_t wBitrate;
            int32_t bPrivate;
            /* Packed: bit 0 CRC; bits 8-11 preset code; bits 12-15 VBR code v (v > 0: VBR at
             * quality v - 1, with the VBR header). */
            uint32_t bCRC;
            int32_t bCopyright;
            int32_t bOriginal;
        } mp3;

        struct {
            uint32_t dwStructVersion; /* 1 */
            uint32_t dwStructSize;    /* sizeof(BE_CONFIG); bytes taken from the caller's record */
            uint32_t dwSampleRate;
            uint32_t dwReSampleRate; /* 0 = no resampling */
            int32_t nMode;
            uint32_t dwBitrate;    /* kbps: the constant bitrate, also the VBR minimum */
            uint32_t dwMaxBitrate; /* kbps, 0 = not set */
            int32_t nPreset;       /* LAME_QUALITY_PRESET */
            uint32_t dwMpegVersion;
            uint32_t dwPsyModel;
            uint32_t dwEmphasis;
            int32_t bPrivate;
            int32_t bCRC;
            int32_t bCopyright;
            int32_t bOriginal;
            int32_t bWriteVBRHeader;
            int32_t bEnableVBR;
            int32_t nVBRQuality;   /* 0 (best) to 9 */
            uint32_t dwVbrAbr_bps; /* ABR mean bitrate in bits per second, 0 = no ABR */
            int32_t nVbrMethod;    /* VBRMETHOD */
            int32_t bNoRes;        /* do not use the bit reservoir */
            int32_t bStrictIso;
            uint16_t nQuality; /* low byte quality 0-9, high byte its complement, else ignored */
            uint8_t btReserved[237];
        } LHV1;
    } format;
} BE_CONFIG, *PBE_CONFIG;

typedef struct {
    uint8_t byDLLMajorVersion; /* interface version 1.32 */
    uint8_t byDLLMinorVersion;
    uint8_t byMajorVersion; /* LAME's version */
    uint8_t byMinorVersion;
    uint8_t byDay; /* build date */
    uint8_t byMonth;
    uint16_t wYear;
    char zHomepage[129];
    uint8_t byAlphaLevel;
    uint8_t byBetaLevel;
    uint8_t byMMXEnabled;
    uint8_t btReserved[125];
} BE_VERSION, *PBE_VERSION;

#pragma pack(pop)

#ifdef __cplusplus
#define BE_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
#else
#define BE_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#endif

BE_STATIC_ASSERT(sizeof(BE_CONFIG) == 331, "BE_CONFIG is 331 bytes");
BE_STATIC_ASSERT(sizeof(BE_VERSION) == 265, "BE_VERSION is 265 bytes");
BE_STATIC_ASSERT(offsetof(BE_CONFIG, format.mp3.dwSampleRate) == 4, "MP3 layout");
BE_STATIC_ASSERT(offsetof(BE_CONFIG, format.mp3.byMode) == 8, "MP3 layout");
BE_STATIC_ASSERT(offsetof(BE_CONFIG, format.mp3.wBitrate) == 9, "MP3 layout");
BE_STATIC_ASSERT(offsetof(BE_CONFIG, format.mp3.bPrivate) == 11, "MP3 layout");
BE_STATIC_ASSERT(offsetof(BE_CONFIG, format.mp3.bCRC) == 15, "MP3 layout");
BE_STATIC_ASSERT(offsetof(BE_CONFIG, format.mp3.bCopyright) == 19, "MP3 layout");
BE_STATIC_ASSERT(offsetof(BE_CONFIG, format.mp3.bOriginal) == 23, "MP3 layout");
BE_STATIC_ASSERT(offsetof(BE_CONFIG, format.mp3.bOriginal) + 4 == 27, "MP3 layout reads 27 bytes");
BE_STATIC_ASSERT(offsetof(BE_CONFIG, format.LHV1.dwStructSize) == 8, "LHV1 layout");
BE_STATIC_ASSERT(offsetof(BE_CONFIG, format.LHV1.dwSampleRate) == 12, "LHV1 layout");
BE_STATIC_ASSERT(offsetof(BE_CONFIG, format.LHV1.nMode) == 20, "LHV1 layout");
BE_STATIC_ASSERT(offsetof(BE_CONFIG, format.LHV1.nPreset) == 32, "LHV1 layout");
BE_STATIC_ASSERT(offsetof(BE_CONFIG, format.LHV1.bPrivate) == 48, "LHV1 layout");
BE_STATIC_ASSERT(offsetof(BE_CONFIG, format.LHV1.bWriteVBRHeader) == 64, "LHV1 layout");
BE_STATIC_ASSERT(offsetof(BE_CONFIG, format.LHV1.dwVbrAbr_bps) == 76, "LHV1 layout");
BE_STATIC_ASSERT(offsetof(BE_CONFIG, format.LHV1.nVbrMethod) == 80, "LHV1 layout");
BE_STATIC_ASSERT(offsetof(BE_CONFIG, format.LHV1.bStrictIso) == 88, "LHV1 layout");
BE_STATIC_ASSERT(offsetof(BE_CONFIG, format.LHV1.nQuality) == 92, "LHV1 layout");
BE_STATIC_ASSERT(offsetof(BE_CONFIG, format.LHV1.btReserved) == 94, "LHV1 layout");
BE_STATIC_ASSERT(offsetof(BE_VERSION, wYear) == 6, "BE_VERSION layout");
BE_STATIC_ASSERT(offsetof(BE_VERSION, zHomepage) == 8, "BE_VERSION layout");
BE_STATIC_ASSERT(offsetof(BE_VERSION, byAlphaLevel) == 137, "BE_VERSION layout");
BE_STATIC_ASSERT(offsetof(BE_VERSION, btReserved) == 140, "BE_VERSION layout");

/* Opens a stream. *phbeStream receives the handle even when the call fails afterwards (the caller
 * then releases it with beCloseStream). dwSamples: samples (all channels) per beEncodeChunk;
 * dwBufferSize: the output buffer each call needs. */
BE_EXPORT BE_ERR beInitStream(PBE_CONFIG pbeConfig, uint32_t* dwSamples, uint32_t* dwBufferSize,
                              HBE_STREAM* phbeStream);
/* nSamples counts all channels; pSamples is interleaved 16-bit PCM when the stream is stereo. */
BE_EXPORT BE_ERR beEncodeChunk(HBE_STREAM hbeStream, uint32_t nSamples, const int16_t* pSamples,
                               uint8_t* pOutput, uint32_t* pdwOutput);
/* nSamples per channel; floats in the 16-bit integer range, one buffer per channel. */
BE_EXPORT BE_ERR beEncodeChunkFloatS16NI(HBE_STREAM hbeStream, uint32_t nSamples, const float* buffer_l,
                                         const float* buffer_r, uint8_t* pOutput, uint32_t* pdwOutput);
/* Flushes at the end of the stream; write its bytes after all others. */
BE_EXPORT BE_ERR beDeinitStream(HBE_STREAM hbeStream, uint8_t* pOutput, uint32_t* pdwOutput);
/* Flushes what is buffered without ending the stream, for gapless continuation. */
BE_EXPORT BE_ERR beFlushNoGap(HBE_STREAM hbeStream, uint8_t* pOutput, uint32_t* pdwOutput);
/* Releases the stream, or parks it for beWriteVBRHeader when it writes a VBR header. */
BE_EXPORT BE_ERR beCloseStream(HBE_STREAM hbeStream);
BE_EXPORT void beVersion(PBE_VERSION pbeVersion);
/* beWriteInfoTag on the stream parked by the last beCloseStream. */
BE_EXPORT BE_ERR beWriteVBRHeader(const char* lpszFileName);
/* Writes the VBR/Info header frame over the first audio frame of the finished file, then releases
 * the stream (in every case but stream 0). */
BE_EXPORT BE_ERR beWriteInfoTag(HBE_STREAM hbeStream, const char* lpszFileName);

#ifdef __cplusplus
}
#endif

#endif /* QUOR_BLADE_ENCODER_H */
