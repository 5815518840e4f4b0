// Starting programs: a stand-in pavucontrol on PATH records the arguments it was started with;
// without one, opening the panel does nothing and says so.
#include "platform/shell/ProgramLauncher.h"
#include "platform/shell/SoundControlPanel.h"
#include "tests/support/Eventually.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

namespace {

// An executable script that writes its arguments, one a line, to `out`.
void WriteRecorder(const std::filesystem::path& script, const std::filesystem::path& out) {
    quortest::WriteFile(script, "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > '" + out.string() +
                                    ".tmp'\n/bin/mv '" + out.string() + ".tmp' '" + out.string() + "'\n");
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
}

std::string WaitForFile(const std::filesystem::path& path) {
    quortest::Eventually([&] { return std::filesystem::exists(path); }, std::chrono::seconds(5));
    return std::filesystem::exists(path) ? quortest::ReadFile(path) : std::string();
}

} // namespace

TEST(SoundControlPanel, StartsPavucontrolOnTheInputDevicesTab) {
    quortest::TempDir dir;
    WriteRecorder(dir / "pavucontrol", dir / "args");
    quortest::ScopedEnv path("PATH", dir.str());
    EXPECT_TRUE(platform::OpenSoundControlPanel());
    EXPECT_EQ(WaitForFile(dir / "args"), "--tab=4\n");
}

TEST(SoundControlPanel, WithoutPavucontrolNothingHappens) {
    quortest::TempDir dir;
    quortest::ScopedEnv path("PATH", dir.str());
    EXPECT_FALSE(platform::OpenSoundControlPanel());
}

TEST(ProgramLauncher, ArgumentsArePassedAsTheyAreWithoutAShell) {
    quortest::TempDir dir;
    WriteRecorder(dir / "echoargs", dir / "args");
    const std::string program = (dir / "echoargs").string();
    EXPECT_EQ(platform::FindProgram(program), program);
    EXPECT_TRUE(platform::StartDetached(program, {"a b", "$HOME", "\"quoted\"; rm -rf x"}));
    EXPECT_EQ(WaitForFile(dir / "args"), "a b\n$HOME\n\"quoted\"; rm -rf x\n");
    EXPECT_EQ(platform::FindProgram((dir / "missing").string()), "");
    EXPECT_FALSE(platform::StartDetached((dir / "missing").string(), {}));
}
