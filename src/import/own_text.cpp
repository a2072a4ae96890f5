// Reads back the text ReadMe the program writes: the bracketed names, the
// long texts under them, the separator line and the credit.

#include "compose/compose_readme.h"
#include "compose/page_style.h"
#include "import/own_layout_parts.h"
#include "model/catalogue.h"
#include "platform/text.h"

namespace kelvaro {
namespace {

using namespace own_layout;

class TextReader {
public:
    TextReader(std::string_view text, Brackets brackets)
        : text_(text), b_(std::move(brackets)), credit_(CreditText()) {
        for (const CatalogueItem& item : Catalogue()) {
            if (IsFixedSingle(item)) {
                singles_.emplace_back(b_.Left + std::string(item.OutputName) + b_.Right +
                                          std::string(IdeographicSpace),
                                      std::string(item.OutputName));
            } else if (item.Kind == ItemKind::LongText) {
                longs_.push_back(b_.Left + std::string(item.Key) + b_.Right);
            }
        }
    }

    std::optional<ImportResult> Read() {
        std::size_t at = 0;
        while (at < text_.size()) {
            if (!ReadEntry(at)) {
                return std::nullopt;
            }
        }
        out_.report().Format = ReadMeFormat::Text;
        return out_.Finish();
    }

private:
    enum class Kind { None, Credit, Separator, Single, FixedLong, UserSingle, UserLong };

    struct Line {
        std::string_view Text;
        std::size_t Next; // after its CR LF; npos without one
    };

    Line LineAt(std::size_t at) const {
        const std::size_t end = text_.find("\r\n", at);
        if (end == std::string_view::npos) {
            return Line{text_.substr(at), std::string_view::npos};
        }
        return Line{text_.substr(at, end - at), end + 2};
    }

    Kind KindAt(std::size_t at, bool learning) const {
        if (text_.compare(at, credit_.size(), credit_) == 0) {
            return Kind::Credit;
        }
        const Line line = LineAt(at);
        if (line.Next == std::string_view::npos) {
            return Kind::None;
        }
        if (pause_ && line.Text == *pause_) {
            return Kind::Separator;
        }
        for (const auto& single : singles_) {
            if (line.Text.starts_with(single.first)) {
                return Kind::Single;
            }
        }
        if (std::find(longs_.begin(), longs_.end(), line.Text) != longs_.end()) {
            return Kind::FixedLong;
        }
        if (!pause_ && Repeats(line.Text)) {
            return Kind::Separator;
        }
        const bool userShaped = line.Text.starts_with(b_.Left) &&
                                line.Text.size() >= b_.Left.size() + b_.Right.size() &&
                                (line.Text.ends_with(b_.Right) ||
                                 line.Text.find(b_.Right + std::string(IdeographicSpace),
                                                b_.Left.size()) != std::string_view::npos);
        if (!pause_ && learning && (!userShaped || line.Text.empty())) {
            return Kind::Separator; // the first line that is no entry's: the separator line
        }
        if (line.Text.starts_with(b_.Left) &&
            line.Text.find(b_.Right + std::string(IdeographicSpace), b_.Left.size()) !=
                std::string_view::npos) {
            return Kind::UserSingle;
        }
        if (line.Text.starts_with(b_.Left) && line.Text.ends_with(b_.Right) &&
            line.Text.size() >= b_.Left.size() + b_.Right.size()) {
            return Kind::UserLong;
        }
        return Kind::None;
    }

    bool StartsEntry(std::size_t at) const {
        return at == text_.size() || KindAt(at, false) != Kind::None;
    }

    // The long text after its name's line: up to the blank line before the next entry.
    std::optional<std::string> LongBody(std::size_t& at) const {
        std::size_t end = text_.find("\r\n\r\n", at);
        while (end != std::string_view::npos && !StartsEntry(end + 4)) {
            end = text_.find("\r\n\r\n", end + 1);
        }
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
        std::string body(text_.substr(at, end - at));
        at = end + 4;
        return body;
    }

    bool ReadEntry(std::size_t& at) {
        const Kind kind = KindAt(at, true);
        const Line line = LineAt(at);
        // No form puts thousands of separators in a row; a text of blank lines
        // would otherwise read as one, an entry per line, far larger than the file.
        separatorRun_ = kind == Kind::Separator ? separatorRun_ + 1 : 0;
        if (separatorRun_ > MaxSeparatorRun) {
            return false;
        }
        switch (kind) {
        case Kind::None:
            return false;
        case Kind::Credit:
            out_.AddCredit();
            at += credit_.size();
            return true;
        case Kind::Separator:
            if (!pause_) {
                pause_ = std::string(line.Text);
                SetPauseLine(out_.form(), line.Text);
            }
            out_.AddSeparator();
            at = line.Next;
            return true;
        case Kind::Single:
            for (const auto& single : singles_) {
                if (line.Text.starts_with(single.first)) {
                    at = line.Next;
                    return AddSingle(out_, single.second,
                                     std::string(line.Text.substr(single.first.size())), false);
                }
            }
            return false;
        case Kind::UserSingle: {
            const std::size_t right =
                line.Text.find(b_.Right + std::string(IdeographicSpace), b_.Left.size());
            const std::string name(line.Text.substr(b_.Left.size(), right - b_.Left.size()));
            at = line.Next;
            return out_.SetUserSingle(
                name,
                std::string(line.Text.substr(right + b_.Right.size() + IdeographicSpace.size())),
                name);
        }
        case Kind::FixedLong:
        case Kind::UserLong: {
            const std::string name(line.Text.substr(
                b_.Left.size(), line.Text.size() - b_.Left.size() - b_.Right.size()));
            at = line.Next;
            std::optional<std::string> body = LongBody(at);
            if (!body) {
                return false;
            }
            return kind == Kind::FixedLong ? AddLong(out_, name, std::move(*body))
                                           : out_.SetUserLong(name, std::move(*body), name);
        }
        }
        return false;
    }

    std::string_view text_;
    Brackets b_;
    std::string credit_;
    std::vector<std::pair<std::string, std::string>> singles_; // line start, centred name
    std::vector<std::string> longs_;
    std::optional<std::string> pause_;
    static constexpr std::size_t MaxSeparatorRun = 1000;
    std::size_t separatorRun_ = 0;
    ImportedForm out_;
};

// Brackets from the first lines that hold a fixed item's name.
std::vector<Brackets> TextBrackets(std::string_view text) {
    std::map<Brackets, int> counts;
    std::size_t at = 0;
    int found = 0;
    for (int lines = 0; lines < 4000 && found < 16 && at < text.size(); ++lines) {
        std::size_t end = text.find("\r\n", at);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view line = text.substr(at, end - at);
        at = end + 2;
        if (line.size() > 1024) {
            continue; // a long text's line, no entry's
        }
        for (const CatalogueItem& item : Catalogue()) {
            if (IsFixedSingle(item)) {
                const std::size_t pos = line.find(item.OutputName);
                const std::size_t gap =
                    pos == std::string_view::npos
                        ? pos
                        : line.find(IdeographicSpace, pos + item.OutputName.size());
                if (gap != std::string_view::npos && pos <= 32 &&
                    gap - pos - item.OutputName.size() <= 32) {
                    const std::size_t after = pos + item.OutputName.size();
                    ++counts[Brackets{std::string(line.substr(0, pos)),
                                      std::string(line.substr(after, gap - after))}];
                    ++found;
                }
            } else if (item.Kind == ItemKind::LongText && line.size() <= item.Key.size() + 64) {
                const std::size_t pos = line.find(item.Key);
                if (pos != std::string_view::npos) {
                    ++counts[Brackets{std::string(line.substr(0, pos)),
                                      std::string(line.substr(pos + item.Key.size()))}];
                    ++found;
                }
            }
        }
    }
    return RankBrackets(counts);
}

} // namespace

std::optional<ImportResult> ReadOwnText(std::string_view text) {
    for (const Brackets& b : TextBrackets(text)) {
        if (auto result = TextReader(text, b).Read()) {
            result->form.LeftBracket = b.Left;
            result->form.RightBracket = b.Right;
            return result;
        }
    }
    return std::nullopt;
}

} // namespace kelvaro
