// Test media through ffmpeg and ffprobe, started with argument lists.
#include "tests/splitter/common/MediaFiles.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace splittest {
namespace {

int Spawn(const std::vector<std::string>& argv, int outFd) {
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (outFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, outFd, 1);
    else
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid;
    int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return -1;
    if (outFd >= 0)
        close(outFd);
    int status = 0;
    if (waitpid(pid, &status, 0) < 0)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Seconds(double s) {
    std::ostringstream out;
    out << s;
    return out.str();
}

} // namespace

int RunProgram(const std::vector<std::string>& argv) {
    return Spawn(argv, -1);
}

std::string RunProgramOutput(const std::vector<std::string>& argv) {
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    FILE* in = fdopen(fds[0], "r");
    std::string out;
    // ffprobe's output is small: spawn, then read everything after it ended.
    int rc = Spawn(argv, fds[1]);
    char buf[512];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, in)) > 0)
        out.append(buf, n);
    fclose(in);
    return rc == 0 ? out : std::string();
}

bool MakeToneMp3(const std::string& path, double seconds, int frequency, int sampleRate, int kbps,
                 int channels) {
    return RunProgram({"ffmpeg", "-nostdin", "-v", "error", "-f", "lavfi", "-i",
                       "sine=frequency=" + std::to_string(frequency) +
                           ":sample_rate=" + std::to_string(sampleRate) + ":duration=" + Seconds(seconds),
                       "-ac", std::to_string(channels), "-c:a", "libmp3lame", "-b:a",
                       std::to_string(kbps) + "k", "-y", path}) == 0;
}

bool MakeTwoToneMp3(const std::string& path, double seconds, double splitSec, int first, int second) {
    std::string filter = "aevalsrc=if(lt(t\\," + Seconds(splitSec) + ")\\,0.5*sin(2*PI*" +
                         std::to_string(first) + "*t)\\,0.5*sin(2*PI*" + std::to_string(second) +
                         "*t)):s=44100:d=" + Seconds(seconds);
    return RunProgram({"ffmpeg", "-nostdin", "-v", "error", "-f", "lavfi", "-i", filter, "-ac", "2", "-c:a",
                       "libmp3lame", "-b:a", "128k", "-y", path}) == 0;
}

bool MakePausedToneMp3(const std::string& path, double toneSec, double pauseSec) {
    // Both channels made as stereo: a mono source spread to two comes out 3 dB down.
    const std::string channel = "if(between(t\\," + Seconds(toneSec) + "\\," + Seconds(toneSec + pauseSec) +
                                ")\\,0\\,0.9*sin(2*PI*440*t))";
    return RunProgram(
               {"ffmpeg", "-nostdin", "-v", "error", "-f", "lavfi", "-i",
                "aevalsrc=" + channel + "|" + channel + ":s=44100:d=" + Seconds(2 * toneSec + pauseSec),
                "-c:a", "libmp3lame", "-b:a", "128k", "-y", path}) == 0;
}

bool MakeVbrMp3WithoutHeader(const std::string& path, double seconds) {
    // Silence first, then a sweep under noise: the bit rate climbs from the encoder's lowest.
    const std::string filter = "aevalsrc=if(lt(t\\,1)\\,0\\,0.4*sin(2*PI*(200+900*t)*t)+0.3*(random(0)-0.5))"
                               ":s=44100:d=" +
                               Seconds(seconds);
    return RunProgram({"ffmpeg", "-nostdin", "-v", "error", "-f", "lavfi", "-i", filter, "-ac", "2", "-c:a",
                       "libmp3lame", "-q:a", "2", "-write_xing", "0", "-y", path}) == 0;
}

bool MakeMpeg4Video(const std::string& path, double seconds) {
    return RunProgram({"ffmpeg", "-nostdin", "-v", "error", "-f", "lavfi", "-i",
                       "testsrc=size=320x240:rate=25:duration=" + Seconds(seconds), "-f", "lavfi", "-i",
                       "sine=frequency=440:duration=" + Seconds(seconds), "-c:v", "mpeg4", "-c:a",
                       "libmp3lame", "-shortest", "-y", path}) == 0;
}

ProbeResult Probe(const std::string& path) {
    ProbeResult result;
    std::string out = RunProgramOutput({"ffprobe", "-v", "error", "-select_streams", "a:0", "-show_entries",
                                        "stream=codec_name,channels,sample_rate:format=duration", "-of",
                                        "default=noprint_wrappers=1", path});
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        auto eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        if (key == "duration")
            result.seconds = std::atof(value.c_str());
        else if (key == "channels")
            result.channels = std::atoi(value.c_str());
        else if (key == "sample_rate")
            result.sampleRate = std::atoi(value.c_str());
        else if (key == "codec_name")
            result.codec = value;
    }
    return result;
}

std::string ProbeTag(const std::string& path, const std::string& key) {
    std::string out = RunProgramOutput({"ffprobe", "-v", "error", "-show_entries", "format_tags=" + key,
                                        "-of", "default=noprint_wrappers=1:nokey=1", path});
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r'))
        out.pop_back();
    return out;
}

} // namespace splittest

// libmediainfo keeps one allocation of its own for the process-wide options (set once by the
// media query); leak checking in sanitizer builds is not about that library.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libmediainfo.so";
}
