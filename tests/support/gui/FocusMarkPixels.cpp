#include "tests/support/gui/FocusMarkPixels.h"

#include "tests/support/gui/GuiHelpers.h"
#include "ui/FocusMark.h"

#include <cstdlib>

namespace quortest::gui {

int FocusAccentPixels(QWidget* control) {
    const QImage shot = Grab(control);
    const QColor accent = ui::kFocusAccent;
    int count = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            count += std::abs(c.red() - accent.red()) + std::abs(c.green() - accent.green()) +
                         std::abs(c.blue() - accent.blue()) <
                     60;
        }
    return count;
}

} // namespace quortest::gui
