#include "import/readme_import.h"

#include "compose/layout_lines.h"
#include "files/form_file.h"

#include "import/import_internal.h"
#include "model/catalogue.h"
#include "model/defaults.h"
#include "model/name_fold.h"
#include "platform/app_info.h"
#include "platform/cp932.h"
#include "platform/error.h"
#include "platform/file_io.h"
#include "platform/file_stamp.h"
#include "platform/text.h"

#include <algorithm>

namespace kelvaro {
namespace {

std::size_t CatalogueIndex(const CatalogueItem& item) {
    return static_cast<std::size_t>(&item - Catalogue().data());
}

std::size_t SlotOf(const CatalogueItem& item) {
    return static_cast<std::size_t>(item.Slot);
}

// The value of a single-line item as every layout shows it.
std::string ShownValue(const Form& form, const CatalogueItem& item) {
    switch (item.Kind) {
    case ItemKind::Choice:
        return form.ChoiceValues[SlotOf(item)];
    case ItemKind::SizeWithUnit:
        return form.LineValues[SlotOf(item)] + std::string(SizeUnitText(form.SizeUnit));
    default:
        return form.LineValues[SlotOf(item)];
    }
}

// True when the item holds something the ReadMe would show.
bool HasValue(const Form& form, const CatalogueItem& item) {
    switch (item.Kind) {
    case ItemKind::LongText:
    case ItemKind::UserLongText:
        return !form.LongTexts[SlotOf(item)].empty();
    case ItemKind::Choice:
        return !form.ChoiceValues[SlotOf(item)].empty();
    default:
        return !form.LineValues[SlotOf(item)].empty();
    }
}

bool Ticked(const Form& form, std::string_view key) {
    return std::any_of(form.Order.begin(), form.Order.end(),
                       [&](const OrderEntry& e) { return e.Checked && e.Key == key; });
}

// A README.md's sections stay Markdown: each text says so on its first line,
// so that the Markdown ReadMe writes it back as it came and the other layouts
// as plain text, while a text typed in the window shows as typed.
void MarkAsMarkdown(Form& form) {
    for (std::string& text : form.LongTexts) {
        if (!text.empty()) {
            text.insert(0, std::string(layout_lines::MarkdownMarker) + "\r\n");
        }
    }
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && AsciiLowered(text.substr(0, prefix.size())) == prefix;
}

std::string_view WithoutLeadingBlanks(std::string_view text) {
    while (!text.empty()) {
        if (text.front() == ' ' || text.front() == '\t' || text.front() == '\r' ||
            text.front() == '\n') {
            text.remove_prefix(1);
        } else if (text.starts_with("　")) {
            text.remove_prefix(3);
        } else {
            break;
        }
    }
    return text;
}

ReadMeFormat KindOf(std::string_view text, std::string_view fileName) {
    const std::string_view start = WithoutLeadingBlanks(text.substr(0, 4096));
    if (StartsWithNoCase(start, "<!doctype html") || StartsWithNoCase(start, "<html") ||
        StartsWithNoCase(start, "<?xml") ||
        ((AsciiLowered(fileName).ends_with(".html") || AsciiLowered(fileName).ends_with(".htm")) &&
         start.starts_with("<"))) {
        return ReadMeFormat::Html;
    }
    if (AsciiLowered(fileName).ends_with(".md") || AsciiLowered(fileName).ends_with(".markdown") ||
        start.starts_with("# ") || text.find("\n## ") != std::string_view::npos ||
        text.find("\n| --- |") != std::string_view::npos) {
        return ReadMeFormat::Markdown;
    }
    return ReadMeFormat::Text;
}

[[noreturn]] void Refuse(const std::string& message, const char* cause) {
    throw RuntimeError(ErrorNo::BadFileFormat, FailurePlace{{}, message}, cause);
}

void RefuseTooLarge() {
    Refuse("ReadMe として読み込むには大きすぎます（" + std::to_string(MaxImportSize >> 20) +
               " MB まで）",
           "ReadMe too large to import");
}

std::string_view WithoutLastLineEnd(std::string_view text, std::string_view lineEnd) {
    if (text.ends_with(lineEnd)) {
        text.remove_suffix(lineEnd.size());
    }
    return text;
}

} // namespace

std::string CreditText() {
    return "このReadMeファイルは、「" + AppInfoString(AppInfo::ProductName) +
           "」によって作成されました。";
}

ImportedForm::ImportedForm() : form_(FreshWorkspace().form), filled_(CatalogueSize, false) {
    for (auto& value : form_.LineValues) {
        value.clear();
    }
    for (auto& value : form_.ChoiceValues) {
        value.clear();
    }
    for (auto& text : form_.LongTexts) {
        text.clear();
    }
    form_.Order.clear();
    form_.SkipEmptyItems = 0;
    form_.ReplaceUserInput = 0;
}

void ImportedForm::Check(const std::string& key, const std::string& text, std::string_view heading,
                         std::string item) {
    form_.Order.push_back(OrderEntry{text, key, true});
    report_.Placements.push_back(ImportPlacement{std::string(heading), std::move(item)});
}

bool ImportedForm::Holds(const CatalogueItem& item) const {
    return filled_[CatalogueIndex(item)];
}

bool ImportedForm::SetSingle(const CatalogueItem& item, std::string value,
                             std::string_view heading) {
    const std::size_t index = CatalogueIndex(item);
    if (filled_[index]) {
        if (ShownValue(form_, item) != value) {
            return false;
        }
    } else if (item.Kind == ItemKind::Choice) {
        form_.ChoiceValues[SlotOf(item)] = std::move(value);
    } else if (item.Kind == ItemKind::SizeWithUnit) {
        form_.SizeUnit = -1;
        for (int unit = 0; unit < 4; ++unit) {
            if (value.ends_with(SizeUnitText(unit))) {
                value.resize(value.size() - SizeUnitText(unit).size());
                form_.SizeUnit = unit;
                break;
            }
        }
        form_.LineValues[SlotOf(item)] = std::move(value);
    } else {
        form_.LineValues[SlotOf(item)] = std::move(value);
    }
    filled_[index] = true;
    softwareName_ = softwareName_ || item.Key == "ソフト名";
    Check(std::string(item.Key), std::string(item.Key), heading, std::string(item.Key));
    return true;
}

bool ImportedForm::SetLong(const CatalogueItem& item, std::string text, std::string_view heading) {
    const std::size_t index = CatalogueIndex(item);
    if (filled_[index] && form_.LongTexts[SlotOf(item)] != text) {
        return false;
    }
    form_.LongTexts[SlotOf(item)] = std::move(text);
    filled_[index] = true;
    Check(std::string(item.Key), std::string(item.Key), heading, std::string(item.Key));
    return true;
}

// The user item (0..3 as UserNames) a name and value go to: the one that has
// them already, else the first free one of its two; -1 when there is none.
int ImportedForm::UserSlot(int first, const std::string& name, const std::string& value,
                           bool long_) {
    for (int i = first; i < first + 2; ++i) {
        const auto u = static_cast<std::size_t>(i);
        const std::string& held =
            long_ ? form_.LongTexts[u + 11] : form_.LineValues[LineSlot::UserItem1 + u];
        if (userTaken_[u] && form_.UserNames[u] == name && held == value) {
            return i;
        }
    }
    // The catch-all stays free for what has no other place.
    const int last = long_ ? first + 1 : first + 2;
    for (int i = first; i < last; ++i) {
        if (!userTaken_[static_cast<std::size_t>(i)]) {
            return i;
        }
    }
    if (long_ && !userTaken_[3]) {
        return 3;
    }
    return -1;
}

bool ImportedForm::SetUserSingle(const std::string& name, std::string value,
                                 std::string_view heading) {
    return SetUserItem(name, std::move(value), heading, false);
}

bool ImportedForm::SetUserLong(const std::string& name, std::string text,
                               std::string_view heading) {
    return SetUserItem(name, std::move(text), heading, true);
}

bool ImportedForm::SetUserItem(const std::string& name, std::string value, std::string_view heading,
                               bool isLong) {
    const int slot = UserSlot(isLong ? 2 : 0, name, value, isLong);
    if (slot < 0) {
        return false;
    }
    const auto u = static_cast<std::size_t>(slot);
    userTaken_[u] = true;
    form_.UserNames[u] = name;
    if (!isLong) {
        form_.LineValues[LineSlot::UserItem1 + u] = std::move(value);
    } else {
        catchAllInOrder_ = catchAllInOrder_ || slot == 3;
        form_.LongTexts[u + 11] = std::move(value);
    }
    const std::string key = UserItemKey(slot + 1);
    Check(key, name, heading, key + "（" + name + "）");
    return true;
}

void ImportedForm::AddSeparator() {
    form_.Order.push_back(OrderEntry{std::string(SeparatorKey), std::string(SeparatorKey), true});
}

void ImportedForm::AddCredit() {
    form_.Order.push_back(OrderEntry{std::string(CreditKey), std::string(CreditKey), true});
}

void ImportedForm::AppendCatchAll(const std::string& heading, const std::string& text) {
    catchAllUsed_ = true;
    std::string& last = form_.LongTexts[14];
    if (!userTaken_[3]) {
        userTaken_[3] = true;
        form_.UserNames[3] = "その他";
    }
    if (!catchAllInOrder_) {
        catchAllInOrder_ = true;
        form_.Order.push_back(OrderEntry{form_.UserNames[3], UserItemKey(4), true});
    }
    if (!last.empty()) {
        last += "\r\n\r\n";
    }
    if (!heading.empty()) {
        last += heading;
        NoteCatchAllLine(heading);
        if (!text.empty()) {
            last += "\r\n";
        }
    }
    last += text;
    std::size_t start = 0;
    while (start <= text.size() && !text.empty()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            end = text.size();
        }
        NoteCatchAllLine(text.substr(start, end - start));
        start = end + 2;
    }
    report_.Placements.push_back(ImportPlacement{heading, std::string(CatchAllItem)});
}

void ImportedForm::NoteCatchAllLine(std::string line) {
    // The report names the first lines; a huge file's catch-all is counted, not copied.
    constexpr std::size_t kNamedLines = 200;
    if (report_.CatchAllLines.size() < kNamedLines) {
        report_.CatchAllLines.push_back(std::move(line));
    }
    ++report_.CatchAllLineCount;
}

ImportResult ImportedForm::Finish() {
    // What found no place is looked at last: its entry goes after every other
    // checked entry, not where its first line happened to stand.
    if (catchAllUsed_) {
        const auto catchAll =
            std::find_if(form_.Order.begin(), form_.Order.end(),
                         [](const OrderEntry& e) { return e.Key == UserItemKey(4); });
        if (catchAll != form_.Order.end()) {
            std::rotate(catchAll, catchAll + 1, form_.Order.end());
        }
        report_.Checks.push_back("見出しに当てはまらない行は「" + form_.UserNames[3] +
                                 "」（追加4）の中、項目の並びの最後にあります");
    }
    // A value the ReadMe gave that its item order leaves out (a page's title
    // names the software even where the order has no ソフト名) would be lost
    // on the next ReadMe without a word.
    for (const CatalogueItem& item : Catalogue()) {
        if (item.Slot >= 0 && HasValue(form_, item) && !Ticked(form_, item.Key)) {
            const std::string name =
                item.UserIndex >= 0
                    ? std::string(item.Key) + "（" +
                          form_.UserNames[static_cast<std::size_t>(item.UserIndex)] + "）"
                    : std::string(item.Key);
            report_.Checks.push_back("「" + name +
                                     "」は値がありますが、項目の並びでチェックされていません"
                                     "（ReadMe には載りません）");
        }
    }
    for (const DefaultOrderRow& row : DefaultOrderTable()) {
        if (row.Key == SeparatorKey) {
            continue;
        }
        const auto present = std::find_if(form_.Order.begin(), form_.Order.end(),
                                          [&](const OrderEntry& e) { return e.Key == row.Key; });
        if (present != form_.Order.end()) {
            continue;
        }
        const CatalogueItem* item = LookupItem(row.Key);
        std::string text(row.Key);
        if (item != nullptr && item->UserIndex >= 0) {
            text = form_.UserNames[static_cast<std::size_t>(item->UserIndex)];
        }
        form_.Order.push_back(OrderEntry{text, std::string(row.Key), false});
    }
    return ImportResult{std::move(form_), std::move(report_)};
}

ImportResult ImportReadMeBytes(std::string_view bytes, std::string_view fileName) {
    if (bytes.size() > MaxImportSize) {
        RefuseTooLarge();
    }
    ReadMeEncoding encoding = ReadMeEncoding::Cp932;
    std::string decoded; // the text when the bytes are not UTF-8 as they stand
    std::string_view text;
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
        encoding = ReadMeEncoding::Utf8;
    }
    if (!LooksLikeText(bytes)) {
        throw RuntimeError(ErrorNo::BadFileFormat,
                           FailurePlace{{}, "テキストの ReadMe ではありません"},
                           "binary bytes in the ReadMe");
    }
    std::size_t broken = 0;
    if (IsUtf8(bytes)) {
        encoding = IsPureAscii(bytes) && encoding != ReadMeEncoding::Utf8 ? ReadMeEncoding::Cp932
                                                                          : ReadMeEncoding::Utf8;
        text = bytes; // read where it lies: a copy would double the memory of a big file
    } else if (MostlyUtf8(bytes, broken) || encoding == ReadMeEncoding::Utf8) {
        encoding = ReadMeEncoding::Utf8;
        decoded = WithReplacements(bytes, broken);
        text = decoded;
    } else {
        broken = 0; // counted while telling the encoding: CP932 has no broken UTF-8
        decoded = Cp932ToUtf8(bytes);
        text = decoded;
    }
    if (WithoutLeadingBlanks(text).find_first_not_of('\f') == std::string_view::npos) {
        Refuse("ReadMe が空です（読み込む行がありません）", "an empty ReadMe");
    }
    // A form file is no ReadMe: read as one, its block markers would make the
    // form one that no form file can hold. It is opened, not imported.
    if (BeginsWithFormHeader(WithoutLeadingBlanks(text))) {
        throw RuntimeError(
            ErrorNo::BadFileFormat,
            FailurePlace{{}, "フォームファイルです（「フォームを開く」で開いてください）"},
            "a form file given as a ReadMe");
    }

    const ReadMeFormat kind = KindOf(text, fileName);
    std::optional<ImportResult> own;
    if (kind == ReadMeFormat::Html) {
        if (text.find("<!DOCTYPE HTML PUBLIC") != std::string_view::npos) {
            own = ReadOwnHtml(WithoutLastLineEnd(text, "\r\n"));
        } else {
            own = ReadOwnHtml5(WithoutLastLineEnd(text, "\n"));
        }
    } else if (text.find("\r\n") != std::string_view::npos ||
               text.find('\n') == std::string_view::npos) {
        own = ReadOwnText(WithoutLastLineEnd(text, "\r\n"));
    } else {
        own = ReadOwnMarkdown(WithoutLastLineEnd(text, "\n"));
    }
    ImportResult result = own ? std::move(*own) : ReadByHeadings(text, kind);
    if (!own && kind == ReadMeFormat::Markdown) {
        MarkAsMarkdown(result.form);
    }
    if (broken > 0) {
        result.report.Checks.insert(result.report.Checks.begin(),
                                    "UTF-8 として読めないバイト " + std::to_string(broken) +
                                        " 個を U+FFFD（�）に置き換えました");
    }
    result.report.OwnLayout = own.has_value();
    if (!own) {
        result.report.Format = kind;
    }
    // Markdown and HTML5 are always UTF-8; an HTML 4.01 page of Kelvaro's says
    // which it is in its charset.
    const bool alwaysUtf8 = result.report.Format == ReadMeFormat::Markdown ||
                            result.report.Format == ReadMeFormat::Html5;
    const bool declaredUtf8 = result.report.Format == ReadMeFormat::Html && own &&
                              text.find("charset=UTF-8\">") != std::string_view::npos;
    result.report.Encoding = alwaysUtf8 || declaredUtf8 ? ReadMeEncoding::Utf8 : encoding;
    return result;
}

ImportResult ImportReadMeFile(const std::string& path) {
    try {
        // Refused before a byte is read: a huge file costs no memory and no time.
        if (const auto stamp = StampOf(path);
            stamp && static_cast<std::uint64_t>(stamp->Size) > MaxImportSize) {
            RefuseTooLarge();
        }
        const std::string bytes = ReadWholeFile(path);
        return ImportReadMeBytes(bytes, path);
    } catch (RuntimeError& error) {
        error.SetPathIfMissing(path);
        throw;
    }
}

} // namespace kelvaro
