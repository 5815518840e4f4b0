// The standard results of a modal box: what its OK and Cancel buttons return.
#pragma once

namespace ui {
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
} // namespace ui
