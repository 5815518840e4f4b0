// Continuity of a recording: the player sends a counter signal (left = a 16-bit sample counter,
// right = its bitwise complement) and the check walks the recorded WAV frame by frame. Any step
// other than +1 is a gap (forward jump) or a repeat (backward jump); frames of (0, 0) never occur
// in the signal and mark silence the sound server inserted because the player ran late.
// The counter also tells how many frames the server delivered from the first recorded frame to
// the last (the sum of the steps, unwrapped, plus any inserted silence): a recording that lost or
// added nothing has exactly that many frames.
// usage: continuity_check signal            endless 44.1 kHz s16le stereo counter on stdout
//        continuity_check check FILE.wav     prints PASS or FAIL and the breaks it found
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

int WriteSignal() {
    std::vector<int16_t> block(2 * 4096);
    uint16_t counter = 0;
    for (;;) {
        for (size_t i = 0; i < block.size(); i += 2) {
            block[i] = static_cast<int16_t>(counter);
            block[i + 1] = static_cast<int16_t>(~counter);
            ++counter;
        }
        if (std::fwrite(block.data(), sizeof block[0], block.size(), stdout) != block.size())
            return 0; // the player went away
    }
}

uint32_t Le32(const char* p) {
    return static_cast<uint32_t>(static_cast<uint8_t>(p[0])) |
           static_cast<uint32_t>(static_cast<uint8_t>(p[1])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(p[2])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(p[3])) << 24;
}

// The samples of the "data" chunk of a 16-bit stereo PCM RIFF file; empty when it is not one.
std::vector<int16_t> ReadWavSamples(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0)
        return {};
    size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const uint32_t size = Le32(&bytes[at + 4]);
        if (bytes.compare(at, 4, "fmt ") == 0) {
            const uint16_t channels = static_cast<uint16_t>(Le32(&bytes[at + 10]) & 0xffff);
            const uint16_t bits = static_cast<uint16_t>(Le32(&bytes[at + 22]) & 0xffff);
            if (channels != 2 || bits != 16)
                return {};
        }
        if (bytes.compare(at, 4, "data") == 0) {
            const size_t length = std::min<size_t>(size, bytes.size() - at - 8) & ~size_t{3};
            std::vector<int16_t> samples(length / 2);
            std::memcpy(samples.data(), &bytes[at + 8], length);
            return samples;
        }
        at += 8 + size + (size & 1);
    }
    return {};
}

int Check(const std::string& path) {
    const std::vector<int16_t> samples = ReadWavSamples(path);
    const size_t frames = samples.size() / 2;
    if (frames < 2) {
        std::cout << "FAIL: no 16-bit stereo PCM frames in " << path << "\n";
        return 1;
    }
    size_t gaps = 0, repeats = 0, silentFrames = 0, wrongFrames = 0, reported = 0;
    bool havePrevious = false;
    uint16_t previous = 0;
    int64_t counterSpan = 0; // unwrapped: last counter value - first
    for (size_t i = 0; i < frames; ++i) {
        const auto left = static_cast<uint16_t>(samples[2 * i]);
        const auto right = static_cast<uint16_t>(samples[2 * i + 1]);
        if (left == 0 && right == 0) {
            ++silentFrames;
            continue;
        }
        if (right != static_cast<uint16_t>(~left)) {
            ++wrongFrames;
            continue;
        }
        if (havePrevious) {
            const auto step = static_cast<int16_t>(static_cast<uint16_t>(left - previous));
            counterSpan += step;
            if (step != 1) {
                (step > 1 ? gaps : repeats) += 1;
                if (reported++ < 10)
                    std::cout << "  break at frame " << i << " (" << static_cast<double>(i) / 44100.0
                              << " s): step " << step << "\n";
            }
        }
        previous = left;
        havePrevious = true;
    }
    std::cout << "frames " << frames << " (" << static_cast<double>(frames) / 44100.0
              << " s at 44.1 kHz), gaps " << gaps << ", repeats " << repeats << ", altered frames "
              << wrongFrames << ", silent frames (server underrun) " << silentFrames << "\n";
    const int64_t delivered = counterSpan + 1 + static_cast<int64_t>(silentFrames);
    std::cout << "frames the server delivered from the first recorded frame to the last: " << delivered
              << "; recorded: " << frames
              << (delivered == static_cast<int64_t>(frames) ? " (equal)" : " (DIFFERENT)") << "\n";
    const bool pass =
        gaps == 0 && repeats == 0 && wrongFrames == 0 && delivered == static_cast<int64_t>(frames);
    std::cout << (pass ? "PASS" : "FAIL") << ": recording is " << (pass ? "" : "not ") << "continuous\n";
    return pass ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "signal") == 0)
        return WriteSignal();
    if (argc == 3 && std::strcmp(argv[1], "check") == 0)
        return Check(argv[2]);
    std::cerr << "usage: continuity_check signal | continuity_check check FILE.wav\n";
    return 2;
}
