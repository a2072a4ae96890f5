#include "cli/form_edits.h"

#include "files/form_file.h"
#include "model/name_fold.h"
#include "model/catalogue.h"
#include "model/form_texts.h"
#include "model/item_order.h"
#include "model/long_text.h"
#include "platform/file_io.h"
#include "platform/text.h"
#include "session/session.h"

#include <string_view>

namespace kelvaro::cli {

const char* const kFormEditHelp =
    "  --set KEY=VALUE     set the value of the item KEY (作者名, バージョン, 開発履歴,\n"
    "                      追加1 ... 追加4 for the user items' values) before composing;\n"
    "                      repeatable. A single-line item's value may hold no line break\n"
    "  --set-file KEY=FILE the same with FILE's UTF-8 text (a final line break of a\n"
    "                      single-line value is dropped)\n"
    "  --check KEY         tick the item KEY in the item order so that it is\n"
    "                      composed; repeatable, applied in order after --set\n"
    "  --uncheck KEY       untick it, so that it is left out\n"
    "  --list-keys         print the keys --set takes, one a line, and exit\n"
    "                      KEYs match as typed: half- and full-width forms, letter\n"
    "                      case and blanks do not count (アーカイブサイズ is\n"
    "                      ｱｰｶｲﾌﾞｻｲｽﾞ); an unknown KEY is a usage error\n"
    "  --write-form FILE   also write the resulting form as a form file to FILE,\n"
    "                      replacing it whole, after the ReadMe of --output; without\n"
    "                      --output no ReadMe is composed. A form that cannot be\n"
    "                      written exactly is refused (exit 1) and nothing is written\n"
    "  --allow-lossy       let --write-form write characters that Shift_JIS would\n"
    "                      change (\"?\" for 😀, \"\\\" for ¥, ...)\n";

namespace {

// "--name=VALUE" or "--name VALUE".
std::optional<std::string> OptionValue(const std::vector<std::string>& args, std::size_t& i,
                                       const std::string& name) {
    const std::string& arg = args[i];
    if (arg.size() > name.size() && arg.compare(0, name.size() + 1, name + "=") == 0) {
        return arg.substr(name.size() + 1);
    }
    if (arg == name && i + 1 < args.size()) {
        return args[++i];
    }
    return std::nullopt;
}

bool Names(const std::string& arg, const std::string& name) {
    return arg == name || arg.starts_with(name + "=");
}

bool HoldsLineBreak(std::string_view text) {
    return AsSingleLine(text) != text;
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

std::optional<std::string> ValueOf(const ValueEdit& edit, const CatalogueItem& item) {
    if (!edit.FromFile) {
        return edit.Value;
    }
    std::string text = ReadWholeFile(edit.Value);
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.erase(0, 3); // a byte order mark is no part of the text
    }
    if (!IsUtf8(text)) {
        return std::nullopt;
    }
    const bool single = item.Kind != ItemKind::LongText && item.Kind != ItemKind::UserLongText;
    if (single) {
        // As a shell's $(cat FILE) would have it.
        while (text.ends_with('\n') || text.ends_with('\r')) {
            text.pop_back();
        }
    }
    return text;
}

// The values of --set and --set-file, in the order given.
std::optional<std::string> ApplyValues(Workspace& ws, const std::vector<ValueEdit>& edits) {
    // The editor holds the current long text; it is brought into the form
    // first and shown again after, so the form file writer keeps what was set.
    CommitLongText(ws);
    for (const ValueEdit& edit : edits) {
        const CatalogueItem* item = FindItemByFoldedKey(edit.Key);
        if (item == nullptr || item->Slot < 0) {
            return "「" + edit.Key + "」 is no item with a value";
        }
        std::optional<std::string> value = ValueOf(edit, *item);
        if (!value) {
            return edit.Value + " is no UTF-8 text";
        }
        const auto slot = static_cast<std::size_t>(item->Slot);
        switch (item->Kind) {
        case ItemKind::LongText:
        case ItemKind::UserLongText:
            ws.form.LongTexts[slot] = WithCrLf(*value);
            continue;
        case ItemKind::Choice:
        case ItemKind::SingleLine:
        case ItemKind::SizeWithUnit:
        case ItemKind::UserSingleLine:
            break;
        case ItemKind::Separator:
        case ItemKind::CreditLine:
            return "「" + edit.Key + "」 is no item with a value";
        }
        if (HoldsLineBreak(*value)) {
            return "the value of 「" + edit.Key + "」 holds a line break; it is a single-line item";
        }
        (item->Kind == ItemKind::Choice ? ws.form.ChoiceValues[slot] : ws.form.LineValues[slot]) =
            std::move(*value);
    }
    ws.EditorText = ws.form.LongTexts[static_cast<std::size_t>(ws.CurrentLongItem)];
    return std::nullopt;
}

} // namespace

Taken TakeFormEditOption(const std::vector<std::string>& args, std::size_t& i, FormEdits& edits,
                         std::string& problem) {
    const std::string& arg = args[i];
    for (const char* name : {"--set", "--set-file"}) {
        if (!Names(arg, name)) {
            continue;
        }
        const std::optional<std::string> value = OptionValue(args, i, name);
        const std::size_t equals = value ? value->find('=') : std::string::npos;
        if (equals == std::string::npos || equals == 0) {
            problem = std::string(name) +
                      " needs KEY=" + (std::string_view(name) == "--set" ? "VALUE" : "FILE");
            return Taken::Bad;
        }
        edits.Values.push_back(ValueEdit{value->substr(0, equals), value->substr(equals + 1),
                                         std::string_view(name) == "--set-file"});
        return Taken::Taken;
    }
    for (const char* name : {"--check", "--uncheck"}) {
        if (!Names(arg, name)) {
            continue;
        }
        const std::optional<std::string> key = OptionValue(args, i, name);
        if (!key || key->empty()) {
            problem = std::string(name) + " needs KEY";
            return Taken::Bad;
        }
        edits.Checks.push_back(CheckEdit{*key, std::string_view(name) == "--check"});
        return Taken::Taken;
    }
    if (Names(arg, "--write-form")) {
        const std::optional<std::string> file = OptionValue(args, i, "--write-form");
        if (!file || file->empty()) {
            problem = "--write-form needs a file name";
            return Taken::Bad;
        }
        edits.WriteForm = *file;
        return Taken::Taken;
    }
    if (arg == "--allow-lossy") {
        edits.AllowLossy = true;
        return Taken::Taken;
    }
    return Taken::NotOurs;
}

std::string ValueKeyList() {
    std::string keys;
    for (const CatalogueItem& item : Catalogue()) {
        if (item.Slot >= 0) {
            keys.append(item.Key).append("\n");
        }
    }
    return keys;
}

std::optional<std::string> ApplyFormEdits(Workspace& ws, const FormEdits& edits) {
    if (auto problem = ApplyValues(ws, edits.Values)) {
        return problem;
    }
    for (const CheckEdit& edit : edits.Checks) {
        const CatalogueItem* item = FindItemByFoldedKey(edit.Key);
        if (item == nullptr) {
            return "「" + edit.Key + "」 is no item";
        }
        // The separator stands in the order more than once: each entry of the
        // key follows.
        bool found = false;
        for (std::size_t i = 0; i < ws.form.Order.size(); ++i) {
            if (ws.form.Order[i].Key == item->Key) {
                SetEntryChecked(ws, i, edit.Checked);
                found = true;
            }
        }
        if (!found) {
            return "「" + edit.Key + "」 is not in the item order";
        }
    }
    return std::nullopt;
}

std::string FormWriteProblem(const Form& form, bool allowLossy) {
    if (auto unwritable = FindUnwritableItem(form)) {
        return UnwritableMessage(*unwritable);
    }
    if (allowLossy) {
        return {};
    }
    const std::string lines = LossyCharacterLines(NamedFormTexts(form));
    if (lines.empty()) {
        return {};
    }
    return LossyQuestionText(lines,
                             "--allow-lossy を付けると、それらの文字を置き換えて保存します。");
}

} // namespace kelvaro::cli
