// Routes plain message boxes to the installed GUI handler, or to standard error.
#include "platform/dialogs/PlainMessageBox.h"

#include <cstdio>
#include <mutex>

namespace platform {
namespace {
std::mutex g_lock;
PlainMessageBoxHandler g_handler;
} // namespace

void ShowPlainMessageBox(const std::string& text, const std::string& caption, MessageBoxIcon icon) {
    PlainMessageBoxHandler handler;
    {
        std::lock_guard<std::mutex> guard(g_lock);
        handler = g_handler;
    }
    if (handler) {
        handler(text, caption, icon);
        return;
    }
    std::fprintf(stderr, "%s%s%s\n", caption.c_str(), caption.empty() ? "" : ": ", text.c_str());
}

PlainMessageBoxHandler SetPlainMessageBoxHandler(PlainMessageBoxHandler handler) {
    std::lock_guard<std::mutex> guard(g_lock);
    std::swap(g_handler, handler);
    return handler;
}

} // namespace platform
