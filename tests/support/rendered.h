#pragma once

// Looking at what a ReadMe becomes in the real tools: Markdown rendered by
// cmark-gfm, a page checked by tidy and html5lib or laid out by Chromium, and
// the HTML those tools give read into a small tree that tests can walk. Each
// tool is found when the build is configured; a test skips (GTEST_SKIP) when
// its tool is missing, and fails when the tool is there but cannot be run.

#include "support/child_process.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kelvaro::test {

// The path of a tool as configured ("" when it was not found).
std::string CmarkGfm();
std::string Tidy();
std::string Python3();
std::string Chromium();

// `markdown` rendered with cmark-gfm -e table -e autolink -e strikethrough --to html.
std::string RenderMarkdown(const std::string& markdown);

// What tidy -errors -q reports about the page, and its exit status.
ToolRun TidyReport(const std::string& page);

// The errors html5lib reports when it parses the page strictly ("" for none).
std::string Html5libErrors(const std::string& page);

// Chromium headless's DOM of the page after its scripts ran (--dump-dom).
std::string ChromiumDom(const std::string& page);

// An element of HTML read back, or a text (Tag empty) or comment ("!--") node.
struct HtmlNode {
    std::string Tag;
    std::map<std::string, std::string> Attributes;
    std::string Text; // text and comment nodes: their text, entities decoded
    std::vector<std::unique_ptr<HtmlNode>> Children;

    // The text of the node and everything in it as a browser shows it: a <br> is
    // a line feed, a line feed in the text a space.
    std::string TextContent() const;
    // The text of the node and everything in it exactly as the source holds it
    // (for text whose line feeds count, as in a white-space: pre-wrap box).
    std::string RawText() const;
    // Every element below this node with the tag, in document order.
    std::vector<const HtmlNode*> FindAll(const std::string& tag) const;
    // The tag of every element below this node, in document order.
    std::vector<std::string> AllTags() const;
    // The element children only.
    std::vector<const HtmlNode*> Elements() const;
    std::string Attribute(const std::string& name) const;
};

// Reads well-formed HTML as cmark-gfm and Chromium write it: start and end
// tags, void elements, comments and text with character references. Not a
// general HTML parser.
std::unique_ptr<HtmlNode> ParseHtml(const std::string& html);

} // namespace kelvaro::test
