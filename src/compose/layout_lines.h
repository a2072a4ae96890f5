#pragma once

// The fixed lines, tags and brackets of the layouts the program writes, in one
// place: the composers write them and the importer reads them back by the same
// constants, so a change to a layout is one edit that both sides follow.

#include <string_view>

namespace kelvaro::layout_lines {

// The first line of a long text written in Markdown (one taken from a README.md):
// the Markdown ReadMe writes the text under it as it stands, the other layouts
// as plain text. An HTML comment, so it shows nowhere when rendered, and a line
// like any other in a form file, so the form keeps it without a field of its own.
inline constexpr std::string_view MarkdownMarker = "<!-- markdown -->";

// Between a name and its value on one line (text and HTML 4.01).
inline constexpr std::string_view IdeographicSpace = "　";

namespace html401 {
inline constexpr std::string_view TopicOpen = "<FONT class=\"Topic\">";
inline constexpr std::string_view PauseOpen = "<FONT class=\"Pause\">";
inline constexpr std::string_view FontClose = "</FONT>";
inline constexpr std::string_view LineEnd = "<BR>";
inline constexpr std::string_view TextEnd = "<BR><BR>";
inline constexpr std::string_view Rule = "<HR>";
inline constexpr std::string_view PageEnd = "</BODY></HTML>";
inline constexpr std::string_view LinkOpen = "<A href=\"";
inline constexpr std::string_view LinkMiddle = "\">";
inline constexpr std::string_view LinkClose = "</A>";
inline constexpr std::string_view MailScheme = "mailto:";
inline constexpr std::string_view HtmlHead = "<HTML><HEAD>";
inline constexpr std::string_view StyleOpen = "<STYLE type=\"text/css\"><!--";
inline constexpr std::string_view StyleClose = "--></STYLE>";
inline constexpr std::string_view TitleOpen = "<TITLE>";
inline constexpr std::string_view TitleClose = "</TITLE>";
inline constexpr std::string_view HeadClose = "</HEAD>";
inline constexpr std::string_view BodyOpen = "<BODY>";
} // namespace html401

namespace markdown {
inline constexpr std::string_view NameHeading = "# ";
inline constexpr std::string_view TextHeading = "## ";
inline constexpr std::string_view Rule = "***";
inline constexpr std::string_view TableHead = "| 項目 | 内容 |";
inline constexpr std::string_view TableRule = "| --- | --- |";
inline constexpr std::string_view RowOpen = "| ";
inline constexpr std::string_view CellBetween = " | ";
inline constexpr std::string_view RowClose = " |";
inline constexpr std::string_view NonBreakingSpace = "&nbsp;";
} // namespace markdown

} // namespace kelvaro::layout_lines
