// A WAV recording on disk: header at creation, PCM appended as it arrives, sizes completed at
// the end. The sizes are also made current about once a second, so a recording whose program
// dies still opens with everything up to that second.
#pragma once

#include "platform/riff/RiffFile.h"
#include "recorder/engine/CBuffer.h"
#include "recorder/engine/CSoundBase.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

class CSoundFile : public CSoundBase {
public:
    // Creates the file at once. maxFileBytes caps the file below the 32-bit RIFF sizes; tests
    // pass a small cap to reach the limit quickly.
    CSoundFile(const std::string& path, const WAVEFORMATEX* format,
               uint64_t maxFileBytes = platform::kRiffMaxFileBytes);
    ~CSoundFile() override;
    CSoundFile(const CSoundFile&) = delete;
    CSoundFile& operator=(const CSoundFile&) = delete;

    bool IsOpen() const { return m_Mode != 0; }
    // True when every byte was stored. False when the file is not open, the disk refused, or
    // the size limit was reached; whole frames that fit are still stored and the file stays valid.
    bool Write(CBuffer* buffer);
    // Completes the sizes and closes the file (destruction does it too). False when the end did
    // not reach the disk: the sizes may then not describe everything that was recorded.
    bool Finish();
    // PCM bytes in the data chunk so far.
    uint64_t DataBytes() const { return m_File ? m_File->Position() - m_CurrentChunk.dwDataOffset : 0; }
    // True once not even one more frame fits under the size limit.
    bool AtSizeLimit() const {
        return m_File && m_File->Room() < std::max<uint16_t>(m_Format.nBlockAlign, 1);
    }

    // Called on the capture worker thread, the only writer; construction and destruction run
    // on the window thread before the capture starts and after it stopped.

private:
    bool OpenFile(uint64_t maxFileBytes);

    std::unique_ptr<platform::RiffFile> m_File;
    std::string m_Path;
    int32_t m_Mode = 0; // 0 no usable file, 2 open for writing
    platform::MMCKINFO m_FormChunk{};
    platform::MMCKINFO m_CurrentChunk{};
    uint64_t m_BytesSinceSizes = 0;
};
