// Running a program and waiting for it: the updater's wait without a limit, lines and exit codes,
// the time limit that progress starts again, and a cancel while it runs. Real shell scripts.
#include "platform/shell/ProgramRunner.h"
#include "tests/support/TempDir.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

using namespace std::chrono_literals;

namespace {

std::string Script(const quortest::TempDir& dir, const std::string& name, const std::string& body) {
    const std::filesystem::path path = dir / name;
    quortest::WriteFile(path, "#!/bin/sh\n" + body);
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    return path.string();
}

TEST(RunAndWait, ReturnsOnlyOnceTheProgramHasEndedAndRefusesWhatCannotRun) {
    quortest::TempDir dir;
    const std::string out = (dir / "args").string();
    const std::string late = Script(dir, "late", "sleep 0.3\necho \"$@\" > '" + out + "'\n");
    ASSERT_TRUE(platform::RunAndWait(late, {"QuorRecorder", "a b"}));
    EXPECT_EQ(quortest::ReadFile(out), "QuorRecorder a b\n") << "written just before it ended";

    quortest::WriteFile(dir / "plain", "#!/bin/sh\n");
    EXPECT_FALSE(platform::RunAndWait((dir / "plain").string(), {})) << "not executable";
    EXPECT_FALSE(platform::RunAndWait((dir / "missing").string(), {}));
    EXPECT_FALSE(platform::RunAndWait(dir.str(), {})) << "a folder";
}

TEST(ProgramRunner, HandsOverEveryLineAndTellsTheExitCode) {
    quortest::TempDir dir;
    platform::ProgramRunner runner;
    QStringList lines;
    runner.SetLineHandler([&](const QString& line) {
        lines << line;
        return false;
    });
    const platform::ProgramExit exit =
        runner.Run(QString::fromStdString(Script(dir, "lines", "echo one\necho two >&2\nexit 3\n")), {});
    EXPECT_TRUE(exit.started);
    EXPECT_EQ(exit.exitCode, 3);
    EXPECT_FALSE(exit.Succeeded());
    EXPECT_EQ(lines, QStringList({"one", "two"}));
    EXPECT_EQ(exit.output, "one\ntwo\n");
    EXPECT_FALSE(runner.Running());
}

TEST(ProgramRunner, SilenceEndsItAtTheTimeLimitButProgressKeepsItGoing) {
    quortest::TempDir dir;
    platform::ProgramRunner silent(300ms);
    const auto began = std::chrono::steady_clock::now();
    platform::ProgramExit exit =
        silent.Run(QString::fromStdString(Script(dir, "silent", "exec sleep 30\n")), {});
    EXPECT_TRUE(exit.started);
    EXPECT_TRUE(exit.timedOut);
    EXPECT_FALSE(exit.cancelled);
    EXPECT_LT(std::chrono::steady_clock::now() - began, 10s);

    // Two seconds of ticks, each within the limit: the limit counts from the last progress.
    platform::ProgramRunner ticking(1500ms);
    int ticks = 0;
    ticking.SetLineHandler([&](const QString& line) { return line == "tick" && ++ticks > 0; });
    exit = ticking.Run(QString::fromStdString(Script(
                           dir, "ticking", "for i in 1 2 3 4 5 6 7 8 9 10; do echo tick; sleep 0.2; done\n")),
                       {});
    EXPECT_TRUE(exit.Succeeded()) << exit.output.toStdString();
    EXPECT_EQ(ticks, 10);
}

TEST(ProgramRunner, CancelWhileItRunsEndsIt) {
    quortest::TempDir dir;
    platform::ProgramRunner runner; // no time limit: only the cancel ends it
    runner.SetLineHandler([&](const QString& line) {
        if (line == "ready")
            runner.Cancel();
        return false;
    });
    const auto began = std::chrono::steady_clock::now();
    const platform::ProgramExit exit =
        runner.Run(QString::fromStdString(Script(dir, "ready", "echo ready\nexec sleep 30\n")), {});
    EXPECT_TRUE(exit.started);
    EXPECT_TRUE(exit.cancelled);
    EXPECT_FALSE(exit.timedOut);
    EXPECT_FALSE(exit.Succeeded());
    EXPECT_LT(std::chrono::steady_clock::now() - began, 10s);
    runner.Cancel(); // harmless once it has ended
}

} // namespace

// The wait is an event loop: one QCoreApplication for the program.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
