#include "support/rendered.h"

#include "support/fixtures.h"

#include "platform/text.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>

namespace kelvaro::test {
namespace {

std::string DecodeEntities(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out += text[i];
            continue;
        }
        const std::size_t semicolon = text.find(';', i);
        if (semicolon == std::string::npos || semicolon - i > 10) {
            out += '&';
            continue;
        }
        const std::string name = text.substr(i + 1, semicolon - i - 1);
        if (name == "lt") {
            out += '<';
        } else if (name == "gt") {
            out += '>';
        } else if (name == "amp") {
            out += '&';
        } else if (name == "quot") {
            out += '"';
        } else if (name == "nbsp") {
            out += "\u00A0";
        } else if (name.size() > 1 && name[0] == '#') {
            const bool hex = name[1] == 'x' || name[1] == 'X';
            AppendUtf8(out, static_cast<char32_t>(
                                std::stoul(name.substr(hex ? 2 : 1), nullptr, hex ? 16 : 10)));
        } else {
            out += '&';
            continue;
        }
        i = semicolon;
    }
    return out;
}

bool IsVoid(const std::string& tag) {
    for (const char* v : {"br", "hr", "img", "meta", "link", "input", "area", "base", "col",
                          "embed", "source", "track", "wbr"}) {
        if (tag == v) {
            return true;
        }
    }
    return false;
}

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

// The attributes of a start tag's inside ("a href=\"x\" class=y").
void ReadAttributes(const std::string& inside, HtmlNode& node) {
    std::size_t i = 0;
    while (i < inside.size()) {
        while (i < inside.size() && (inside[i] == ' ' || inside[i] == '\n' || inside[i] == '/')) {
            ++i;
        }
        std::size_t start = i;
        while (i < inside.size() && inside[i] != '=' && inside[i] != ' ' && inside[i] != '/') {
            ++i;
        }
        if (start == i) {
            break;
        }
        const std::string name = Lower(inside.substr(start, i - start));
        std::string value;
        if (i < inside.size() && inside[i] == '=') {
            ++i;
            if (i < inside.size() && (inside[i] == '"' || inside[i] == '\'')) {
                const char quote = inside[i++];
                const std::size_t end = inside.find(quote, i);
                value = inside.substr(i, end - i);
                i = end == std::string::npos ? inside.size() : end + 1;
            } else {
                start = i;
                while (i < inside.size() && inside[i] != ' ') {
                    ++i;
                }
                value = inside.substr(start, i - start);
            }
        }
        node.Attributes[name] = DecodeEntities(value);
    }
}

std::string TempPage(const TempFolder& folder, const std::string& name,
                     const std::string& content) {
    const std::string path = folder.File(name);
    WriteBytes(path, content);
    return path;
}

} // namespace

std::string CmarkGfm() {
    return KELVARO_CMARK_GFM;
}
std::string Tidy() {
    return KELVARO_TIDY;
}
std::string Python3() {
    return KELVARO_PYTHON3;
}
std::string Chromium() {
    return KELVARO_CHROMIUM;
}

std::string RenderMarkdown(const std::string& markdown) {
    TempFolder folder;
    const std::string path = TempPage(folder, "README.md", markdown);
    ToolRun run = RunTool(
        {CmarkGfm(), "-e", "table", "-e", "autolink", "-e", "strikethrough", "--to", "html", path});
    EXPECT_EQ(run.Status, 0) << run.Err;
    return run.Out;
}

ToolRun TidyReport(const std::string& page) {
    TempFolder folder;
    const std::string path = TempPage(folder, "page.html", page);
    ToolRun run = RunTool({Tidy(), "-errors", "-q", path});
    // tidy writes its findings to standard error.
    run.Out += run.Err;
    return run;
}

std::string Html5libErrors(const std::string& page) {
    TempFolder folder;
    const std::string path = TempPage(folder, "page.html", page);
    const char* script = "import sys, html5lib\n"
                         "parser = html5lib.HTMLParser(strict=True)\n"
                         "try:\n"
                         "    parser.parse(open(sys.argv[1], 'rb'))\n"
                         "except html5lib.html5parser.ParseError as e:\n"
                         "    print('ParseError:', e)\n"
                         "for error in parser.errors:\n"
                         "    print(error)\n";
    ToolRun run = RunTool({Python3(), "-c", script, path});
    EXPECT_EQ(run.Status, 0) << run.Err;
    return run.Out;
}

std::string ChromiumDom(const std::string& page) {
    TempFolder folder;
    const std::string path = TempPage(folder, "page.html", page);
    ToolRun run =
        RunTool({Chromium(), "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update", "--disable-sync",
                 "--user-data-dir=" + folder.File("profile"), "--dump-dom", "file://" + path});
    EXPECT_EQ(run.Status, 0) << run.Err;
    return run.Out;
}

std::string HtmlNode::TextContent() const {
    if (Tag.empty()) {
        return Text;
    }
    if (Tag == "br") {
        return "\n";
    }
    // As a browser shows it: the line feed a writer puts after <br> is no
    // second break, and any other line feed in the text is a space.
    std::string text;
    bool afterBreak = false;
    for (const auto& child : Children) {
        if (child->Tag == "!--") {
            continue;
        }
        std::string part = child->TextContent();
        if (child->Tag.empty()) {
            if (afterBreak && part.starts_with("\n")) {
                part.erase(0, 1);
            }
            for (char& c : part) {
                c = c == '\n' ? ' ' : c;
            }
        }
        afterBreak = child->Tag == "br";
        text += part;
    }
    return text;
}

std::string HtmlNode::RawText() const {
    if (Tag.empty()) {
        return Text;
    }
    std::string text;
    for (const auto& child : Children) {
        if (child->Tag != "!--") {
            text += child->RawText();
        }
    }
    return text;
}

std::vector<const HtmlNode*> HtmlNode::FindAll(const std::string& tag) const {
    std::vector<const HtmlNode*> found;
    for (const auto& child : Children) {
        if (child->Tag == tag) {
            found.push_back(child.get());
        }
        for (const HtmlNode* below : child->FindAll(tag)) {
            found.push_back(below);
        }
    }
    return found;
}

std::vector<std::string> HtmlNode::AllTags() const {
    std::vector<std::string> tags;
    for (const auto& child : Children) {
        if (child->Tag.empty()) {
            continue;
        }
        tags.push_back(child->Tag);
        for (std::string& below : child->AllTags()) {
            tags.push_back(std::move(below));
        }
    }
    return tags;
}

std::vector<const HtmlNode*> HtmlNode::Elements() const {
    std::vector<const HtmlNode*> elements;
    for (const auto& child : Children) {
        if (!child->Tag.empty() && child->Tag != "!--") {
            elements.push_back(child.get());
        }
    }
    return elements;
}

std::string HtmlNode::Attribute(const std::string& name) const {
    auto it = Attributes.find(name);
    return it == Attributes.end() ? std::string() : it->second;
}

std::unique_ptr<HtmlNode> ParseHtml(const std::string& html) {
    auto root = std::make_unique<HtmlNode>();
    root->Tag = "#root";
    std::vector<HtmlNode*> open{root.get()};
    std::size_t i = 0;
    auto addText = [&](const std::string& raw) {
        if (raw.empty()) {
            return;
        }
        auto text = std::make_unique<HtmlNode>();
        text->Text = DecodeEntities(raw);
        open.back()->Children.push_back(std::move(text));
    };
    while (i < html.size()) {
        const std::size_t lt = html.find('<', i);
        if (lt == std::string::npos) {
            addText(html.substr(i));
            break;
        }
        addText(html.substr(i, lt - i));
        if (html.compare(lt, 4, "<!--") == 0) {
            const std::size_t end = html.find("-->", lt + 4);
            auto comment = std::make_unique<HtmlNode>();
            comment->Tag = "!--";
            comment->Text = html.substr(lt + 4, end - lt - 4);
            open.back()->Children.push_back(std::move(comment));
            i = end == std::string::npos ? html.size() : end + 3;
            continue;
        }
        const std::size_t gt = html.find('>', lt);
        if (gt == std::string::npos) {
            addText(html.substr(lt));
            break;
        }
        std::string inside = html.substr(lt + 1, gt - lt - 1);
        i = gt + 1;
        if (!inside.empty() && inside[0] == '!') {
            continue; // <!DOCTYPE ...>
        }
        if (!inside.empty() && inside[0] == '/') {
            const std::string tag = Lower(inside.substr(1));
            for (std::size_t k = open.size(); k > 1; --k) {
                if (open[k - 1]->Tag == tag) {
                    open.resize(k - 1);
                    break;
                }
            }
            continue;
        }
        const std::size_t nameEnd = inside.find_first_of(" \n/");
        auto element = std::make_unique<HtmlNode>();
        element->Tag = Lower(inside.substr(0, nameEnd));
        if (nameEnd != std::string::npos) {
            ReadAttributes(inside.substr(nameEnd), *element);
        }
        HtmlNode* added = element.get();
        open.back()->Children.push_back(std::move(element));
        if (!IsVoid(added->Tag) && !inside.ends_with("/")) {
            open.push_back(added);
            if (added->Tag == "script" || added->Tag == "style") {
                // Raw text up to the end tag.
                const std::size_t end = html.find("</" + added->Tag, i);
                auto text = std::make_unique<HtmlNode>();
                text->Text = html.substr(i, end - i);
                added->Children.push_back(std::move(text));
                i = end == std::string::npos ? html.size() : end;
            }
        }
    }
    return root;
}

} // namespace kelvaro::test
