// WAV layout: RIFF/WAVE, an 18-byte "fmt " chunk (the full format record), then "data" at 46.
#include "recorder/engine/CSoundFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

using platform::MakeFourCC;

CSoundFile::CSoundFile(const std::string& path, const WAVEFORMATEX* format, uint64_t maxFileBytes)
    : m_Path(path) {
    std::memcpy(&m_Format, format, sizeof(WAVEFORMATEX));
    m_Mode = 2;
    if (!OpenFile(maxFileBytes))
        m_Mode = 0;
}

CSoundFile::~CSoundFile() {
    Finish();
}

bool CSoundFile::OpenFile(uint64_t maxFileBytes) {
    if (m_File)
        return false;
    m_File = platform::RiffFile::Create(m_Path, maxFileBytes);
    if (!m_File)
        return false;

    m_FormChunk = {};
    m_FormChunk.fccType = MakeFourCC('W', 'A', 'V', 'E');
    bool ok = m_File->CreateChunk(&m_FormChunk, platform::MMIO_CREATERIFF);

    const long formatBytes = static_cast<long>(18 + m_Format.cbSize);
    m_CurrentChunk = {};
    m_CurrentChunk.ckid = MakeFourCC('f', 'm', 't', ' ');
    m_CurrentChunk.cksize = static_cast<uint32_t>(formatBytes);
    ok = ok && m_File->CreateChunk(&m_CurrentChunk, 0);
    ok = ok && m_File->Write(&m_Format, formatBytes) == formatBytes;
    ok = ok && m_File->Ascend(&m_CurrentChunk);

    m_CurrentChunk = {};
    m_CurrentChunk.ckid = MakeFourCC('d', 'a', 't', 'a');
    ok = ok && m_File->CreateChunk(&m_CurrentChunk, 0);
    // The header reaches the disk now: even an empty recording is a valid file.
    ok = ok && m_File->FlushSizes();
    if (!ok) {
        m_File.reset();
        std::remove(m_Path.c_str());
    }
    return ok;
}

bool CSoundFile::Write(CBuffer* buffer) {
    if (m_Mode != 2 || !m_File || !buffer || buffer->ByteLen < 0)
        return false;
    uint64_t wanted = static_cast<uint64_t>(buffer->ByteLen);
    uint64_t room = m_File->Room();
    uint64_t block = std::max<uint64_t>(m_Format.nBlockAlign, 1);
    // At the size limit only whole frames go in, so the file ends on a frame boundary.
    uint64_t take = wanted <= room ? wanted : room / block * block;
    long written = take ? m_File->Write(buffer->ptr, static_cast<long>(take)) : 0;
    if (written > 0)
        m_BytesSinceSizes += static_cast<uint64_t>(written);
    bool complete = written >= 0 && static_cast<uint64_t>(written) == wanted;
    if (m_BytesSinceSizes >= std::max<uint32_t>(m_Format.nAvgBytesPerSec, 1) || !complete) {
        m_BytesSinceSizes = 0;
        if (!m_File->FlushSizes())
            complete = false;
    }
    return complete;
}

bool CSoundFile::Finish() {
    if (!m_File)
        return true;
    bool ok = true;
    if (m_Mode == 2) {
        // After a failed write the data may end inside a frame: keep whole frames only.
        uint64_t data = DataBytes();
        uint64_t block = std::max<uint64_t>(m_Format.nBlockAlign, 1);
        if (data % block)
            ok = m_File->TruncateTo(m_File->Position() - data % block);
        ok = m_File->Ascend(&m_CurrentChunk) && ok;
        ok = m_File->Ascend(&m_FormChunk) && ok;
    }
    ok = m_File->Close() && ok;
    m_File.reset();
    m_Mode = 0;
    return ok;
}
