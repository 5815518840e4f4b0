// Time from spawning a program to its first painted frame, and its resident memory at that
// moment, for both product windows next to a bare Qt window of the same size. The programs run
// with QUOR_REPORT_FIRST_PAINT=1 and print one line to stderr at their first paint, and the
// splitter another at the first paint that shows the opened file's length: opening a 3-hour MP3
// is timed to that line next to opening a 60 s one.
// Run it through run_startup_bench.sh, which supplies the X server, the sound server, private
// settings and the files the splitter opens.
#include <benchmark/benchmark.h>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Memory {
    double hwmKiB = 0;
    double rssKiB = 0;
};

Memory ReadMemory(pid_t pid) {
    Memory memory;
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            memory.hwmKiB = std::stod(line.substr(6));
        else if (line.rfind("VmRSS:", 0) == 0)
            memory.rssKiB = std::stod(line.substr(6));
    }
    return memory;
}

// Reads the child's stderr until the line with the mark; false on exit or after 30 s.
bool WaitForMark(int fd, const std::string& mark) {
    std::string seen;
    char chunk[4096];
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0)
            continue;
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if (n <= 0)
            return false;
        seen.append(chunk, static_cast<size_t>(n));
        if (seen.find(mark) != std::string::npos)
            return true;
    }
    return false;
}

void RunUntil(benchmark::State& state, const std::string& mark, std::vector<std::string> command) {
    std::vector<char*> argv;
    for (auto& part : command)
        argv.push_back(part.data());
    argv.push_back(nullptr);
    Memory total;
    for (auto _ : state) {
        int pipeFds[2];
        if (pipe(pipeFds) != 0)
            throw std::runtime_error("pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
        const auto start = std::chrono::steady_clock::now();
        pid_t pid = 0;
        const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(pipeFds[1]);
        if (spawned != 0) {
            close(pipeFds[0]);
            state.SkipWithError(("cannot start " + command[0]).c_str());
            break;
        }
        const bool painted = WaitForMark(pipeFds[0], mark);
        const auto end = std::chrono::steady_clock::now();
        const Memory memory = ReadMemory(pid);
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        close(pipeFds[0]);
        if (!painted) {
            state.SkipWithError(("no " + mark + " from " + command[0]).c_str());
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        total.hwmKiB += memory.hwmKiB;
        total.rssKiB += memory.rssKiB;
        usleep(300 * 1000); // let the sound and X servers settle before the next start
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["VmHWM_MiB"] = total.hwmKiB / 1024 / runs;
    state.counters["VmRSS_MiB"] = total.rssKiB / 1024 / runs;
}

std::string Bin(const char* name) {
    return std::string(QUOR_BIN_DIR) + "/" + name;
}

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

void Register() {
    const auto add = [](const char* name, std::vector<std::string> command,
                        const char* mark = "QUOR_FIRST_PAINT") {
        benchmark::RegisterBenchmark(name, RunUntil, std::string(mark), command)
            ->Iterations(1)
            ->Repetitions(15)
            ->UseManualTime()
            ->ReportAggregatesOnly(true)
            ->Unit(benchmark::kMillisecond);
    };
    add("Startup/QuorRecorder", {Bin("QuorRecorder"), "QuorRecorder"}); // as its launcher starts it
    add("Startup/BareWindow_330x158", {Bin("bare_window"), "330", "158"});
    add("Startup/QuorSplit", {Bin("QuorSplit"), Env("QUOR_BENCH_MP3")});
    add("Startup/QuorSplit_NoFile", {Bin("QuorSplit")}); // without the media query of a file
    add("Startup/BareWindow_500x210", {Bin("bare_window"), "500", "210"});
    // Until the window shows the file's length: a long file must not take much longer.
    add("Open/QuorSplit_60s", {Bin("QuorSplit"), Env("QUOR_BENCH_MP3")}, "QUOR_FILE_SHOWN");
    add("Open/QuorSplit_3h", {Bin("QuorSplit"), Env("QUOR_BENCH_LONG_MP3")}, "QUOR_FILE_SHOWN");
}

} // namespace

int main(int argc, char** argv) {
    setenv("QUOR_REPORT_FIRST_PAINT", "1", 1);
    Register();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
