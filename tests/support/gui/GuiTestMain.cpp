// main() of every GUI test program: offscreen platform, a private 0700 runtime folder, one
// QApplication and the program fonts, then GoogleTest.
#include "ui/Fonts.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {
// The runtime folder lives as long as the program; it is removed on a normal exit.
struct RuntimeDir {
    std::string path;
    RuntimeDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quorgui-XXXXXX").string();
        if (mkdtemp(pattern.data()))
            path = pattern; // mkdtemp creates it 0700
    }
    ~RuntimeDir() {
        std::error_code ignored;
        if (!path.empty())
            std::filesystem::remove_all(path, ignored);
    }
};
} // namespace

int main(int argc, char** argv) {
    // QUOR_GUI_PLATFORM=xcb runs the same tests on a real X server (under xvfb-run) to look at.
    const char* platform = std::getenv("QUOR_GUI_PLATFORM");
    setenv("QT_QPA_PLATFORM", platform ? platform : "offscreen", 1);
    RuntimeDir runtime;
    if (!runtime.path.empty())
        setenv("XDG_RUNTIME_DIR", runtime.path.c_str(), 1);
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    ui::SetUpFonts();
    return RUN_ALL_TESTS();
}
