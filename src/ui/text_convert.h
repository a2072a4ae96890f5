#pragma once

// The core keeps text as UTF-8 with CR LF line ends, as its files do; Qt's
// widgets hold QString with LF. These are the only places the two meet.

#include <QString>

#include <string>
#include <string_view>

namespace kelvaro::ui {

QString ToQt(std::string_view utf8);
std::string FromQt(const QString& text);

// Multi-line boxes show CR LF as one line break; a lone CR or LF stays as it
// is, so a text the user does not touch goes back unchanged.
QString ToBoxText(std::string_view crlfText);
// What the user typed: every line break becomes CR LF.
std::string FromBoxText(const QString& text);

} // namespace kelvaro::ui
