#include "FontWarmUp.h"

#include <fontconfig/fontconfig.h>

namespace ui {

FontWarmUp::FontWarmUp() : m_Worker([] { FcInit(); }) {}

FontWarmUp::~FontWarmUp() {
    if (m_Worker.joinable())
        m_Worker.join();
}

} // namespace ui
