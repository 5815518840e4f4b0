#include "ui/FontWarmUp.h"

#include <fontconfig/fontconfig.h>

namespace ui {

namespace {
FontWarmUp* g_Current = nullptr;
} // namespace

FontWarmUp::FontWarmUp() : m_Worker([] { FcInit(); }) {
    g_Current = this;
}

FontWarmUp::~FontWarmUp() {
    if (m_Worker.joinable())
        m_Worker.join();
    if (g_Current == this)
        g_Current = nullptr;
}

void FontWarmUp::WaitUntilRead() {
    if (g_Current && g_Current->m_Worker.joinable())
        g_Current->m_Worker.join();
}

} // namespace ui
