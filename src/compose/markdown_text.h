#pragma once

// A long text written in Markdown: told by its first line, and shown as plain
// text by the layouts that are no Markdown.

#include <optional>
#include <string>
#include <string_view>

namespace kelvaro {

// The text under the marker line when `text` begins with it; nullopt for a text
// typed as it should show.
std::optional<std::string_view> MarkdownBody(std::string_view text);

// Character references (named, decimal, hex) and, with `backslashes`,
// Markdown's backslash escapes as the characters they stand for; anything else
// as it stands.
std::string DecodeEntities(std::string_view text, bool backslashes);

// True when `line` opens a fenced code block (`fence` empty, and then set to
// its opening run) or closes the one `fence` opened (`fence` then emptied).
bool FenceLine(std::string_view line, std::string_view& fence);

// The Markdown as a reader of plain text wants it: list markers, quotes and
// indentation as typed; a link or an image as its text and its address in
// brackets; fences, emphasis and strikethrough marks, the backticks of code,
// heading marks and hard-break backslashes left off; escapes and character
// references as their characters. Lines
// end in CR LF.
std::string MarkdownAsPlainText(std::string_view markdown);

} // namespace kelvaro
