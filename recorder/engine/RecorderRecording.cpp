// Recording control: start, pause, resume and stop, and the route of every captured buffer to
// the MP3 writer or the WAV file.
#include "CSoundFile.h"
#include "CWriteMP3File.h"
#include "Recorder.h"
#include "RecorderSettings.h"

#include <cstdio>

namespace {
constexpr int kMp3 = 0;
constexpr int kWav = 1;

std::string OutputPath(const RecorderSettings& settings) { return settings.savePath + "/" + settings.fileName; }
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
    m_bRecording = true;
    m_bPaused = false;
    m_RecordingType = settings.fileType;
    m_RecordingPath = OutputPath(settings);

    if (settings.fileType == kMp3) {
        m_Capture.SetSamplesPerSecond(settings.sampleRate);
        if (!m_Capture.Start())
            return Fail(RecordFailure::CaptureFailed, m_Capture.LastError().text);
        // The writer is published only once open: until then the worker skips the missing writer.
        auto writer = std::make_unique<CWriteMP3File>();
        try {
            writer->Open(m_RecordingPath, settings.bitRate, settings.sampleRate, 0);
        } catch (const CWriteMP3FileError& error) {
            // The writer binds the encoder before it creates the file, so either way no file is left.
            m_Capture.Stop();
            bool noFile = error.GetReason() == CWriteMP3FileError::Reason::CreateFile;
            return Fail(noFile ? RecordFailure::FileNotCreated : RecordFailure::EncoderMissing, error.what());
        }
        m_pMp3Writer.store(writer.release(), std::memory_order_release);
    } else if (settings.fileType == kWav) {
        m_Capture.SetSamplesPerSecond(settings.sampleRate);
        auto file = std::make_unique<CSoundFile>(m_RecordingPath, m_Capture.GetFormat());
        if (!file->IsOpen())
            return Fail(RecordFailure::FileNotCreated, m_RecordingPath);
        m_pWavFile.store(file.release(), std::memory_order_release);
        if (!m_Capture.Start()) {
            std::string why = m_Capture.LastError().text;
            delete m_pWavFile.exchange(nullptr);
            std::remove(m_RecordingPath.c_str());
            return Fail(RecordFailure::CaptureFailed, why);
        }
    }
    // Any other type (OGG) records nothing and makes no file.
    return true;
}

void Recorder::ReceiveCaptured(CBuffer& buffer, void* self) {
    auto* recorder = static_cast<Recorder*>(self);
    if (recorder->m_bPaused || recorder->m_EndedBy != RecordFailure::None)
        return;
    int type = recorder->m_RecordingType;
    if (type == kMp3) {
        if (CWriteMP3File* writer = recorder->m_pMp3Writer.load(std::memory_order_acquire)) {
            writer->Receive(static_cast<unsigned char*>(buffer.ptr), buffer.ByteLen);
            if (writer->WriteFailed())
                recorder->m_EndedBy = RecordFailure::DiskFull;
            else
                recorder->m_RecordedBytes += buffer.ByteLen;
        }
    } else if (type == kWav) {
        if (CSoundFile* file = recorder->m_pWavFile.load(std::memory_order_acquire)) {
            if (!file->Write(&buffer))
                recorder->m_EndedBy = file->AtSizeLimit() ? RecordFailure::SizeLimit : RecordFailure::DiskFull;
            else
                recorder->m_RecordedBytes += buffer.ByteLen;
        }
    }
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

void Recorder::FinishFiles() {
    if (CWriteMP3File* writer = m_pMp3Writer.exchange(nullptr)) {
        writer->Close();
        delete writer;
    }
    delete m_pWavFile.exchange(nullptr); // finishing completes the chunk sizes
}

bool Recorder::StopRecord() {
    if (!m_bRecording)
        return false;
    // Paused first: buffers still in flight are dropped from here on.
    m_bRecording = false;
    m_bPaused = true;
    int type = m_RecordingType.exchange(-1);
    m_Capture.Stop();
    bool wasMp3 = m_pMp3Writer.load() != nullptr;
    FinishFiles();
    if (type == kMp3 && wasMp3 && TheRecorderSettings().mp3Id3v1 == 1 && m_TagEditor)
        m_TagEditor(m_RecordingPath);
    return true;
}
