// The error raised by CWriteMP3File::Open; its text is what the recording control shows.
#pragma once

#include <stdexcept>
#include <string>

class CWriteMP3FileError : public std::runtime_error {
public:
    enum class Reason {
        CreateFile,        // the output file cannot be created
        EncoderMissing,    // the encoder library cannot be loaded
        EncoderIncomplete, // the encoder library lacks one of the entry points
        EncoderStream,     // the encoder refused to start a stream with these settings
    };

    CWriteMP3FileError(Reason reason, const std::string& text) : std::runtime_error(text), m_reason(reason) {}
    Reason GetReason() const { return m_reason; }

private:
    Reason m_reason;
};
