// The plain-text ReadMe: every name in the form's brackets, a single-line value
// after an ideographic space, a long text under its name and a blank line after
// it, values exactly as typed, CR LF line ends.

#include "compose/layout_lines.h"
#include "compose/readme_layout_internal.h"

namespace kelvaro {
namespace {

constexpr std::string_view CRLF = "\r\n";
using layout_lines::IdeographicSpace;

class TextLayout final : public ReadMeLayout {
public:
    using ReadMeLayout::ReadMeLayout;

    std::size_t MarkupPerEntry() const override { return 64; }
    bool WritesPauseCharacters() const override { return true; }

    void PageHead() override {}

    void SingleLine(const TopicName& name, std::string_view value) override {
        AppendTopic(name);
        Out() += IdeographicSpace;
        Out() += value;
        Out() += CRLF;
    }

    void Link(const TopicName& name, LinkKind /*kind*/, std::string_view value) override {
        SingleLine(name, value);
    }

    void LongText(const TopicName& name, std::string_view text) override {
        AppendTopic(name);
        Out() += CRLF;
        Out() += text;
        Out() += CRLF;
        Out() += CRLF;
    }

    void Separator(std::string_view pauseLine) override {
        Out() += pauseLine;
        Out() += CRLF;
    }

    // No line end of its own: whatever follows continues its line.
    void CreditLine(std::string_view text) override { Out() += text; }

    void PageEnd() override {}

private:
    void AppendTopic(const TopicName& name) {
        Out() += Values().LeftBracket;
        Out() += name.Aligned;
        Out() += Values().RightBracket;
    }
};

} // namespace

std::unique_ptr<ReadMeLayout> MakeTextLayout(const Form& form, std::string& out) {
    return std::make_unique<TextLayout>(form, out);
}

} // namespace kelvaro
