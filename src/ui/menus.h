#pragma once

// The menu bar and where each of its commands goes. Every entry is one row of
// the table in menus.cpp: its menu, caption, object name, shortcut and the
// core command it runs.

#include "session/session.h"

#include <functional>

class QMainWindow;

namespace kelvaro::ui {

// Builds the menu bar of `window`. `run` runs one command of the session the
// way every command of the window runs; アプリケーションの終了 closes the
// window instead.
void BuildMenus(QMainWindow& window, const std::function<void(void (*)(Session&))>& run);

} // namespace kelvaro::ui
