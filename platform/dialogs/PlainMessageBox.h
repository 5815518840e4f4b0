// The platform's plain message box, for code below the GUI (the MP3 writer, the player).
// A GUI program installs a handler at start-up; without one the text goes to standard error.
#pragma once

#include <functional>
#include <string>

namespace platform {

enum class MessageBoxIcon { None, Error };

using PlainMessageBoxHandler =
    std::function<void(const std::string& text, const std::string& caption, MessageBoxIcon icon)>;

// Shows text with an OK button; returns when the user has closed it. Any thread may call it;
// the handler decides how to reach the window thread.
void ShowPlainMessageBox(const std::string& text, const std::string& caption = {},
                         MessageBoxIcon icon = MessageBoxIcon::None);

// Installs a handler and returns the previous one (empty for the standard-error fallback).
PlainMessageBoxHandler SetPlainMessageBoxHandler(PlainMessageBoxHandler handler);

} // namespace platform
