#include "files/form_file.h"

#include "compose/pause_line.h"
#include "model/form_fields.h"
#include "model/form_texts.h"
#include "model/item_order.h"
#include "model/long_text.h"
#include "platform/app_info.h"
#include "platform/cp932.h"
#include "platform/error.h"
#include "platform/file_io.h"
#include "platform/text.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace kelvaro {
namespace {

constexpr std::string_view CRLF = "\r\n";
constexpr std::string_view BlockStart = "#%!";
constexpr std::string_view BlockEnd = "!%#";
constexpr const char* kEndsEarly =
    "ファイルが途中で終わっています（フォームファイルではないか、壊れています）";

// Integers are written with a blank (or the minus sign) in front and one blank
// behind: " 0 ", "-1 ", " 39 ".
std::string IntegerLine(long long value) {
    return (value < 0 ? "-" : " ") + std::to_string(value < 0 ? -value : value) + " ";
}

// Where the writer's lines go: into the UTF-8 text of the file...
class TextSink {
public:
    explicit TextSink(std::size_t expectedSize) { text_.reserve(expectedSize); }
    void Append(std::string_view piece) { text_ += piece; }
    std::string Take() { return std::move(text_); }

private:
    std::string text_;
};

// ...or into its CP932 bytes as the lines come, so that a save never holds the
// whole file as UTF-8 as well. Short lines are gathered first, since converting
// each alone would cost more than the conversion itself; a long text goes to
// the converter straight from the form. Every piece is a whole value or a line
// end, so no character is ever cut in two.
class BytesSink {
public:
    explicit BytesSink(std::size_t expectedSize) { bytes_.Reserve(expectedSize); }
    void Append(std::string_view piece) {
        if (piece.size() >= GatherSize) {
            Flush();
            bytes_.Append(piece);
            return;
        }
        pending_ += piece;
        if (pending_.size() >= GatherSize) {
            Flush();
        }
    }
    std::string Take() {
        Flush();
        return bytes_.Take();
    }

private:
    static constexpr std::size_t GatherSize = std::size_t{64} * 1024;

    void Flush() {
        bytes_.Append(pending_);
        pending_.clear();
    }

    Cp932Builder bytes_{FormFileUnmappable};
    std::string pending_;
};

template <typename Sink> class Writer {
public:
    explicit Writer(std::size_t expectedSize) : sink_(expectedSize) {}
    void Line(std::string_view text) {
        sink_.Append(text);
        sink_.Append(CRLF);
    }
    void Integer(long long value) { Line(IntegerLine(value)); }
    void Flag(bool value) { Line(value ? "True" : "False"); }
    std::string Take() { return sink_.Take(); }

private:
    Sink sink_;
};

// Hands out the lines of a decoded form file one at a time. A line ends at
// CR LF or at a lone CR; a lone LF is an ordinary character. A file without a
// single CR has had its line ends turned into LF on the way (by git or an
// editor): there LF ends a line. The program always writes CR LF, so no file it
// wrote reads differently. Running out of lines is the "file ends early" failure.
class LineReader {
public:
    explicit LineReader(std::string_view text)
        : text_(text), lineEnd_(text.find('\r') == std::string_view::npos ? '\n' : '\r') {}

    std::string_view Next() {
        if (pos_ >= text_.size()) {
            throw RuntimeError(ErrorNo::InputPastEnd, FailurePlace{{}, kEndsEarly},
                               "the form file ends early");
        }
        std::size_t end = text_.find(lineEnd_, pos_);
        std::string_view line;
        if (end == std::string_view::npos) {
            line = text_.substr(pos_);
            pos_ = text_.size();
        } else {
            line = text_.substr(pos_, end - pos_);
            pos_ = end + 1;
            if (lineEnd_ == '\r' && pos_ < text_.size() && text_[pos_] == '\n') {
                ++pos_;
            }
        }
        return line;
    }

    std::string Text() { return std::string(Next()); }

    bool AtEnd() const { return pos_ >= text_.size(); }

    // The lines still to come, at most: a bound for what the file can still hold.
    std::size_t LinesLeft() const {
        std::string_view rest = text_.substr(pos_);
        return static_cast<std::size_t>(std::count(rest.begin(), rest.end(), lineEnd_)) + 1;
    }

    long long Integer() {
        std::string_view line = Next();
        std::size_t i = 0;
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) {
            ++i;
        }
        std::size_t end = i;
        if (end < line.size() && (line[end] == '-' || line[end] == '+')) {
            ++end;
        }
        while (end < line.size() && ((line[end] >= '0' && line[end] <= '9') || line[end] == '.')) {
            ++end;
        }
        // The leading-number reader of the separator count reads the same way.
        double value = std::nearbyint(ReadLeadingNumber(line.substr(i, end - i)));
        if (!(value >= -2147483648.0 && value <= 2147483647.0)) {
            throw RuntimeError(
                ErrorNo::Overflow,
                FailurePlace{{}, "数値が大きすぎます（フォームファイルが壊れています）"},
                "a number outside the 32-bit range");
        }
        return static_cast<long long>(value);
    }

    bool Flag() { return Next() == "True"; }

    int CheckBox() {
        long long value = Integer();
        if (value < 0 || value > 2) {
            throw RuntimeError(ErrorNo::InvalidProperty,
                               FailurePlace{{}, "チェックボックスに読み込めない値があります"},
                               "a check box cannot take this value");
        }
        return static_cast<int>(value);
    }

private:
    std::string_view text_;
    char lineEnd_;
    std::size_t pos_ = 0;
};

// Hands the lines of one long text, up to the line that ends its block, to
// `visit`; false when the file ends first. Lines are joined with CR LF between
// them and none after the last, so a text comes back exactly as it was written;
// a line that starts a block is not part of any text.
template <typename Visit> bool ForEachBlockLine(LineReader& in, Visit visit) {
    while (!in.AtEnd()) {
        std::string_view line = in.Next();
        if (line.starts_with(BlockEnd)) {
            return true;
        }
        if (!line.starts_with(BlockStart)) {
            visit(line);
        }
    }
    return false;
}

// The length of the long text ForEachBlockLine gives, read on a copy of the
// reader; a block that runs to the end of the file counts what is there.
std::size_t JoinedBlockLength(LineReader in) {
    std::size_t length = 0;
    std::size_t lines = 0;
    ForEachBlockLine(in, [&](std::string_view line) {
        length += line.size();
        ++lines;
    });
    return length + (lines > 0 ? (lines - 1) * CRLF.size() : 0);
}

// An option-button group takes its flag lines one after the other: a true line
// selects its button, a false one deselects it only when it is the selected one.
void ApplyOptionFlag(int& selected, int button, bool flag) {
    if (flag) {
        selected = button;
    } else if (selected == button) {
        selected = -1;
    }
}

// The size of the file's text, near enough for one allocation: every text with
// its line end, a flag line per order entry and room for the fixed lines.
std::size_t ExpectedTextSize(const Form& f) {
    std::size_t size = 4096;
    for (std::string_view text : FormFileTexts(f)) {
        size += text.size() + CRLF.size();
    }
    return size + f.Order.size() * (std::string_view("False").size() + CRLF.size());
}

// The first line of every form file; the product's name stands between them.
constexpr std::string_view HeaderStart = "### 編集すると、「";
constexpr std::string_view HeaderEnd = "」の動作に使用が出る恐れがあります。 ###";

template <typename Sink> std::string WriteLines(const Form& f) {
    Writer<Sink> w(ExpectedTextSize(f));
    for (const FormField& field : FormFields()) {
        switch (field.Kind) {
        case FieldKind::Header:
            w.Line(std::string(HeaderStart) + AppInfoString(AppInfo::ProductName) +
                   std::string(HeaderEnd));
            break;
        case FieldKind::Version:
            w.Line(AppInfoString(AppInfo::Version));
            break;
        case FieldKind::SizeUnit:
            w.Integer(f.SizeUnit);
            break;
        case FieldKind::LongText:
            w.Line(std::string(BlockStart) + LongTextName(f, static_cast<int>(field.Slot)));
            w.Line(f.LongTexts[field.Slot]);
            w.Line(BlockEnd);
            break;
        case FieldKind::Order:
            w.Integer(static_cast<long long>(f.Order.size()));
            for (const auto& entry : f.Order) {
                w.Flag(entry.Checked);
                w.Line(entry.Key);
            }
            break;
        case FieldKind::CheckBox:
            w.Integer(f.*field.Number);
            break;
        case FieldKind::OptionFlag:
            w.Flag(f.*field.Number == static_cast<int>(field.Slot));
            break;
        case FieldKind::LineValue:
        case FieldKind::Choice:
        case FieldKind::UserName:
        case FieldKind::Text:
        case FieldKind::HtmlSetting:
            w.Line(*FieldText(f, field));
            break;
        }
    }
    return w.Take();
}

} // namespace

std::string FormFileText(const Form& f) {
    return WriteLines<TextSink>(f);
}

namespace {

void RenameUserItems(Workspace& ws) {
    for (int i = 0; i < static_cast<int>(UserNameCount); ++i) {
        RenameUserItem(ws, i);
    }
}

void ReadLongText(Workspace& ws, LineReader& in, std::size_t slot) {
    Form& f = ws.form;
    if (slot == 0) {
        SelectLongItem(ws, 0);
    }
    std::string& longText = f.LongTexts[slot];
    longText.clear();
    // Measured first, so a long text is filled in one allocation rather
    // than copied each time it outgrows itself.
    longText.reserve(JoinedBlockLength(in));
    bool first = true;
    const bool ended = ForEachBlockLine(in, [&](std::string_view line) {
        if (!first) {
            longText += CRLF;
        }
        longText += line;
        first = false;
    });
    if (!ended) {
        throw RuntimeError(ErrorNo::InputPastEnd, FailurePlace{{}, kEndsEarly},
                           "the form file ends early");
    }
    // The editor shows the first text once all of them are in.
    if (slot + 1 == LongTextCount) {
        ws.EditorText = f.LongTexts[0];
    }
}

void ReadOrder(Workspace& ws, LineReader& in) {
    Form& f = ws.form;
    const long long count = in.Integer();
    f.Order.clear();
    // A file may promise more entries than it holds: room is made for what the
    // lines still to come can hold, never for the count itself.
    if (count > 0) {
        f.Order.reserve(std::min(static_cast<std::size_t>(count), in.LinesLeft() / 2));
    }
    for (long long i = 0; i < count; ++i) {
        bool checked = in.Flag();
        std::string key = in.Text();
        f.Order.push_back(OrderEntry{key, std::move(key), checked});
        if (ws.EmphasisEnabled) {
            SetItemEmphasis(ws, f.Order.back().Key, checked);
        }
    }
    if (ws.Selected >= static_cast<int>(f.Order.size())) {
        ws.Selected = -1;
    }
}

void ReadLines(Workspace& ws, std::string_view text) {
    Form& f = ws.form;
    LineReader in(text);
    for (const FormField& field : FormFields()) {
        switch (field.Kind) {
        case FieldKind::Header:
        case FieldKind::Version:
            in.Next();
            break;
        case FieldKind::SizeUnit: {
            const long long unit = in.Integer();
            if (unit < -1 || unit > 3) {
                throw RuntimeError(ErrorNo::InvalidProperty,
                                   FailurePlace{{}, "ｱｰｶｲﾌﾞｻｲｽﾞの単位に読み込めない値があります"},
                                   "no such size unit");
            }
            f.SizeUnit = static_cast<int>(unit);
            break;
        }
        case FieldKind::UserName:
            SetUserName(ws, static_cast<int>(field.Slot), in.Text());
            break;
        case FieldKind::LongText:
            ReadLongText(ws, in, field.Slot);
            break;
        case FieldKind::Order:
            ReadOrder(ws, in);
            break;
        case FieldKind::CheckBox:
            f.*field.Number = in.CheckBox();
            break;
        case FieldKind::OptionFlag:
            ApplyOptionFlag(f.*field.Number, static_cast<int>(field.Slot), in.Flag());
            break;
        case FieldKind::LineValue:
        case FieldKind::Choice:
        case FieldKind::Text:
        case FieldKind::HtmlSetting:
            *FieldText(f, field) = in.Text();
            break;
        }
    }
}

} // namespace

void ReadFormFileText(Workspace& ws, std::string_view text) {
    // Every value goes into the form as soon as it is read: when the file fails
    // part way, what was read stays and the rest keeps its old value. The
    // order's entries of the user items show their names either way, since
    // what was read may be shown as a form of its own.
    try {
        ReadLines(ws, text);
    } catch (...) {
        RenameUserItems(ws);
        throw;
    }
    RenameUserItems(ws);
}

void WriteFormFile(Workspace& ws, const std::string& path) {
    CommitLongText(ws);
    if (auto unwritable = FindUnwritableItem(ws.form)) {
        const std::string message = UnwritableMessage(*unwritable);
        throw RuntimeError(ErrorNo::InvalidProperty,
                           FailurePlace{path, message.substr(0, message.find("\r\n"))},
                           "a form that would not read back as it is");
    }
    WriteFileReplacing(path, FormFileBytes(ws.form));
}

std::string FormFileBytes(const Form& form) {
    // The same bytes as Utf8ToCp932(FormFileText(form)), without the UTF-8
    // text of the whole file in between.
    return WriteLines<BytesSink>(form);
}

void ReadFormFile(Workspace& ws, const std::string& path, bool* looksUtf8) {
    // The file's bytes are let go before the form is filled: a large file is
    // then held decoded and in the form, not a third time as its bytes.
    const std::string text = [&] {
        const std::string bytes = ReadWholeFile(path);
        if (looksUtf8 != nullptr) {
            *looksUtf8 = LooksLikeUtf8FormFile(bytes);
        }
        return DecodeFormFile(bytes, FormFileEncoding::Cp932);
    }();
    try {
        ReadFormFileText(ws, text);
    } catch (RuntimeError& error) {
        error.SetPathIfMissing(path);
        throw;
    }
}

std::vector<std::string_view> FormFileTexts(const Form& f) {
    std::vector<std::string_view> texts;
    texts.reserve(FormFields().size() + f.Order.size());
    ForEachFormText(f, [&](const FormField&, std::string_view text) { texts.push_back(text); });
    return texts;
}

bool BeginsWithFormHeader(std::string_view text) {
    // Read as the reader reads it: the first line ends at CR or, in a file
    // without one, at LF. Any product's name may stand in it.
    const std::string_view first = text.substr(0, text.find_first_of("\r\n"));
    return first.size() >= HeaderStart.size() + HeaderEnd.size() &&
           first.starts_with(HeaderStart) && first.ends_with(HeaderEnd);
}

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view WithoutByteOrderMark(std::string_view bytes) {
    return bytes.starts_with(kByteOrderMark) ? bytes.substr(kByteOrderMark.size()) : bytes;
}

} // namespace

bool LooksLikeUtf8FormFile(std::string_view bytes) {
    const std::string_view utf8 = WithoutByteOrderMark(bytes);
    if (!BeginsWithFormHeader(utf8) || !IsUtf8(utf8)) {
        return false;
    }
    // Bytes can be both, by chance: the first line read as CP932 settles it, so
    // that a file the program wrote is never taken for UTF-8.
    return !BeginsWithFormHeader(Cp932ToUtf8(bytes.substr(0, bytes.find_first_of("\r\n"))));
}

std::string DecodeFormFile(std::string_view bytes, FormFileEncoding encoding) {
    if (encoding == FormFileEncoding::Utf8) {
        return std::string(WithoutByteOrderMark(bytes));
    }
    return Cp932ToUtf8(bytes);
}

std::string Utf8FormWarning(const std::string& path) {
    return path + " は UTF-8 で保存されているようですが、CP932 として読み込みます";
}

int FindMarkerLine(const Form& form) {
    for (int k = 0; k < static_cast<int>(LongTextCount); ++k) {
        bool found = false;
        ForEachLineEndedByCr(form.LongTexts[static_cast<std::size_t>(k)],
                             [&](std::string_view line) {
                                 found = line.starts_with(BlockStart) || line.starts_with(BlockEnd);
                                 return found;
                             });
        if (found) {
            return k;
        }
    }
    return -1;
}

} // namespace kelvaro

namespace kelvaro {

std::optional<UnwritableItem> FindUnwritableItem(const Form& form) {
    for (const NamedText& text : NamedFormTexts(form)) {
        if (text.SingleLine) {
            if (text.Text.find('\r') != std::string_view::npos) {
                return UnwritableItem{text.Item, UnwritableItem::Problem::LineBreak};
            }
            continue;
        }
        bool marker = false;
        bool loneCr = false;
        ForEachLineEndedByCr(text.Text, [&](std::string_view line) {
            marker = line.starts_with(BlockStart) || line.starts_with(BlockEnd);
            return marker;
        });
        for (std::size_t cr = text.Text.find('\r'); !marker && cr != std::string_view::npos;
             cr = text.Text.find('\r', cr + 1)) {
            if (cr + 1 == text.Text.size() || text.Text[cr + 1] != '\n') {
                loneCr = true;
                break;
            }
        }
        if (marker) {
            return UnwritableItem{text.Item, UnwritableItem::Problem::MarkerLine};
        }
        if (loneCr) {
            return UnwritableItem{text.Item, UnwritableItem::Problem::LoneCr};
        }
    }
    return std::nullopt;
}

std::string UnwritableMessage(const UnwritableItem& item) {
    switch (item.Why) {
    case UnwritableItem::Problem::MarkerLine:
        return "「" + item.Item +
               "」の文章に、行頭が「#%!」または「!%#」の行があります。\r\n"
               "この行はフォームファイルに保存できないため、保存を中止しました。\r\n"
               "行頭の文字を変えてから、もう一度保存してください。";
    case UnwritableItem::Problem::LoneCr:
        return "「" + item.Item +
               "」の文章に、CR だけの改行があります。\r\n"
               "この改行はフォームファイルに保存できないため、保存を中止しました。\r\n"
               "改行を入れ直してから、もう一度保存してください。";
    case UnwritableItem::Problem::LineBreak:
        break;
    }
    return "「" + item.Item +
           "」に改行が含まれています。\r\n"
           "１行の項目の改行はフォームファイルに保存できないため、保存を中止しました。\r\n"
           "改行を取り除いてから、もう一度保存してください。";
}

} // namespace kelvaro
