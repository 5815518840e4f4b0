// One offscreen QApplication for the slider tests.
#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (!getenv("XDG_RUNTIME_DIR")) {
        static char runtime[] = "/tmp/qrtXXXXXX";
        if (mkdtemp(runtime))
            setenv("XDG_RUNTIME_DIR", runtime, 1);
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
