// The window system chosen before the application starts: X11 through XWayland on a Wayland
// session, unless the user chose one, and Qt's own choice where there is no XWayland.
#include "tests/support/TempDir.h"
#include "ui/DisplayPlatform.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using Value = std::optional<std::string>;

TEST(DisplayPlatform, XWaylandOnAWaylandSessionUnlessTheUserChoseOrThereIsNone) {
    struct Case {
        Value wayland, display, chosen, expected;
    };
    const Case cases[] = {{"wayland-0", ":0", {}, "xcb"},
                          {"wayland-0", ":0", "wayland", "wayland"},
                          {"wayland-0", {}, {}, {}},
                          {{}, ":0", {}, {}}};
    for (const Case& c : cases) {
        const quortest::ScopedEnv wayland("WAYLAND_DISPLAY", c.wayland), display("DISPLAY", c.display),
            chosen("QT_QPA_PLATFORM", c.chosen);
        ui::PreferX11OnWayland();
        const char* platform = std::getenv("QT_QPA_PLATFORM");
        EXPECT_EQ(platform ? Value(platform) : Value(), c.expected)
            << c.wayland.value_or("-") << " " << c.display.value_or("-") << " " << c.chosen.value_or("-");
    }
}

} // namespace
