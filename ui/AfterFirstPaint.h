// Runs slow start-up work (opening sound devices, reading a file) once the window has shown its
// first frame, so that the window appears at once and fills in a moment later.
#pragma once

#include <functional>

class QWidget;

namespace ui {

// Calls `work` once, from the event loop, after `window` has painted for the first time, or one
// second after it was shown if it never paints (minimised, hidden by the window system). Nothing
// runs if the window is destroyed first.
void AfterFirstPaint(QWidget* window, std::function<void()> work);

} // namespace ui
