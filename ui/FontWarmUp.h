// The font configuration read ahead: fontconfig parses its configuration files and caches the
// first time anyone asks for a font, which takes tens of milliseconds before a window with text
// can paint. Started first thing in main, that work runs on a worker thread while the program
// connects to the window system and builds its window. Fontconfig is thread-safe: whichever
// thread comes first loads the configuration and the other uses it.
#pragma once

#include <thread>

namespace ui {

class FontWarmUp {
public:
    FontWarmUp();
    ~FontWarmUp(); // waits for the worker, which never takes long
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

private:
    std::thread m_Worker;
};

} // namespace ui
