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
    HeadingReader(const DocumentLines& lines, ReadMeFormat kind, std::string pageTitle)
        : lines_(lines), pageTitle_(std::move(pageTitle)),
          markdown_(kind == ReadMeFormat::Markdown), finder_(lines, lines_, markdown_) {}

    ImportResult Read() {
        while (lines_.Advance()) {
            Line(lines_.Index());
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
                out_.report().Checks.push_back("ソフト名「" + titleName_ +
                                               "」は題名から取りました");
            }
            if (!titleVersion_.empty() && !out_.Holds(*version)) {
                PlaceFact(*version, titleVersion_, titleLine_);
                out_.report().Checks.push_back("バージョン「" + titleVersion_ +
                                               "」は題名から取りました");
            }
            // The title stands before everything else in the document; so do the
            // entries it gave.
            std::rotate(order.begin(), order.begin() + orderBefore, order.end());
            std::rotate(placements.begin(), placements.begin() + placedBefore, placements.end());
        }
        if (!preamble_.empty()) {
            out_.AppendCatchAll("", WithoutBlankEnds(std::move(preamble_)));
        }
        if (!footer_.empty()) {
            out_.AppendCatchAll("", footer_);
        }
        return out_.Finish();
    }

private:
    struct Section {
        std::string HeadingLine;
        std::string Name;
        std::string Value;
        std::string Body; // its lines, parted by CR LF
        bool HasBody = false;
        bool Open = false;
        int Depth = 0;
        bool FactsTaken = false; // facts under the heading went to their items
    };

    // How deep a heading of this shape stands: Markdown and HTML by their level,
    // the other shapes in the order the file first uses them (the first ■ before
    // the first ◆ makes ◆ the deeper one).
    int DepthOf(const std::string& shape) {
        if (shape.starts_with('#')) {
            return shape[1] - '0';
        }
        const auto known = std::find(shapes_.begin(), shapes_.end(), shape);
        if (known != shapes_.end()) {
            return 10 + static_cast<int>(known - shapes_.begin());
        }
        shapes_.push_back(shape);
        return 10 + static_cast<int>(shapes_.size()) - 1;
    }

    // Whether the heading stays inside the open section: deeper than it, under a
    // section of a known item, and no item of its own ("◆ 作者：名前"). Entries of a
    // history headed by their version or date stay in the history at any depth.
    bool Nests(const Heading& h, int depth) const {
        if (!section_.Open || !section_.Value.empty() || !LongTarget()) {
            return false;
        }
        const auto parent = MeaningOf(section_.Name);
        if (!parent) {
            return false;
        }
        // A heading that names an item of its own starts that item, at any depth:
        // files that mark their sections ▼ and ◆ alike are common.
        const auto own = MeaningOf(h.Name);
        if (own && (own->Single != nullptr || own->Long != parent->Long) &&
            !(own->Long != nullptr && out_.Holds(*own->Long))) {
            return false;
        }
        if (parent->Long != nullptr && parent->Long->Key == "開発履歴" && NamesARelease(h.Name)) {
            return true;
        }
        return depth > section_.Depth;
    }

    static bool IsLinkItem(const CatalogueItem& item) {
        return item.Key == "メール" || item.Key == "ホームページ";
    }

    // A contact section keeps its lines, in order, as a user item; its mail
    // address and its home page fill their items too.
    void Contact(const Section& s, const std::string& text) {
        for (const std::string& line : SplitAll(text)) {
            std::string_view word = TrimBlanks(line);
            std::string name;
            std::string value;
            if (SplitFact(word, name, value) || LeaderFact(word, name, value)) {
                word = value;
            }
            const CatalogueItem* item = nullptr;
            if (word.starts_with("http://") || word.starts_with("https://")) {
                item = LookupItem("ホームページ");
            } else if (word.find('@') != std::string_view::npos &&
                       word.find(' ') == std::string_view::npos) {
                item = LookupItem("メール");
            }
            if (item != nullptr && !out_.Holds(*item)) {
                out_.SetSingle(*item, OneLineValue(word), line);
            }
        }
        if (!out_.SetUserLong(s.Name, text, s.HeadingLine)) {
            out_.AppendCatchAll(s.HeadingLine, text);
        }
    }

    // A page's address or footer ends the last section and stays at the end; a
    // mail address in it is the author's.
    void Footer(std::string_view text) {
        CloseSection();
        if (TrimBlanks(text).empty()) {
            return;
        }
        const std::size_t at = text.find('@');
        if (at != std::string_view::npos && !out_.Holds(*LookupItem("メール"))) {
            std::size_t start = at;
            while (start > 0 && text[start - 1] > ' ' && text[start - 1] != ':' &&
                   static_cast<unsigned char>(text[start - 1]) < 0x80) {
                --start;
            }
            std::size_t end = at;
            while (end < text.size() && text[end] > ' ' &&
                   static_cast<unsigned char>(text[end]) < 0x80) {
                ++end;
            }
            PlaceFact(*LookupItem("メール"), std::string(text.substr(start, end - start)),
                      std::string(text));
        }
        AppendLine(footer_, footerLines_, std::string(text));
    }

    // A date, and a name beside it, on the lines under the title and before the
    // first section: the date the ReadMe was made and its author.
    bool TitleFacts(std::string_view text) {
        std::string date;
        std::string rest;
        if (section_.Open || !seenTitle_ || sectionSeen_ || !FindDate(text, date, rest)) {
            return false;
        }
        const CatalogueItem* made = LookupItem("作成日");
        const CatalogueItem* author = LookupItem("作者名");
        if (out_.Holds(*made)) {
            return false;
        }
        PlaceFact(*made, date, std::string(TrimBlanks(text)));
        out_.report().Checks.push_back("作成日「" + date + "」は題名の下の行から取りました");
        if (!rest.empty() && CodePoints(rest) <= 24 && !out_.Holds(*author)) {
            PlaceFact(*author, rest, std::string(TrimBlanks(text)));
            out_.report().Checks.push_back("作者名「" + rest + "」は題名の下の行から取りました");
        }
        return true;
    }

    static void AppendLine(std::string& text, bool& any, const std::string& line) {
        if (any) {
            text += "\r\n";
        }
        text += line;
        any = true;
    }

    // A value of one line from a section's text: Markdown's escapes and
    // entities as their characters, and no hard-break backslash. (The text
    // itself stays Markdown, as written.)
    std::string OneLineValue(std::string_view text) const {
        if (!markdown_) {
            return std::string(text);
        }
        std::string_view line = text;
        if (line.ends_with('\\') && !line.ends_with("\\\\")) {
            line.remove_suffix(1); // a hard line break: the line end itself
        }
        return DecodeEntities(line, true);
    }

    bool IsSetextUnderline(std::size_t i) const {
        if (!markdown_ || i == 0) {
            return false;
        }
        const std::string_view prev = TrimBlanks(lines_.At(i - 1).Text);
        const std::string_view line = TrimBlanks(lines_.At(i).Text);
        return !prev.empty() && line.size() >= 2 && lastWasSetext_ == i - 1 &&
               (line.find_first_not_of('=') == std::string_view::npos ||
                line.find_first_not_of('-') == std::string_view::npos);
    }

    void Line(std::size_t i) {
        const std::string_view text = lines_.At(i).Text;
        if (IsSetextUnderline(i)) {
            return;
        }
        if (lines_.At(i).Level == FooterLevel) {
            Footer(text);
            return;
        }
        if (!fence_ && text.find_first_not_of(" \t") == std::string_view::npos) {
            AddText(text); // a blank line, the commonest of all
            return;
        }
        if (markdown_ && TrimBlanks(text).starts_with("```")) {
            fence_ = !fence_;
        }
        if (fence_ || (markdown_ && TrimBlanks(text).starts_with("```"))) {
            AddText(text);
            return;
        }
        if (lines_.At(i).Level == 0 && IsSeparatorLine(text) && !(markdown_ && IsTableRule(text))) {
            CloseSection();
            if (!separatorPending_ && !out_.form().Order.empty()) {
                separatorPending_ = true;
            } else if (out_.form().Order.empty()) {
                leadingSeparator_ = true;
            }
            return;
        }
        // A table's rule under facts goes with them; under a section's text it
        // stays in the text, so the table does too.
        if (markdown_ && IsTableRule(text) && !(section_.Open && MeaningOf(section_.Name))) {
            return;
        }
        Heading h;
        if (finder_.HeadingAt(i, lastNumber_, h)) {
            if (markdown_ && !text.starts_with("#") && lines_.Has(i + 1)) {
                lastWasSetext_ = i;
            }
            StartSection(TrimBlanks(text), h);
            return;
        }
        std::string name;
        std::string value;
        // Facts stand outside sections, or inside one of no known item ("基本情報").
        const bool inKnown = section_.Open && MeaningOf(section_.Name).has_value();
        if (!inKnown && (ListOrTableFact(text, name, value) || LeaderFact(text, name, value) ||
                         (lines_.At(i).Level == 0 && SplitFact(TrimBlanks(text), name, value) &&
                          !value.empty()))) {
            if (IsTableHeader(i, name, value)) {
                return;
            }
            const auto meaning = MeaningOf(name);
            if (!section_.Open || (meaning && meaning->Single && !out_.Holds(*meaning->Single))) {
                section_.FactsTaken = section_.Open;
                Fact(name, value, TrimBlanks(text));
                return;
            }
        }
        if (TitleFacts(text)) {
            return;
        }
        AddText(text);
    }

    // The first row of a table whose second line is its rule names the columns.
    bool IsTableHeader(std::size_t i, const std::string& name, const std::string& value) const {
        return markdown_ && lines_.Has(i + 1) && IsTableRule(lines_.At(i + 1).Text) &&
               !(MeaningOf(name) && !MeaningOf(value));
    }

    // Whether the open section goes to a long text (its lines are kept as they are).
    bool LongTarget() const {
        const auto meaning = MeaningOf(section_.Name);
        return !meaning || meaning->Long != nullptr;
    }

    void AddText(std::string_view text) {
        if (!section_.Open) {
            if (out_.form().Order.empty() && titleName_.empty() && !TrimBlanks(text).empty() &&
                !seenTitle_) {
                seenTitle_ = true;
                titleLine_ = std::string(WithoutBanner(text));
                if (SplitTitle(titleLine_, titleName_, titleVersion_) ||
                    CodePoints(titleLine_) <= 40) {
                    if (titleName_.empty()) {
                        titleName_ = titleLine_;
                    }
                    return;
                }
            }
            if (!TrimBlanks(text).empty() || !preamble_.empty()) {
                AppendLine(preamble_, preambleLines_, std::string(text));
            }
            return;
        }
        AppendLine(section_.Body, section_.HasBody, std::string(text));
    }

    // Text before any heading has no item: it goes, where it stood, to the catch-all.
    void FlushSeparator() {
        if (!preamble_.empty()) {
            std::string text = WithoutBlankEnds(std::move(preamble_));
            preamble_.clear();
            preambleLines_ = false;
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

    void Fact(const std::string& name, const std::string& given, std::string_view line) {
        const auto meaning = MeaningOf(name);
        const std::string value = markdown_ ? WithoutLink(given) : given;
        FlushSeparator();
        std::string archive;
        std::string size;
        if (meaning && meaning->Single && meaning->Single->Key == "アーカイブ名" &&
            SplitArchive(value, archive, size) && !out_.Holds(*meaning->Single)) {
            out_.SetSingle(*meaning->Single, archive, line);
            if (const CatalogueItem* sized = LookupItem("ｱｰｶｲﾌﾞｻｲｽﾞ"); !out_.Holds(*sized)) {
                out_.SetSingle(*sized, size, line);
            }
        } else if (meaning && meaning->Single && !out_.Holds(*meaning->Single)) {
            out_.SetSingle(*meaning->Single, value, line);
        } else if (meaning && meaning->Long && !meaning->Single && !out_.Holds(*meaning->Long)) {
            out_.SetLong(*meaning->Long, value, line);
        } else if (!out_.SetUserSingle(name, value, line)) {
            out_.AppendCatchAll(std::string(line), "");
        }
    }

    void StartSection(std::string_view line, const Heading& h) {
        const int depth = DepthOf(h.Shape);
        if (Nests(h, depth)) {
            AppendLine(section_.Body, section_.HasBody, std::string(line));
            out_.report().Checks.push_back("「" + std::string(line) + "」は「" + section_.Name +
                                           "」の中の見出しとして、その本文に含めました");
            return;
        }
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
        section_ = Section{std::string(line), h.Name, h.Value, {}, false, true, depth};
        sectionSeen_ = true;
        Numbered n;
        if (h.Shape.find("num:") != std::string::npos && NumberedLine(line, n)) {
            lastNumber_ = n.Number;
        }
    }

    void CloseSection() {
        if (!section_.Open) {
            return;
        }
        Section s = std::move(section_);
        section_ = Section{};
        FlushSeparator();
        if (!markdown_) {
            DropCommonIndent(s.Body);
        }
        std::string body = WithoutBlankEnds(std::move(s.Body));
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
        if (meaning && meaning->Single && IsLinkItem(*meaning->Single) &&
            text.find("\r\n") != std::string::npos) {
            Contact(s, text);
            return;
        }
        if (meaning && meaning->Single && !out_.Holds(*meaning->Single) && !text.empty()) {
            // A single-line item under a heading: its first line; the rest has no place.
            const std::size_t end = text.find("\r\n");
            std::string first = OneLineValue(TrimBlanks(text.substr(0, end)));
            std::string name;
            std::string value;
            if (SplitFact(first, name, value) && !value.empty() && MeaningOf(name) &&
                MeaningOf(name)->Single == meaning->Single) {
                first = value;
            }
            out_.SetSingle(*meaning->Single, first, s.HeadingLine);
            if (end != std::string::npos) {
                out_.AppendCatchAll(s.HeadingLine, WithoutBlankEnds(text.substr(end + 2)));
            }
            return;
        }
        if (text.empty() && s.FactsTaken) {
            return; // a heading over facts that found their items
        }
        if (!out_.SetUserLong(s.Name, text, s.HeadingLine)) {
            out_.AppendCatchAll(s.HeadingLine, text);
        }
    }

    LineWindow lines_;
    std::string pageTitle_; // an HTML page's <title>, for a page without a title line
    Section section_;
    std::string titleLine_;
    std::string titleName_;
    std::string titleVersion_;
    std::string footer_;              // an HTML page's address or footer lines
    std::string preamble_;            // lines before any section, parted by CR LF
    std::vector<std::string> shapes_; // heading shapes, in the order first seen
    std::size_t lastWasSetext_ = static_cast<std::size_t>(-1);
    bool markdown_;
    HeadingFinder finder_;
    int lastNumber_ = 0; // the number of the last numbered section
    bool fence_ = false;
    bool separatorPending_ = false;
    bool leadingSeparator_ = false;
    bool seenTitle_ = false;
    bool footerLines_ = false;
    bool preambleLines_ = false;
    bool sectionSeen_ = false;
    ImportedForm out_;
};

} // namespace

ImportResult ReadByHeadings(std::string_view text, ReadMeFormat kind) {
    std::string title;
    const DocumentLines lines =
        kind == ReadMeFormat::Html ? DocumentLines(HtmlLines(text, title)) : DocumentLines(text);
    ImportResult result = HeadingReader(lines, kind, std::move(title)).Read();
    result.report.Format = kind;
    return result;
}

} // namespace kelvaro
