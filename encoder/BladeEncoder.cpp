// The nine exported functions. They reach each other only through functions of this module that
// are not exported, so a program exporting the same names never takes over a call made in here.
#include "encoder/BladeEncoder.h"
#include "encoder/BuildDate.h"
#include "encoder/EncoderConfig.h"
#include "encoder/InfoTag.h"
#include "encoder/StreamTable.h"

#include <cstdio>
#include <cstring>

namespace blade {
namespace {

constexpr int kNoGapFlushCapacity = 147456;

// A negative encoder result becomes BE_ERR_BUFFER_TOO_SMALL with no bytes.
BE_ERR EncodeResult(int bytes, uint32_t* pdwOutput) {
    if (bytes < 0) {
        *pdwOutput = 0;
        return BE_ERR_BUFFER_TOO_SMALL;
    }
    *pdwOutput = static_cast<uint32_t>(bytes);
    return BE_ERR_SUCCESSFUL;
}

// The context of a stream for a call that reports a byte count; null, with the result to return
// in *error, when the call cannot go on.
lame_t ContextForOutput(HBE_STREAM handle, uint32_t* pdwOutput, BE_ERR* error) {
    if (!pdwOutput) {
        *error = BE_ERR_INVALID_FORMAT_PARAMETERS;
        return nullptr;
    }
    *pdwOutput = 0;
    lame_t context = Streams().Find(handle);
    if (!context)
        *error = BE_ERR_INVALID_HANDLE;
    return context;
}

BE_ERR WriteInfoTag(HBE_STREAM handle, const char* fileName) {
    if (handle == 0)
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    lame_t context = Streams().Find(handle);
    if (!context)
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    BE_ERR result = BE_ERR_SUCCESSFUL;
    if (lame_get_bWriteVbrTag(context)) {
        std::FILE* file = fileName ? std::fopen(fileName, "rb+") : nullptr;
        if (!file) {
            result = BE_ERR_INVALID_FORMAT_PARAMETERS;
        } else {
            result = WriteInfoTagFrame(context, file);
            // A failed close may have lost the written frame.
            if (std::fclose(file) != 0)
                result = BE_ERR_INVALID_FORMAT_PARAMETERS;
        }
    }
    ReleaseStream(handle);
    return result;
}

} // namespace
} // namespace blade

using blade::Streams;

BE_ERR beInitStream(PBE_CONFIG pbeConfig, uint32_t* dwSamples, uint32_t* dwBufferSize,
                    HBE_STREAM* phbeStream) {
    if (!pbeConfig || !dwSamples || !dwBufferSize || !phbeStream)
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    // The handle goes out before any check, so a failing call still leaves the caller a stream.
    lame_t context = lame_init();
    *phbeStream = context ? Streams().Add(context) : 0;
    if (*phbeStream == 0) {
        if (context)
            lame_close(context);
        return BE_ERR_NO_MORE_HANDLES;
    }
    const BE_CONFIG config = blade::ToLhv1(pbeConfig);
    const BE_ERR result = blade::Configure(context, config);
    if (result != BE_ERR_SUCCESSFUL)
        return result;
    const blade::ChunkSizes sizes = blade::ChunkSizesOf(context);
    *dwSamples = sizes.samples;
    *dwBufferSize = sizes.bufferBytes;
    return BE_ERR_SUCCESSFUL;
}

BE_ERR beEncodeChunk(HBE_STREAM hbeStream, uint32_t nSamples, const int16_t* pSamples, uint8_t* pOutput,
                     uint32_t* pdwOutput) {
    BE_ERR error = BE_ERR_SUCCESSFUL;
    lame_t context = blade::ContextForOutput(hbeStream, pdwOutput, &error);
    if (!context)
        return error;
    const int channels = lame_get_num_channels(context);
    uint32_t frames = nSamples / static_cast<uint32_t>(channels);
    // A mono caller that counts a stereo-sized chunk still gets one frame's worth encoded.
    if (channels == 1 && nSamples == 2304)
        frames /= 2;
    // LAME does not write through its input; its signature predates const.
    short* pcm = const_cast<short*>(reinterpret_cast<const short*>(pSamples));
    const int bytes =
        channels == 1 ? lame_encode_buffer(context, pcm, pcm, static_cast<int>(frames), pOutput, 0)
                      : lame_encode_buffer_interleaved(context, pcm, static_cast<int>(frames), pOutput, 0);
    return blade::EncodeResult(bytes, pdwOutput);
}

BE_ERR beEncodeChunkFloatS16NI(HBE_STREAM hbeStream, uint32_t nSamples, const float* buffer_l,
                               const float* buffer_r, uint8_t* pOutput, uint32_t* pdwOutput) {
    BE_ERR error = BE_ERR_SUCCESSFUL;
    lame_t context = blade::ContextForOutput(hbeStream, pdwOutput, &error);
    if (!context)
        return error;
    const int bytes =
        lame_encode_buffer_float(context, buffer_l, buffer_r, static_cast<int>(nSamples), pOutput, 0);
    return blade::EncodeResult(bytes, pdwOutput);
}

BE_ERR beDeinitStream(HBE_STREAM hbeStream, uint8_t* pOutput, uint32_t* pdwOutput) {
    BE_ERR error = BE_ERR_SUCCESSFUL;
    lame_t context = blade::ContextForOutput(hbeStream, pdwOutput, &error);
    if (!context)
        return error;
    return blade::EncodeResult(lame_encode_flush(context, pOutput, 0), pdwOutput);
}

BE_ERR beFlushNoGap(HBE_STREAM hbeStream, uint8_t* pOutput, uint32_t* pdwOutput) {
    BE_ERR error = BE_ERR_SUCCESSFUL;
    lame_t context = blade::ContextForOutput(hbeStream, pdwOutput, &error);
    if (!context)
        return error;
    return blade::EncodeResult(lame_encode_flush_nogap(context, pOutput, blade::kNoGapFlushCapacity),
                               pdwOutput);
}

BE_ERR beCloseStream(HBE_STREAM hbeStream) {
    lame_t context = Streams().Find(hbeStream);
    if (!context)
        return BE_ERR_INVALID_HANDLE;
    if (lame_get_bWriteVbrTag(context)) {
        // Kept open until the caller has closed its file and asks for the header.
        Streams().SetPending(hbeStream);
    } else {
        blade::ReleaseStream(hbeStream);
        Streams().SetPending(0);
    }
    return BE_ERR_SUCCESSFUL;
}

void beVersion(PBE_VERSION pbeVersion) {
    if (!pbeVersion)
        return;
    std::memset(pbeVersion, 0, sizeof(BE_VERSION));
    pbeVersion->byDLLMajorVersion = 1;
    pbeVersion->byDLLMinorVersion = 32;
    lame_version_t lame;
    get_lame_version_numerical(&lame);
    pbeVersion->byMajorVersion = static_cast<uint8_t>(lame.major);
    pbeVersion->byMinorVersion = static_cast<uint8_t>(lame.minor);
    pbeVersion->byAlphaLevel = static_cast<uint8_t>(lame.alpha);
    pbeVersion->byBetaLevel = static_cast<uint8_t>(lame.beta);
    const blade::BuildDate date = blade::LibraryBuildDate();
    pbeVersion->byDay = static_cast<uint8_t>(date.day);
    pbeVersion->byMonth = static_cast<uint8_t>(date.month);
    pbeVersion->wYear = static_cast<uint16_t>(date.year);
    std::strncpy(pbeVersion->zHomepage, get_lame_url(), sizeof(pbeVersion->zHomepage) - 1);
}

BE_ERR beWriteVBRHeader(const char* lpszFileName) {
    return blade::WriteInfoTag(Streams().Pending(), lpszFileName);
}

BE_ERR beWriteInfoTag(HBE_STREAM hbeStream, const char* lpszFileName) {
    return blade::WriteInfoTag(hbeStream, lpszFileName);
}
