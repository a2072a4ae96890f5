#pragma once

// What the program sets up before its window: the display check, Qt's
// Japanese translations and the box font's stand-in.

#include <string>

class QApplication;

namespace kelvaro::ui {

// The one line printed when there is no display to open the window on; empty
// when there is one (or Qt has been told which platform to use).
std::string MissingDisplayMessage();

// Qt's own dialogs speak Japanese, and the box font "ＭＳ ゴシック" is drawn with
// a Japanese monospaced font that is installed here.
void SetUpJapanese(QApplication& app);

} // namespace kelvaro::ui
