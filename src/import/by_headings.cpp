// The reader by headings, for ReadMe files written by hand or by other tools.
// The text is first made lines (HTML loses its tags, keeping <BR> and block
// ends as line ends; Markdown keeps its source lines), then each line is told
// apart as a separator, a heading, a fact or text, and the sections are placed
// in the items their names stand for.

#include "import/heading_parts.h"
#include "model/catalogue.h"
#include "model/name_fold.h"
#include "platform/text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <unordered_map>

namespace kelvaro {
namespace {

using namespace by_headings;

// ---- placing the sections ---------------------------------------------------------------

class HeadingReader {
public:
    HeadingReader(std::vector<SourceLine> lines, ReadMeFormat kind, std::string pageTitle)
        : lines_(std::move(lines)), markdown_(kind == ReadMeFormat::Markdown),
          pageTitle_(std::move(pageTitle)) {}

    ImportResult Read() {
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            Line(i);
        }
        CloseSection();
        if (titleName_.empty() && !pageTitle_.empty() &&
            !SplitTitle(pageTitle_, titleName_, titleVersion_)) {
            titleName_ = pageTitle_;
        }
        if (titleLine_.empty()) {
            titleLine_ = pageTitle_;
        }
        if (!titleName_.empty()) {
            std::vector<OrderEntry>& order = out_.form().Order;
            std::vector<ImportPlacement>& placements = out_.report().Placements;
            const auto orderBefore = static_cast<std::ptrdiff_t>(order.size());
            const auto placedBefore = static_cast<std::ptrdiff_t>(placements.size());
            const CatalogueItem* name = LookupItem("ソフト名");
            const CatalogueItem* version = LookupItem("バージョン");
            if (!out_.Holds(*name)) {
                PlaceFact(*name, titleName_, titleLine_);
            }
            if (!titleVersion_.empty() && !out_.Holds(*version)) {
                PlaceFact(*version, titleVersion_, titleLine_);
            }
            // The title stands before everything else in the document; so do the
            // entries it gave.
            std::rotate(order.begin(), order.begin() + orderBefore, order.end());
            std::rotate(placements.begin(), placements.begin() + placedBefore, placements.end());
        }
        if (!preamble_.empty()) {
            out_.AppendCatchAll("", JoinLines(std::move(preamble_)));
        }
        return out_.Finish();
    }

private:
    struct Section {
        std::string HeadingLine;
        std::string Name;
        std::string Value;
        std::vector<std::string> Body;
        bool Open = false;
    };

    std::string BodyLine(const std::string& text) const {
        if (!markdown_) {
            return text;
        }
        std::string_view line = text;
        if (line.ends_with('\\') && !line.ends_with("\\\\")) {
            line.remove_suffix(1); // a hard line break: the line end itself
        }
        return DecodeEntities(line, true);
    }

    static std::string JoinLines(std::vector<std::string> lines) {
        while (!lines.empty() && TrimBlanks(lines.back()).empty()) {
            lines.pop_back();
        }
        std::size_t first = 0;
        while (first < lines.size() && TrimBlanks(lines[first]).empty()) {
            ++first;
        }
        std::string text;
        for (std::size_t i = first; i < lines.size(); ++i) {
            if (i > first) {
                text += "\r\n";
            }
            text += lines[i];
        }
        return text;
    }

    bool HeadingAt(std::size_t i, Heading& h) const {
        const SourceLine& source = lines_[i];
        const std::string_view line = TrimBlanks(source.Text);
        if (source.Level > 0) {
            h.Title = source.Level == 1;
            h.Name = std::string(line);
            std::string name;
            std::string value;
            if (SplitFact(line, name, value) && MeaningOf(name) && !value.empty()) {
                h.Name = name;
                h.Value = value;
            }
            return !h.Name.empty();
        }
        if (line.empty()) {
            return false;
        }
        if (markdown_ && AtxHeading(line, h)) {
            return !h.Name.empty();
        }
        if (markdown_ && i + 1 < lines_.size() && !line.starts_with("- ") &&
            !line.starts_with("|")) {
            const std::string_view next = TrimBlanks(lines_[i + 1].Text);
            if (next.size() >= 2 && (next.find_first_not_of('=') == std::string_view::npos ||
                                     next.find_first_not_of('-') == std::string_view::npos)) {
                h.Name = DecodeEntities(line, true);
                h.Title = next.front() == '=';
                return true;
            }
        }
        if (BracketedHeading(line, h) || MarkedHeading(line, h) || NumberedHeading(line, h) ||
            BareHeading(line, h)) {
            return true;
        }
        return false;
    }

    bool IsSetextUnderline(std::size_t i) const {
        if (!markdown_ || i == 0) {
            return false;
        }
        const std::string_view prev = TrimBlanks(lines_[i - 1].Text);
        const std::string_view line = TrimBlanks(lines_[i].Text);
        return !prev.empty() && line.size() >= 2 && lastWasSetext_ == i - 1 &&
               (line.find_first_not_of('=') == std::string_view::npos ||
                line.find_first_not_of('-') == std::string_view::npos);
    }

    void Line(std::size_t i) {
        const std::string& text = lines_[i].Text;
        if (IsSetextUnderline(i)) {
            return;
        }
        if (markdown_ && TrimBlanks(text).starts_with("```")) {
            fence_ = !fence_;
        }
        if (fence_ || (markdown_ && TrimBlanks(text).starts_with("```"))) {
            AddText(text, true);
            return;
        }
        if (lines_[i].Level == 0 && IsSeparatorLine(text) && !(markdown_ && IsTableRule(text))) {
            CloseSection();
            if (!separatorPending_ && !out_.form().Order.empty()) {
                separatorPending_ = true;
            } else if (out_.form().Order.empty()) {
                leadingSeparator_ = true;
            }
            return;
        }
        if (markdown_ && IsTableRule(text)) {
            return;
        }
        Heading h;
        if (HeadingAt(i, h)) {
            if (markdown_ && !lines_[i].Text.starts_with("#") && i + 1 < lines_.size()) {
                lastWasSetext_ = i;
            }
            StartSection(TrimBlanks(text), h);
            return;
        }
        std::string name;
        std::string value;
        const bool inLong = section_.Open && LongTarget();
        if (!inLong && (ListOrTableFact(text, name, value) ||
                        (lines_[i].Level == 0 && SplitFact(TrimBlanks(text), name, value) &&
                         !value.empty()))) {
            if (IsTableHeader(i, name, value)) {
                return;
            }
            const auto meaning = MeaningOf(name);
            if (meaning || !section_.Open) {
                Fact(name, value, TrimBlanks(text));
                return;
            }
        }
        AddText(text, false);
    }

    // The first row of a table whose second line is its rule names the columns.
    bool IsTableHeader(std::size_t i, const std::string& name, const std::string& value) const {
        return markdown_ && i + 1 < lines_.size() && IsTableRule(lines_[i + 1].Text) &&
               !(MeaningOf(name) && !MeaningOf(value));
    }

    // Whether the open section goes to a long text (its lines are kept as they are).
    bool LongTarget() const {
        const auto meaning = MeaningOf(section_.Name);
        return !meaning || meaning->Long != nullptr;
    }

    void AddText(const std::string& text, bool raw) {
        if (!section_.Open) {
            if (out_.form().Order.empty() && titleName_.empty() && !TrimBlanks(text).empty() &&
                !seenTitle_) {
                seenTitle_ = true;
                titleLine_ = std::string(TrimBlanks(text));
                if (SplitTitle(titleLine_, titleName_, titleVersion_) ||
                    CodePoints(titleLine_) <= 40) {
                    if (titleName_.empty()) {
                        titleName_ = titleLine_;
                    }
                    return;
                }
            }
            if (!TrimBlanks(text).empty() || !preamble_.empty()) {
                preamble_.push_back(raw ? text : BodyLine(text));
            }
            return;
        }
        section_.Body.push_back(raw ? text : BodyLine(text));
    }

    // Text before any heading has no item: it goes, where it stood, to the catch-all.
    void FlushSeparator() {
        if (!preamble_.empty()) {
            std::string text = JoinLines(std::move(preamble_));
            preamble_.clear();
            if (!text.empty()) {
                out_.AppendCatchAll("", text);
            }
        }
        if (leadingSeparator_ && out_.form().Order.empty()) {
            out_.AddSeparator();
            leadingSeparator_ = false;
        }
        if (separatorPending_) {
            out_.AddSeparator();
            separatorPending_ = false;
        }
    }

    void PlaceFact(const CatalogueItem& item, const std::string& value, const std::string& line) {
        FlushSeparator();
        if (!out_.SetSingle(item, value, line)) {
            out_.AppendCatchAll(line, "");
        }
    }

    void Fact(const std::string& name, const std::string& value, std::string_view line) {
        const auto meaning = MeaningOf(name);
        FlushSeparator();
        if (meaning && meaning->Single && !out_.Holds(*meaning->Single)) {
            out_.SetSingle(*meaning->Single, value, line);
        } else if (meaning && meaning->Long && !meaning->Single && !out_.Holds(*meaning->Long)) {
            out_.SetLong(*meaning->Long, value, line);
        } else if (!out_.SetUserSingle(name, value, line)) {
            out_.AppendCatchAll(std::string(line), "");
        }
    }

    void StartSection(std::string_view line, const Heading& h) {
        CloseSection();
        // The page's first heading names the software when no item does.
        std::string name;
        std::string version;
        if (out_.form().Order.empty() && !seenTitle_ && !MeaningOf(h.Name) &&
            (SplitTitle(h.Name, name, version) || h.Title)) {
            seenTitle_ = true;
            titleLine_ = h.Name;
            titleName_ = name.empty() ? h.Name : name;
            titleVersion_ = version;
            return;
        }
        section_ = Section{std::string(line), h.Name, h.Value, {}, true};
    }

    void CloseSection() {
        if (!section_.Open) {
            return;
        }
        Section s = std::move(section_);
        section_ = Section{};
        FlushSeparator();
        std::string body = JoinLines(s.Body);
        const auto meaning = MeaningOf(s.Name);
        if (!s.Value.empty() && body.empty()) {
            Fact(s.Name, s.Value, s.HeadingLine);
            return;
        }
        std::string text = s.Value.empty() ? body
                           : body.empty()  ? s.Value
                                           : s.Value + "\r\n" + body;
        if (meaning && meaning->Long && !out_.Holds(*meaning->Long)) {
            out_.SetLong(*meaning->Long, text, s.HeadingLine);
            return;
        }
        if (meaning && meaning->Single && !out_.Holds(*meaning->Single) && !text.empty()) {
            // A single-line item under a heading: its first line; the rest has no place.
            const std::size_t end = text.find("\r\n");
            std::string first = std::string(TrimBlanks(text.substr(0, end)));
            std::string name;
            std::string value;
            if (SplitFact(first, name, value) && !value.empty() && MeaningOf(name) &&
                MeaningOf(name)->Single == meaning->Single) {
                first = value;
            }
            out_.SetSingle(*meaning->Single, first, s.HeadingLine);
            if (end != std::string::npos) {
                out_.AppendCatchAll(s.HeadingLine, JoinLines(SplitAll(text.substr(end + 2))));
            }
            return;
        }
        if (text.empty() && s.Value.empty()) {
            // A heading alone: the user item keeps its name.
        }
        if (!out_.SetUserLong(s.Name, text, s.HeadingLine)) {
            out_.AppendCatchAll(s.HeadingLine, text);
        }
    }

    static std::vector<std::string> SplitAll(const std::string& text) {
        std::vector<std::string> lines;
        std::size_t start = 0;
        while (true) {
            const std::size_t end = text.find("\r\n", start);
            lines.push_back(
                text.substr(start, end == std::string::npos ? std::string::npos : end - start));
            if (end == std::string::npos) {
                break;
            }
            start = end + 2;
        }
        return lines;
    }

    std::vector<SourceLine> lines_;
    bool markdown_;
    std::string pageTitle_; // an HTML page's <title>, for a page without a title line
    bool fence_ = false;
    std::size_t lastWasSetext_ = static_cast<std::size_t>(-1);
    Section section_;
    bool separatorPending_ = false;
    bool leadingSeparator_ = false;
    bool seenTitle_ = false;
    std::string titleLine_;
    std::string titleName_;
    std::string titleVersion_;
    std::vector<std::string> preamble_;
    ImportedForm out_;
};

} // namespace

ImportResult ReadByHeadings(std::string_view text, ReadMeFormat kind) {
    std::string title;
    std::vector<SourceLine> lines =
        kind == ReadMeFormat::Html ? HtmlLines(text, title) : SplitLines(text);
    ImportResult result = HeadingReader(std::move(lines), kind, std::move(title)).Read();
    result.report.Format = kind;
    return result;
}

} // namespace kelvaro
