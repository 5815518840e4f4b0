// The font configuration read ahead: fontconfig parses its configuration files and caches the
// first time anyone asks for a font, which takes tens of milliseconds before a window with text
// can paint. Started first thing in main, that work runs on a worker thread while the program
// connects to the window system.
// Fontconfig does not make a second caller wait for the first: a thread that asks while the
// worker still reads parses everything again beside it, and on a busy machine the window thread
// did just that. So the window thread calls WaitUntilRead() before it builds its window.
#pragma once

#include <thread>

namespace ui {

class FontWarmUp {
public:
    FontWarmUp();  // one at a time, in main
    ~FontWarmUp(); // waits for the worker, which never takes long
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

    // Returns once the configuration is read; at once without a warm-up (tests). Window thread.
    static void WaitUntilRead();

private:
    std::thread m_Worker;
};

} // namespace ui
