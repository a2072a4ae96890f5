#pragma once

// The menu bar drawn with Qt from the window's menu description
// (window/menus.h), where every entry's caption, name, shortcut and command is.

#include "session/session.h"

#include <functional>

class QMainWindow;

namespace kelvaro::ui {

// Builds the menu bar of `window`. `run` runs one command of the session the
// way every command of the window runs; アプリケーションの終了 closes the
// window instead.
void BuildMenus(QMainWindow& window, const std::function<void(void (*)(Session&))>& run);

} // namespace kelvaro::ui
