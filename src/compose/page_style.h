#pragma once

// The HTML tab's style settings made into a style sheet that today's browsers
// apply. The settings are typed the way the HTML 4.01 page has always pasted
// them, with quoted values such as color:"#FF0000";font-size:"12px"; which a
// browser ignores. Here every declaration is read on its own: quotes come off
// colours and lengths, a font family stays a quoted string, the background
// image becomes url("..."), and whatever could end the style element or the
// rule (<, {, }, quotes, backslashes, comments) either is escaped inside a
// string or drops its declaration. Nothing a setting holds can reach the page
// outside its declaration.

#include <string>
#include <string_view>

namespace kelvaro {

// "color:#FF0000;font-size:12px": the declarations of one setting, without the
// braces and without a ';' after the last; "" when none is usable.
std::string CssDeclarations(std::string_view setting);

// "background-color:#FFFFFF", or "" when the colour is empty or unusable.
std::string CssBackgroundColour(std::string_view colour);

// "background-image:url(\"images/back.gif\")", or "" for an empty path.
std::string CssBackgroundImage(std::string_view path);

// A CSS string literal holding `text`: in double quotes, with quotes,
// backslashes, '<' and control characters written as escapes.
std::string CssString(std::string_view text);

} // namespace kelvaro
