// main() of every test program that runs Qt, windows or not: offscreen platform, a private 0700
// runtime folder, one QApplication and the program fonts, then GoogleTest.
#include "tests/support/Eventually.h"
#include "ui/Fonts.h"

#include <QApplication>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

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

// What a test waits for on the GUI thread mostly comes through the event loop (queued signals,
// timers, repaints, finished transfers), so a wait there runs the loop; other threads sleep.
void WaitStep() {
    const QCoreApplication* app = QCoreApplication::instance();
    if (app && QThread::currentThread() == app->thread())
        QTest::qWait(10); // the poll interval of Eventually
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(10)); // the poll interval of Eventually
}
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
    quortest::SetWaitStep(WaitStep);
    return RUN_ALL_TESTS();
}
