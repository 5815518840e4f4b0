// How much of the skin's focus mark a control shows. GUI thread only.
#pragma once

class QWidget;

namespace quortest::gui {

// Pixels of the focus accent in the control's picture; compare with the same control unmarked.
int FocusAccentPixels(QWidget* control);

} // namespace quortest::gui
