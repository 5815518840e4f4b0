// The QuorRecorder program started as a user (or the desktop) would: the command-line rule, a
// quick start without network, an orderly end on a termination request, the exported encoder
// names, and the updater that runs before it.
#include "platform/registry/CRegistry.h"
#include "recorder/app/CQuorRecorderApp.h"
#include "recorder/app/UpdaterLaunch.h"
#include "recorder/settings/SettingsValues.h"
#include "tests/support/Eventually.h"
#include "tests/support/HiveEnv.h"
#include "tests/support/pulse/PulseServer.h"

#include <QElapsedTimer>
#include <QProcess>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

namespace fs = std::filesystem;

namespace {
const QString kProgram = QStringLiteral(QUOR_BIN_DIR "/QuorRecorder");

quortest::PulseServer& Server() {
    static quortest::PulseServer server;
    return server;
}

// Recording streams of the private server: the program's monitor capture opens one as its
// window initialises.
int CaptureStreams() {
    bool ok = false;
    const std::string list = Server().Pactl("list short source-outputs", &ok);
    return ok ? static_cast<int>(std::count(list.begin(), list.end(), '\n')) : -1;
}

void StartOffscreen(QProcess& process, const QStringList& arguments, const QString& program = kProgram) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // The maker's servers are a closed local port: start-up checks fail at once, never hang.
    env.insert(QStringLiteral("QUOR_UPDATE_BASE_URL"), QStringLiteral("http://127.0.0.1:1"));
    env.insert(QStringLiteral("QUOR_WEB_BASE_URL"), QStringLiteral("http://127.0.0.1:1"));
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    ASSERT_TRUE(process.waitForStarted(5000)) << process.errorString().toStdString();
}
} // namespace

TEST(RecorderCommandLine, RunsOnlyWithExactlyQuorRecorderAfterThePath) {
    const char* exact[] = {"/usr/lib/QuorRecorder/QuorRecorder", "QuorRecorder"};
    EXPECT_TRUE(CQuorRecorderApp::RunsWith(CQuorRecorderApp::CommandLineText(2, exact)));
    const char* split[] = {"QuorRecorder", "Quor", "Recorder"};
    EXPECT_FALSE(CQuorRecorderApp::RunsWith(CQuorRecorderApp::CommandLineText(3, split)));
    const char* extra[] = {"QuorRecorder", "QuorRecorder", "x"};
    EXPECT_EQ(CQuorRecorderApp::CommandLineText(3, extra), "QuorRecorder x");
    EXPECT_FALSE(CQuorRecorderApp::RunsWith("QuorRecorder x"));
    EXPECT_FALSE(CQuorRecorderApp::RunsWith(" QuorRecorder"));
}

TEST(RecorderProgram, EndsAtOnceWithoutTheExactArgument) {
    ASSERT_TRUE(Server().Running());
    quortest::HiveEnv hive;
    for (const QStringList& arguments : {QStringList{}, QStringList{QStringLiteral("quorrecorder")},
                                         QStringList{QStringLiteral("QuorRecorder"), QStringLiteral("x")}}) {
        QProcess process;
        StartOffscreen(process, arguments);
        EXPECT_TRUE(process.waitForFinished(3000)) << arguments.join(' ').toStdString();
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0);
        EXPECT_EQ(CaptureStreams(), 0) << "no window, so no capture was opened";
        // Someone who ran it by hand learns how it is started, in one line.
        EXPECT_EQ(process.readAllStandardError().toStdString(),
                  "QuorRecorder: start it from the menu or with the command quorrecorder (the program itself "
                  "runs only as \"QuorRecorder QuorRecorder\").\n");
    }
}

TEST(RecorderProgram, OpensItsWindowQuicklyAndEndsInOrderOnTermination) {
    ASSERT_TRUE(Server().Running());
    quortest::HiveEnv hive;
    fs::create_directories(hive.Home() / "Music");
    WriteCkInfoOpen(1);
    QProcess process;
    StartOffscreen(process, {QStringLiteral("QuorRecorder")});
    QElapsedTimer timer;
    timer.start();
    quortest::Eventually([&] { return CaptureStreams() >= 1 || process.state() != QProcess::Running; },
                         std::chrono::seconds(3));
    EXPECT_EQ(CaptureStreams(), 1) << "the window's monitor capture is not up after " << timer.elapsed()
                                   << " ms";
    process.terminate();
    EXPECT_TRUE(process.waitForFinished(5000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << "SIGTERM closes the window, not the process";
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_EQ(CaptureStreams(), 0);
}

TEST(RecorderProgram, TheSoundServerListsBothProgramsByTheirOwnNames) {
    ASSERT_TRUE(Server().Running());
    quortest::HiveEnv hive;
    fs::create_directories(hive.Home() / "Music");
    WriteCkInfoOpen(1);
    QProcess recorder;
    StartOffscreen(recorder, {QStringLiteral("QuorRecorder")});
    QProcess splitter;
    StartOffscreen(splitter, {}, QStringLiteral(QUOR_BIN_DIR "/QuorSplit"));
    // Both connect once their windows are up; the volume control shows what the server lists.
    auto listed = [](const std::string& clients, const std::string& name) {
        return clients.find("application.name = \"" + name + "\"") != std::string::npos &&
               clients.find("application.id = \"kr.quortools." + name + "\"") != std::string::npos &&
               clients.find("application.icon_name = \"kr.quortools." + name + "\"") != std::string::npos;
    };
    std::string clients;
    quortest::Eventually([&] {
        clients = Server().Pactl("list clients");
        return listed(clients, "QuorRecorder") && listed(clients, "QuorSplit");
    });
    EXPECT_TRUE(listed(clients, "QuorRecorder")) << clients;
    EXPECT_TRUE(listed(clients, "QuorSplit")) << clients;
    EXPECT_EQ(clients.find("QuorTools"), std::string::npos) << "no shared name any more";
    recorder.terminate();
    splitter.terminate();
    EXPECT_TRUE(recorder.waitForFinished(5000));
    EXPECT_TRUE(splitter.waitForFinished(5000));
}

TEST(RecorderProgram, ExportsTheNineEncoderNames) {
    QProcess nm;
    nm.start(QStringLiteral("nm"), {QStringLiteral("-D"), QStringLiteral("--defined-only"), kProgram});
    ASSERT_TRUE(nm.waitForFinished(10000));
    const QString symbols = QString::fromUtf8(nm.readAllStandardOutput());
    for (const char* name :
         {"beInitStream", "beEncodeChunk", "beEncodeChunkFloatS16NI", "beDeinitStream", "beFlushNoGap",
          "beCloseStream", "beVersion", "beWriteVBRHeader", "beWriteInfoTag"})
        EXPECT_TRUE(symbols.contains(QStringLiteral(" T %1\n").arg(QLatin1String(name)))) << name;
}

TEST(Updater, RunsWithTheCommandLineAndIsWaitedFor) {
    quortest::HiveEnv hive;
    const fs::path folder = hive.Home() / "quortools";
    fs::create_directories(folder);
    EXPECT_FALSE(RunUpdaterIfInstalled("QuorRecorder")) << "no key: nothing to run";

    CRegistry registry;
    ASSERT_TRUE(registry.Open(platform::HKEY_CURRENT_USER, kQuortoolsKey, 1));
    ASSERT_TRUE(registry.WriteString("Install_dir", folder.string()));
    EXPECT_TRUE(FindUpdaterProgram().empty());
    EXPECT_FALSE(RunUpdaterIfInstalled("QuorRecorder")) << "no file: nothing to wait for";

    // The updater takes a moment and leaves its arguments behind when it ends.
    const fs::path updater = folder / "QuorToolUpdate";
    quortest::WriteFile(updater, "#!/bin/sh\nsleep 0.3\necho \"$#:$1\" > \"$(dirname \"$0\")/ran\"\n");
    fs::permissions(updater, fs::perms::owner_all);
    EXPECT_EQ(FindUpdaterProgram(), updater.string());
    ASSERT_TRUE(RunUpdaterIfInstalled("QuorRecorder"));
    EXPECT_EQ(quortest::ReadFile(folder / "ran"), "1:QuorRecorder\n") << "waited until it had ended";
}
