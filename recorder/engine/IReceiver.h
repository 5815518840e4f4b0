// A consumer of captured PCM: 16-bit interleaved samples, pushed in blocks.
#pragma once

class IReceiver {
public:
    virtual ~IReceiver() = default;
    virtual void Receive(unsigned char* data, int bytes) = 0;
};
