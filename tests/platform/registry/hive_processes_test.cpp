// Real processes on one hive: simultaneous writers lose nothing, and a writer killed at any
// moment leaves the old or the new file, never a broken one.
#include "platform/registry/HiveText.h"
#include "platform/registry/Registry.h"
#include "tests/support/HiveEnv.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <random>
#include <thread>

using namespace platform;

namespace {

constexpr const char* kKey = "Software\\QuorRecorder";

bool WriteNumber(const std::string& name, DWORD number) {
    HKEY key = nullptr;
    if (RegCreateKeyEx(HKEY_CURRENT_USER, kKey, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return false;
    const bool written =
        RegSetValueEx(key, name, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4) == ERROR_SUCCESS;
    RegCloseKey(key);
    return written;
}

std::optional<DWORD> ReadNumber(const HiveKey& key, const std::string& name) {
    const HiveValue* value = key.FindValue(name);
    if (!value || value->type != REG_DWORD || value->data.size() != 4)
        return std::nullopt;
    DWORD number = 0;
    std::memcpy(&number, value->data.data(), 4);
    return number;
}

// Forks a child that runs `body` and leaves with its result as exit status (0 = success).
pid_t Spawn(const std::function<int()>& body) {
    const pid_t pid = fork();
    if (pid == 0)
        _exit(body());
    return pid;
}

int ExitStatus(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace

TEST(HiveProcesses, TwoWritersAtOnceLoseNoValue) {
    quortest::HiveEnv env;
    constexpr int kWrites = 200;
    constexpr int kNames = 20;
    int gate[2];
    ASSERT_EQ(pipe(gate), 0);
    std::vector<pid_t> writers;
    for (int writer = 0; writer < 2; ++writer) {
        writers.push_back(Spawn([&, writer] {
            close(gate[1]);
            char go;
            if (read(gate[0], &go, 1) != 0) // both start when the gate closes
                return 2;
            // Each name is written again and again: the last write of each must survive.
            for (int i = 0; i < kWrites; ++i) {
                if (!WriteNumber("Writer" + std::to_string(writer) + "_" + std::to_string(i % kNames), i))
                    return 1;
            }
            return 0;
        }));
    }
    close(gate[0]);
    close(gate[1]);
    for (pid_t pid : writers)
        EXPECT_EQ(ExitStatus(pid), 0);

    auto hive = ParseHiveText(quortest::ReadFile(env.HivePath()));
    ASSERT_TRUE(hive);
    const HiveKey* key = hive->Find({"Software", "QuorRecorder"});
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->values.size(), 2u * kNames);
    for (int writer = 0; writer < 2; ++writer) {
        for (int name = 0; name < kNames; ++name) {
            const std::string value = "Writer" + std::to_string(writer) + "_" + std::to_string(name);
            EXPECT_EQ(ReadNumber(*key, value), DWORD(kWrites - kNames + name)) << value;
        }
    }
    EXPECT_TRUE(env.FilesNamed(".tmp-").empty());
    EXPECT_TRUE(env.FilesNamed(".broken-").empty());
}

TEST(HiveProcesses, AWriterKilledMidWriteLeavesTheOldOrTheNewHive) {
    quortest::HiveEnv env;
    // A large hive makes each write long enough for the kills to land inside it.
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, kKey, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    const std::string padding(2000, 'p');
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(RegSetValueEx(key, "Pad" + std::to_string(i), REG_SZ,
                                reinterpret_cast<const BYTE*>(padding.c_str()),
                                static_cast<DWORD>(padding.size() + 1)),
                  ERROR_SUCCESS);
    }
    RegCloseKey(key);
    ASSERT_TRUE(WriteNumber("Counter", 0));

    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    DWORD lastSeen = 0;
    for (int round = 0; round < 40; ++round) {
        const pid_t writer = Spawn([&] {
            for (DWORD n = lastSeen + 1;; ++n)
                WriteNumber("Counter", n);
            return 0;
        });
        // A pause on purpose: the writer dies at a random moment of its writes.
        std::this_thread::sleep_for(std::chrono::microseconds(2000 + random() % 20000));
        kill(writer, SIGKILL);
        EXPECT_EQ(ExitStatus(writer), 128 + SIGKILL);

        auto hive = ParseHiveText(quortest::ReadFile(env.HivePath()));
        ASSERT_TRUE(hive) << "round " << round;
        const HiveKey* stored = hive->Find({"Software", "QuorRecorder"});
        ASSERT_NE(stored, nullptr);
        auto counter = ReadNumber(*stored, "Counter");
        ASSERT_TRUE(counter);
        EXPECT_GE(*counter, lastSeen); // the old or a newer value, never an older one
        EXPECT_EQ(stored->values.size(), 101u);
        lastSeen = *counter;
    }
    EXPECT_TRUE(env.FilesNamed(".broken-").empty());
    // A temporary file of a killed writer is removed by the next write.
    ASSERT_TRUE(WriteNumber("Counter", lastSeen + 1));
    EXPECT_TRUE(env.FilesNamed(".tmp-").empty());
}
