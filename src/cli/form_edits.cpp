#include "cli/form_edits.h"

#include "compose/references.h"
#include "files/form_file.h"
#include "model/catalogue.h"
#include "model/defaults.h"
#include "model/form_texts.h"
#include "model/item_order.h"
#include "model/long_text.h"
#include "model/name_fold.h"
#include "platform/cp932.h"
#include "platform/file_io.h"
#include "platform/text.h"
#include "session/lossy_question.h"

#include <algorithm>
#include <utility>

namespace kelvaro::cli {
namespace {

bool HoldsValue(const CatalogueItem& item) {
    return item.Slot >= 0;
}

bool IsLong(const CatalogueItem& item) {
    return item.Kind == ItemKind::LongText || item.Kind == ItemKind::UserLongText;
}

// Every line break as CR LF: how the long-text box stores what is typed.
std::string WithCrLf(std::string_view text) {
    std::string lines;
    lines.reserve(text.size() + text.size() / 16);
    bool first = true;
    ForEachLineEndedByAnyBreak(text, [&](std::string_view line) {
        if (!first) {
            lines += "\r\n";
        }
        lines += line;
        first = false;
    });
    return lines;
}

std::u32string CodePoints(std::string_view utf8) {
    std::u32string points;
    for (std::size_t i = 0; i < utf8.size();) {
        points += ReadUtf8At(utf8, i);
    }
    return points;
}

// How many characters to insert, remove or change to make one name the other.
std::size_t EditDistance(const std::u32string& a, const std::u32string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) {
        row[j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

Words NoItem(const std::string& key, bool withValue) {
    Words words =
        withValue ? Words{"「" + key + "」 is no item with a value",
                          "「" + key + "」という値のある項目はありません"}
                  : Words{"「" + key + "」 is no item", "「" + key + "」という項目はありません"};
    const std::vector<std::string> near = NearestKeys(key, withValue);
    for (std::size_t i = 0; i < near.size(); ++i) {
        words.En += (i == 0 ? "; did you mean: " : ", ") + near[i];
        words.Ja += (i == 0 ? "。もしかして: " : "、") + near[i];
    }
    return words;
}

// The value an edit gives the item, or the problem with it.
std::optional<Words> ValueOf(const ValueEdit& edit, const CatalogueItem& item, std::string& value) {
    value = edit.Value;
    if (edit.FromFile) {
        std::optional<std::string> text = TextOfFile(ReadWholeFile(edit.Value));
        if (!text) {
            return Words{edit.Value + " is neither UTF-8 nor Shift_JIS text",
                         edit.Value + " は UTF-8 でも Shift_JIS でもないファイルです"};
        }
        value = std::move(*text);
        // As a shell's $(cat FILE) would have it.
        while (!IsLong(item) && (value.ends_with('\n') || value.ends_with('\r'))) {
            value.pop_back();
        }
    }
    if (!IsLong(item) && AsSingleLine(value) != value) {
        return Words{"the value of 「" + edit.Key +
                         "」 holds a line break; it is a single-line item",
                     "「" + edit.Key + "」は１行の項目なので、値に改行は入れられません"};
    }
    return std::nullopt;
}

std::optional<Words> ApplyValue(Workspace& ws, const ValueEdit& edit) {
    const CatalogueItem* item = FindItemByFoldedKey(edit.Key);
    if (item == nullptr || !HoldsValue(*item)) {
        return NoItem(edit.Key, true);
    }
    std::string value;
    if (auto problem = ValueOf(edit, *item, value)) {
        return problem;
    }
    const auto slot = static_cast<std::size_t>(item->Slot);
    if (IsLong(*item)) {
        ws.form.LongTexts[slot] = WithCrLf(value);
    } else if (item->Kind == ItemKind::Choice) {
        ws.form.ChoiceValues[slot] = std::move(value);
    } else {
        ws.form.LineValues[slot] = std::move(value);
    }
    return std::nullopt;
}

// Where an item the order lacks stands: after the last entry that comes
// before it in the default order. Each entry is matched to its row of the
// default order; a separator, which stands there several times, to its first
// row after the entry before it.
std::size_t DefaultPlace(const Form& form, std::string_view key) {
    const auto table = DefaultOrderTable();
    const auto rowOf = [&](std::string_view name, std::size_t from) {
        for (std::size_t r = from; r < table.size(); ++r) {
            if (table[r].Key == name) {
                return r;
            }
        }
        return table.size();
    };
    const std::size_t wanted = rowOf(key, 0);
    std::size_t place = 0;
    std::size_t previous = 0;
    for (std::size_t p = 0; p < form.Order.size(); ++p) {
        const std::string& name = form.Order[p].Key;
        const std::size_t row = rowOf(name, name == SeparatorKey && p > 0 ? previous + 1 : 0);
        previous = row < table.size() ? row : previous;
        if (row < wanted) {
            place = p + 1;
        }
    }
    return place;
}

std::optional<Words> ApplyCheck(Workspace& ws, const CheckEdit& edit) {
    const CatalogueItem* item = FindItemByFoldedKey(edit.Key);
    if (item == nullptr) {
        return NoItem(edit.Key, false);
    }
    // The separator stands in the order more than once: each entry follows.
    bool found = false;
    for (std::size_t i = 0; i < ws.form.Order.size(); ++i) {
        if (ws.form.Order[i].Key == item->Key) {
            SetEntryChecked(ws, i, edit.Checked);
            found = true;
        }
    }
    if (!found && edit.Checked) {
        const std::size_t place = DefaultPlace(ws.form, item->Key);
        const std::string text = item->UserIndex >= 0
                                     ? ws.form.UserNames[static_cast<std::size_t>(item->UserIndex)]
                                     : std::string(item->Key);
        ws.form.Order.insert(ws.form.Order.begin() + static_cast<std::ptrdiff_t>(place),
                             OrderEntry{text, std::string(item->Key), false});
        SetEntryChecked(ws, place, true);
    }
    return std::nullopt;
}

bool Ticked(const Form& form, std::string_view key) {
    return std::any_of(form.Order.begin(), form.Order.end(),
                       [&](const OrderEntry& e) { return e.Checked && e.Key == key; });
}

// The items a ticked long text refers to: their values reach the ReadMe there.
std::vector<std::string_view> ReferencedFromTickedTexts(const Form& form) {
    std::vector<std::string_view> keys;
    for (const CatalogueItem& item : Catalogue()) {
        if (IsLong(item) && Ticked(form, item.Key)) {
            for (std::string_view key :
                 ReferencedKeys(form.LongTexts[static_cast<std::size_t>(item.Slot)])) {
                keys.push_back(key);
            }
        }
    }
    return keys;
}

const std::string& ValueIn(const Form& form, const CatalogueItem& item) {
    const auto slot = static_cast<std::size_t>(item.Slot);
    if (IsLong(item)) {
        return form.LongTexts[slot];
    }
    return item.Kind == ItemKind::Choice ? form.ChoiceValues[slot] : form.LineValues[slot];
}

// The characters Shift_JIS would change, a line each with its item, in English.
std::string LossyLinesInEnglish(const Form& form) {
    constexpr std::size_t kShown = 5;
    std::string lines;
    std::size_t told = 0;
    for (const NamedText& text : NamedFormTexts(form)) {
        for (const LossyCharacter& c : FindLossyCharacters(text.Text, kShown, FormFileUnmappable)) {
            if (told++ == kShown) {
                return lines + "\n- and more";
            }
            lines += "\n- 「" + text.Item + "」: " + c.Character + " → " + c.WrittenAs;
        }
    }
    return lines;
}

} // namespace

std::string ValueKeyList() {
    std::string keys;
    for (const CatalogueItem& item : Catalogue()) {
        if (HoldsValue(item)) {
            keys.append(item.Key).append("\n");
        }
    }
    return keys;
}

std::vector<std::string> NearestKeys(std::string_view key, bool withValue) {
    const std::u32string typed = CodePoints(FoldName(key));
    std::vector<std::pair<std::size_t, std::string>> near;
    for (const CatalogueItem& item : Catalogue()) {
        if (withValue && !HoldsValue(item)) {
            continue;
        }
        const std::u32string known = CodePoints(FoldName(item.Key));
        const std::size_t distance = EditDistance(typed, known);
        // Close enough that a slip explains it: a third of the name, at least
        // one character; or the one name holds the other whole.
        const bool within =
            known.find(typed) != std::u32string::npos || typed.find(known) != std::u32string::npos;
        if ((!typed.empty() && within) || distance <= std::max<std::size_t>(1, known.size() / 3)) {
            near.emplace_back(distance, std::string(item.Key));
        }
    }
    std::stable_sort(near.begin(), near.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> keys;
    for (std::size_t i = 0; i < near.size() && i < 3; ++i) {
        keys.push_back(near[i].second);
    }
    return keys;
}

std::optional<std::string> TextOfFile(const std::string& bytes) {
    std::string_view text = bytes;
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3); // a byte order mark is no part of the text
    }
    if (text.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    if (IsUtf8(text)) {
        return std::string(text);
    }
    // Bytes that are no Shift_JIS character come out as U+FFFD.
    std::string decoded = Cp932ToUtf8(text);
    if (decoded.find("\xEF\xBF\xBD") != std::string::npos) {
        return std::nullopt;
    }
    return decoded;
}

std::optional<Words> ApplyFormEdits(Workspace& ws, const CommandRequest& request) {
    // The editor holds the current long text; it is brought into the form
    // first and shown again after, so the form file writer keeps what was set.
    CommitLongText(ws);
    for (const ValueEdit& edit : request.Values) {
        if (auto problem = ApplyValue(ws, edit)) {
            return problem;
        }
    }
    ws.EditorText = ws.form.LongTexts[static_cast<std::size_t>(ws.CurrentLongItem)];
    for (const CheckEdit& edit : request.Checks) {
        if (auto problem = ApplyCheck(ws, edit)) {
            return problem;
        }
    }
    return std::nullopt;
}

std::vector<std::string> UntickedWithValue(const Form& form, const std::vector<std::string>& keys) {
    const Form fresh = FreshWorkspace().form;
    const std::vector<std::string_view> referenced = ReferencedFromTickedTexts(form);
    std::vector<std::string> unticked;
    for (const CatalogueItem& item : Catalogue()) {
        if (!HoldsValue(item) || Ticked(form, item.Key) ||
            std::find(referenced.begin(), referenced.end(), item.Key) != referenced.end()) {
            continue;
        }
        const bool named = std::any_of(keys.begin(), keys.end(), [&](const std::string& key) {
            return FindItemByFoldedKey(key) == &item;
        });
        const std::string& value = ValueIn(form, item);
        // An emptied value loses nothing by staying out.
        if (!value.empty() && (keys.empty() ? value != ValueIn(fresh, item) : named)) {
            unticked.emplace_back(item.Key);
        }
    }
    return unticked;
}

Words UntickedNotice(const std::string& key) {
    return Words{"「" + key +
                     "」 has a value but is not ticked in the item order, so the ReadMe "
                     "leaves it out; --check " +
                     key + " ticks it",
                 "「" + key +
                     "」に値がありますが、項目順序でチェックされていないため ReadMe に"
                     "載りません。--check " +
                     key + " で載せられます"};
}

std::optional<Words> FormWriteProblem(const Form& form, bool allowLossy) {
    if (auto unwritable = FindUnwritableItem(form)) {
        return Words{"「" + unwritable->Item + "」 holds a line a form file cannot keep (" +
                         (unwritable->Why == UnwritableItem::Problem::MarkerLine
                              ? "one beginning with #%! or !%#"
                              : "a line break it would read back otherwise") +
                         "); nothing was written",
                     UnwritableMessage(*unwritable)};
    }
    const std::string lines =
        allowLossy ? std::string() : LossyCharacterLines(NamedFormTexts(form), FormFileUnmappable);
    if (lines.empty()) {
        return std::nullopt;
    }
    return Words{
        "the form holds characters Shift_JIS would change:" + LossyLinesInEnglish(form) +
            "\n--allow-lossy writes them replaced",
        LossyQuestionText(lines, "--allow-lossy を付けると、それらの文字を置き換えて保存します。")};
}

} // namespace kelvaro::cli
