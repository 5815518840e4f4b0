// quor-reg as a user runs it: exit codes, output, and the hive file it leaves.
#include "support/HiveEnv.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>

namespace {

struct ToolRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string ReadAll(int fd) {
    std::string text;
    std::array<char, 4096> chunk;
    for (ssize_t got; (got = read(fd, chunk.data(), chunk.size())) > 0;)
        text.append(chunk.data(), static_cast<size_t>(got));
    close(fd);
    return text;
}

// Runs build/bin/quor-reg with the arguments (no shell); collects its output and its errors.
ToolRun QuorReg(const std::vector<std::string>& args) {
    int pipeFds[2];
    int errFds[2];
    if (pipe(pipeFds) != 0 || pipe(errFds) != 0)
        return {};
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        dup2(errFds[1], STDERR_FILENO);
        close(pipeFds[0]);
        close(pipeFds[1]);
        close(errFds[0]);
        close(errFds[1]);
        std::vector<char*> argv;
        const std::string program = std::string(QUOR_BIN_DIR) + "/quor-reg";
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const auto& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(pipeFds[1]);
    close(errFds[1]);
    ToolRun run;
    run.out = ReadAll(pipeFds[0]); // the few lines of errors fit the other pipe meanwhile
    run.err = ReadAll(errFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

constexpr const char* kKey = "Software\\QuorRecorder";

} // namespace

TEST(QuorReg, GetOfAMissingValueExitsOneAndCreatesNothing) {
    quortest::HiveEnv env;
    EXPECT_EQ(QuorReg({"get", kKey, "Savepath"}).exitCode, 1);
    EXPECT_EQ(QuorReg({"list", kKey}).exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(env.ConfigHome()));
    ASSERT_EQ(QuorReg({"set", kKey, "FileTypeSel", "dword", "1"}).exitCode, 0);
    EXPECT_EQ(QuorReg({"get", kKey, "Savepath"}).exitCode, 1);
}

TEST(QuorReg, SetThenGetAndList) {
    quortest::HiveEnv env;
    const std::string folder = "/home/mina/음악/\"새\" 폴더\\x";
    ASSERT_EQ(QuorReg({"set", kKey, "Savepath", "sz", folder}).exitCode, 0);
    ASSERT_EQ(QuorReg({"set", kKey, "FileSettingSel", "dword", "-1"}).exitCode, 0);
    ASSERT_EQ(
        QuorReg({"set", "HKEY_CURRENT_USER\\Software\\QuorRecorder", "CkTopmost", "dword", "0x10"}).exitCode,
        0);

    const ToolRun path = QuorReg({"get", kKey, "savepath"});
    EXPECT_EQ(path.exitCode, 0);
    EXPECT_EQ(path.out, folder + "\n");
    EXPECT_EQ(QuorReg({"get", kKey, "FileSettingSel"}).out, "4294967295\n");

    const ToolRun list = QuorReg({"list", kKey});
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_EQ(list.out, "Savepath\tREG_SZ\t" + folder +
                            "\nFileSettingSel\tREG_DWORD\t4294967295\n"
                            "CkTopmost\tREG_DWORD\t16\n");
    EXPECT_NE(quortest::ReadFile(env.HivePath()).find("\"CkTopmost\"=dword:00000010"), std::string::npos);
    ASSERT_EQ(QuorReg({"set", kKey, "@", "sz", "default"}).exitCode, 0);
    EXPECT_EQ(QuorReg({"get", kKey, "@"}).out, "default\n");
    EXPECT_NE(quortest::ReadFile(env.HivePath()).find("\n@=\"default\"\n"), std::string::npos);
}

TEST(QuorReg, BadArgumentsExitTwoAndWriteNothing) {
    quortest::HiveEnv env;
    EXPECT_EQ(QuorReg({}).exitCode, 2);
    EXPECT_EQ(QuorReg({"get", kKey}).exitCode, 2);
    EXPECT_EQ(QuorReg({"set", kKey, "N", "dword", "12abc"}).exitCode, 2);
    EXPECT_EQ(QuorReg({"set", kKey, "N", "dword", "4294967296"}).exitCode, 2);
    EXPECT_EQ(QuorReg({"set", kKey, "N", "qword", "1"}).exitCode, 2);
    EXPECT_EQ(QuorReg({"set", "Software\\\\Bad", "N", "sz", "x"}).exitCode, 3);
    EXPECT_FALSE(std::filesystem::exists(env.HivePath()));
}

TEST(QuorReg, FailuresAreToldInSentencesAndABrokenFileMovedAsideIsTold) {
    quortest::HiveEnv env;
    const ToolRun missing = QuorReg({"get", kKey, "Savepath"});
    EXPECT_EQ(missing.err, "quor-reg: cannot open key Software\\QuorRecorder: it does not exist.\n");
    const ToolRun badKey = QuorReg({"set", "Software\\\\Bad", "N", "sz", "x"});
    EXPECT_EQ(badKey.err,
              "quor-reg: cannot create key Software\\\\Bad: the key or value name is not valid.\n");

    ASSERT_EQ(QuorReg({"set", kKey, "FileTypeSel", "dword", "1"}).exitCode, 0);
    const ToolRun noValue = QuorReg({"get", kKey, "Savepath"});
    EXPECT_EQ(noValue.exitCode, 1);
    EXPECT_EQ(noValue.err, "quor-reg: there is no value Savepath in Software\\QuorRecorder.\n");

    quortest::WriteFile(env.HivePath(), "this is no registry file");
    const ToolRun broken = QuorReg({"get", kKey, "FileTypeSel"});
    EXPECT_EQ(broken.exitCode, 1) << "it reads as empty";
    EXPECT_NE(broken.err.find("the settings file " + env.HivePath().string() +
                              " could not be read; it was moved to "),
              std::string::npos)
        << broken.err;
    size_t asideFiles = 0;
    for (const auto& entry : std::filesystem::directory_iterator(env.HiveFolder())) {
        if (entry.path().filename().string().starts_with("HKEY_CURRENT_USER.reg.broken-")) {
            ++asideFiles;
            EXPECT_NE(broken.err.find(entry.path().string()), std::string::npos) << "the new name is told";
            EXPECT_EQ(quortest::ReadFile(entry.path()), "this is no registry file");
        }
    }
    EXPECT_EQ(asideFiles, 1u);

    // A pipe in the file's place is moved aside too, at once, instead of waiting for a writer.
    std::filesystem::remove(env.HivePath());
    ASSERT_EQ(mkfifo(env.HivePath().c_str(), 0600), 0);
    const ToolRun pipe = QuorReg({"list", kKey});
    EXPECT_EQ(pipe.exitCode, 1);
    EXPECT_TRUE(pipe.err.starts_with("quor-reg: the settings file " + env.HivePath().string() +
                                     " could not be read; it was moved to "))
        << pipe.err;
    EXPECT_EQ(env.FilesNamed(".broken-").size(), 2u);
    ASSERT_EQ(QuorReg({"set", kKey, "FileTypeSel", "dword", "1"}).exitCode, 0);
    EXPECT_EQ(QuorReg({"get", kKey, "FileTypeSel"}).out, "1\n");
    for (const ToolRun& run : {missing, badKey, noValue, broken, pipe})
        EXPECT_EQ(run.err.find("status"), std::string::npos) << "no bare status numbers";
}
