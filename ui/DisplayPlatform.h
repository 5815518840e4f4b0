// Which window system the programs use. Must be called before QApplication is created.
#pragma once

namespace ui {

// On a Wayland session that offers XWayland, the skinned windows go through X11: only there can
// they keep above other windows, be moved by their body and keep their shape on every
// compositor. A platform the user chose (QT_QPA_PLATFORM) wins; without XWayland Qt chooses.
void PreferX11OnWayland();

} // namespace ui
