#pragma once

// One layout per ReadMe format: how the page begins and ends and how each kind
// of entry is written. What is written, and in which order, is decided once for
// every format by the composer (compose_readme.cpp): the walk over the item
// order, the names, the placeholder replacement, the leaving out of empty
// items, the separator line and the unknown keys. Internal to src/compose.

#include "compose/markdown_text.h"
#include "model/form.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace kelvaro {

// An item's name in the two forms the layouts write.
struct TopicName {
    std::string_view Plain;   // the key, or the user's name for a user item
    std::string_view Aligned; // as the text ReadMe writes it: the fixed single-line
                              // names centred in 12 columns, the others as Plain
};

enum class LinkKind {
    HomePage, // the value is the address
    Mail,     // the value is an e-mail address
};

class ReadMeLayout {
public:
    ReadMeLayout(const Form& form, std::string& out) : form_(form), out_(out) {}
    virtual ~ReadMeLayout() = default;
    ReadMeLayout(const ReadMeLayout&) = delete;
    ReadMeLayout& operator=(const ReadMeLayout&) = delete;

    // About how many bytes of its own one written entry adds, for the estimate
    // of the ReadMe's size.
    virtual std::size_t MarkupPerEntry() const = 0;
    // True when a separator is the separator characters repeated by the count;
    // false when the layout draws a rule of its own and never reads them.
    virtual bool WritesPauseCharacters() const = 0;

    virtual void PageHead() = 0;
    virtual void SingleLine(const TopicName& name, std::string_view value) = 0;
    // The home page or the mail address; the value is never replaced.
    virtual void Link(const TopicName& name, LinkKind kind, std::string_view value) = 0;
    virtual void LongText(const TopicName& name, std::string_view text) = 0;
    // A long text written in Markdown (`markdown` is the text under its marker
    // line): as plain text, unless the layout is Markdown itself.
    virtual void MarkdownText(const TopicName& name, std::string_view markdown);
    // `pauseLine` is empty when WritesPauseCharacters() is false.
    virtual void Separator(std::string_view pauseLine) = 0;
    virtual void CreditLine(std::string_view text) = 0;
    virtual void PageEnd() = 0;

protected:
    const Form& Values() const { return form_; }
    std::string& Out() { return out_; }

private:
    const Form& form_;
    std::string& out_;
};

inline void ReadMeLayout::MarkdownText(const TopicName& name, std::string_view markdown) {
    LongText(name, MarkdownAsPlainText(markdown));
}

std::unique_ptr<ReadMeLayout> MakeTextLayout(const Form& form, std::string& out);
std::unique_ptr<ReadMeLayout> MakeHtmlLayout(const Form& form, std::string& out);
std::unique_ptr<ReadMeLayout> MakeMarkdownLayout(const Form& form, std::string& out);
std::unique_ptr<ReadMeLayout> MakeHtml5Layout(const Form& form, std::string& out);

// The address a home page or mail link points to in the layouts that make
// links safe: "mailto:" before a mail address, and every byte that has no place
// in an address (blanks, quotes, angle brackets, backslashes, control and
// non-ASCII bytes) percent-encoded, so it stays one address whatever was typed.
// Empty when the value is empty or, for a home page, is no http: or https:
// address (javascript:, data:, a scheme hidden behind an entity, a bare host
// name): such a value is shown as text, not linked.
std::string LinkAddress(LinkKind kind, std::string_view value);

// The HTML 4.01 page's third line, which declares its character set, for a
// charset name ("Shift_JIS", "UTF-8").
std::string Html401CharsetLine(std::string_view charset);

// What the HTML 4.01 page holds before that line: its first two lines, each
// with its CR LF.
std::string_view Html401PageStart();

} // namespace kelvaro
