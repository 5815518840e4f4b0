// Recording control: start, pause, resume and stop, and the route of every captured buffer to
// the MP3 writer or the WAV file.
#include "CSoundFile.h"
#include "CWriteMP3File.h"
#include "Recorder.h"
#include "RecorderSettings.h"
#include "riff/RecordingFile.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace {

std::string OutputPath(const RecorderSettings& settings) {
    return settings.savePath + "/" + settings.fileName;
}

Recorder::RecordFailure FailureOf(CWriteMP3FileError::Reason reason) {
    switch (reason) {
    case CWriteMP3FileError::Reason::CreateFile:
        return Recorder::RecordFailure::FileNotCreated;
    case CWriteMP3FileError::Reason::EncoderStream:
        return Recorder::RecordFailure::EncoderFailed;
    case CWriteMP3FileError::Reason::EncoderMissing:
    case CWriteMP3FileError::Reason::EncoderIncomplete:
        break;
    }
    return Recorder::RecordFailure::EncoderMissing;
}
} // namespace

bool Recorder::Fail(RecordFailure failure, std::string detail) {
    m_LastFailure = failure;
    m_LastFailureDetail = std::move(detail);
    m_bRecording = false;
    m_bPaused = false;
    m_RecordingType = -1;
    return false;
}

bool Recorder::StartRecord() {
    if (m_bRecording)
        return false;
    RecorderSettings& settings = TheRecorderSettings();
    m_LastFailure = RecordFailure::None;
    m_LastFailureDetail.clear();
    m_EndedBy = RecordFailure::None;
    m_RecordedBytes = 0;
    m_DroppedSeconds = 0;
    m_RecordingFile.reset();
    if (settings.fileType != kFileTypeMp3 && settings.fileType != kFileTypeWav)
        return Fail(RecordFailure::NoFormat, "file type " + std::to_string(settings.fileType));
    if (settings.fileNameAutomatic) {
        // Claimed by creating it: a second recorder in the same second gets the next name.
        std::optional<std::string> free = platform::CreateUnderFreeName(settings.savePath, settings.fileName);
        if (!free)
            return Fail(RecordFailure::FileNotCreated, OutputPath(settings));
        settings.fileName = *free;
    }
    m_bRecording = true;
    m_bPaused = false;
    m_RecordingType = settings.fileType;
    m_RecordingPath = OutputPath(settings);
    if (!OpenWriter(settings)) {
        // The claimed name goes again; a chosen name is only touched once the capture runs.
        if (settings.fileNameAutomatic)
            std::remove(m_RecordingPath.c_str());
        return false;
    }
    m_RecordingFile = std::make_unique<platform::FollowedFile>(m_RecordingPath);
    return true;
}

bool Recorder::OpenWriter(const RecorderSettings& settings) {
    // One buffer per fragment the device delivers: one wake-up, one encode call and one write each.
    m_Capture.SetSamplesPerSecond(settings.sampleRate)
        .SetBufferSize(CSoundIn::FragmentFrames(settings.sampleRate));
    if (settings.fileType == kFileTypeMp3) {
        if (!m_Capture.Start())
            return Fail(RecordFailure::CaptureFailed, m_Capture.LastError().text);
        // The writer is published only once open: until then the worker skips the missing writer.
        auto writer = std::make_unique<CWriteMP3File>();
        try {
            writer->Open(m_RecordingPath, settings.bitRate, settings.sampleRate, 0);
        } catch (const CWriteMP3FileError& error) {
            // The writer makes its file last, so no failure leaves one of its own behind.
            m_Capture.Stop();
            return Fail(FailureOf(error.GetReason()), error.what());
        }
        m_pMp3Writer.store(writer.release(), std::memory_order_release);
        return true;
    }
    // As for MP3, the capture runs before the file is made, so a capture that cannot start leaves
    // an existing file of the chosen name as it was; until the file is published the worker skips it.
    if (!m_Capture.Start())
        return Fail(RecordFailure::CaptureFailed, m_Capture.LastError().text);
    auto file = std::make_unique<CSoundFile>(m_RecordingPath, m_Capture.GetFormat());
    if (!file->IsOpen()) {
        m_Capture.Stop();
        return Fail(RecordFailure::FileNotCreated, m_RecordingPath);
    }
    m_pWavFile.store(file.release(), std::memory_order_release);
    return true;
}

void Recorder::ReceiveCaptured(CBuffer& buffer, void* self) {
    auto* recorder = static_cast<Recorder*>(self);
    if (recorder->m_bPaused || recorder->m_EndedBy != RecordFailure::None)
        return;
    std::lock_guard<std::mutex> guard(recorder->m_WriterLock);
    CBuffer part(buffer.ptr, recorder->BytesWithinLimit(buffer.ByteLen));
    if (part.ByteLen == 0)
        return;
    int type = recorder->m_RecordingType;
    if (type == kFileTypeMp3) {
        if (CWriteMP3File* writer = recorder->m_pMp3Writer.load(std::memory_order_acquire)) {
            writer->Receive(static_cast<unsigned char*>(part.ptr), part.ByteLen);
            if (writer->WriteFailed())
                recorder->m_EndedBy = RecordFailure::DiskFull;
            else
                recorder->m_RecordedBytes += part.ByteLen;
        }
    } else if (type == kFileTypeWav) {
        if (CSoundFile* file = recorder->m_pWavFile.load(std::memory_order_acquire)) {
            if (!file->Write(&part))
                recorder->m_EndedBy =
                    file->AtSizeLimit() ? RecordFailure::SizeLimit : RecordFailure::DiskFull;
            else
                recorder->m_RecordedBytes += part.ByteLen;
        }
    }
}

int32_t Recorder::BytesWithinLimit(int32_t bytes) const {
    const uint64_t limit = m_RecordLimit.load();
    if (limit == 0 || bytes <= 0)
        return bytes;
    const uint64_t done = m_RecordedBytes.load();
    if (done >= limit)
        return 0;
    // Whole frames only, so that the file ends on a sample of every channel.
    const uint64_t block = std::max<uint64_t>(m_Capture.GetFormat()->nBlockAlign, 1);
    return static_cast<int32_t>(
        std::min<uint64_t>(static_cast<uint64_t>(bytes), (limit - done) / block * block));
}

Recorder::RecordFailure Recorder::EndedByItself() const {
    const RecordFailure ended = m_EndedBy.load();
    if (ended == RecordFailure::None && m_bRecording && m_Capture.DeviceLost())
        return RecordFailure::CaptureLost;
    return ended;
}

bool Recorder::PauseRecord() {
    if (!m_bRecording)
        return false;
    m_bPaused = true;
    return true;
}

bool Recorder::ResumeRecord() {
    m_bPaused = false;
    return true;
}

bool Recorder::FinishFiles(uint64_t* dataBytes) {
    std::unique_ptr<CWriteMP3File> writer(m_pMp3Writer.exchange(nullptr));
    std::unique_ptr<CSoundFile> file(m_pWavFile.exchange(nullptr));
    // A write that began before the withdrawal ends before the writer does.
    std::lock_guard<std::mutex> guard(m_WriterLock);
    *dataBytes = 0;
    bool endWritten = true;
    if (writer) {
        endWritten = writer->Close();
        *dataBytes = writer->BytesWritten();
    }
    if (file) {
        *dataBytes = file->DataBytes();
        endWritten = file->Finish();
    }
    return endWritten;
}

Recorder::RecordFailure Recorder::StopOutcome(RecordFailure ended, bool endWritten, uint64_t dataBytes) {
    bool moved = false;
    if (m_RecordingFile && m_RecordingFile->Following() && !m_RecordingFile->IsAt(m_RecordingPath)) {
        // Renamed or moved meanwhile: the file was written on where it is now.
        std::optional<std::string> now = m_RecordingFile->CurrentPath();
        if (!now)
            return RecordFailure::FileRemoved;
        m_RecordingPath = *now;
        moved = true;
    }
    if ((ended == RecordFailure::DiskFull || ended == RecordFailure::FileSizeLimit) && dataBytes == 0) {
        // Nothing was recorded: an empty file would only pass for a recording. A link, pipe or
        // device chosen as the target stays where it is.
        std::error_code ec;
        if (std::filesystem::symlink_status(m_RecordingPath, ec).type() ==
            std::filesystem::file_type::regular)
            std::filesystem::remove(m_RecordingPath, ec);
        return RecordFailure::NoRoomToStart;
    }
    if (ended != RecordFailure::None)
        return ended;
    if (!endWritten)
        return RecordFailure::EndNotWritten;
    return moved ? RecordFailure::FileMoved : RecordFailure::None;
}

bool Recorder::AtFileSizeLimit() const {
    const std::optional<uint64_t> limit = platform::FileSizeLimit();
    return limit && m_RecordingFile && m_RecordingFile->Size() >= *limit;
}

bool Recorder::RecordingFileGone() const {
    return m_bRecording && m_RecordingFile && m_RecordingFile->Deleted();
}

bool Recorder::StopRecord() {
    if (!m_bRecording)
        return false;
    // Why it ended by itself, if it did, asked while it still counts as recording.
    RecordFailure ended = EndedByItself();
    m_bRecording = false;
    // The capture hands over what it holds up to this moment, buffers in flight and the part
    // filled so far, which go to the file unless the recording is paused; then it is paused, so
    // nothing more is taken before the writer goes.
    m_Capture.Stop();
    m_bPaused = true;
    int type = m_RecordingType.exchange(-1);
    // Writing the last of it may itself have failed.
    if (ended == RecordFailure::None)
        ended = m_EndedBy.load();
    // Asked before the file is finished, which may cut it back to whole frames.
    if (ended == RecordFailure::DiskFull && AtFileSizeLimit())
        ended = RecordFailure::FileSizeLimit;
    const WAVEFORMATEX* format = m_Capture.GetFormat();
    m_DroppedSeconds =
        static_cast<double>(m_Capture.DroppedBytes()) / std::max<uint32_t>(format->nAvgBytesPerSec, 1);
    uint64_t dataBytes = 0;
    bool endWritten = FinishFiles(&dataBytes);
    m_LastFailure = StopOutcome(ended, endWritten, dataBytes);
    m_LastFailureDetail = m_LastFailure == RecordFailure::None ? std::string() : m_RecordingPath;
    const bool fileKept =
        m_LastFailure != RecordFailure::FileRemoved && m_LastFailure != RecordFailure::NoRoomToStart;
    if (type == kFileTypeMp3 && fileKept && TheRecorderSettings().mp3Id3v1 == 1 && m_TagEditor)
        m_TagEditor(m_RecordingPath);
    return true;
}
