#include "settings/command_options.h"

#include <array>
#include <cstdlib>

namespace kelvaro {
namespace {

using Request = CommandRequest;
using Problem = std::optional<Words>;

Problem NeedsValue(std::string_view option, std::string_view what, std::string_view whatJa) {
    return Words{std::string(option) + " needs " + std::string(what),
                 std::string(option) + " には" + std::string(whatJa) + "が必要です"};
}

Problem Into(std::optional<std::string>& field, std::string_view option, const std::string& file) {
    if (file.empty()) {
        return NeedsValue(option, "a file name", "ファイル名");
    }
    field = file;
    return std::nullopt;
}

Problem Format(Request& r, const std::string& word) {
    const std::optional<ReadMeFormat> format = FormatNamed(word);
    if (!format) {
        return Words{"unknown format '" + word + "' (text, html, markdown or html5)",
                     "形式「" + word + "」はありません（text, html, markdown, html5 のどれか）"};
    }
    r.Format = *format;
    return std::nullopt;
}

Problem Encoding(Request& r, const std::string& word) {
    if (word == "cp932" || word == "utf-8") {
        r.Encoding = word == "cp932" ? ReadMeEncoding::Cp932 : ReadMeEncoding::Utf8;
        return std::nullopt;
    }
    return Words{"unknown encoding '" + word + "' (cp932 or utf-8)",
                 "文字コード「" + word + "」はありません（cp932 か utf-8）"};
}

// "KEY=VALUE" of --set and --set-file.
Problem KeyAndValue(Request& r, const std::string& pair, bool fromFile) {
    const std::size_t equals = pair.find('=');
    if (equals == std::string::npos || equals == 0) {
        return fromFile ? NeedsValue("--set-file", "KEY=FILE", " KEY=FILE ")
                        : NeedsValue("--set", "KEY=VALUE", " KEY=VALUE ");
    }
    r.Values.push_back(ValueEdit{pair.substr(0, equals), pair.substr(equals + 1), fromFile});
    return std::nullopt;
}

Problem Check(Request& r, const std::string& key, bool checked) {
    if (key.empty()) {
        return NeedsValue(checked ? "--check" : "--uncheck", "KEY", " KEY ");
    }
    r.Checks.push_back(CheckEdit{key, checked});
    return std::nullopt;
}

Problem Act(Request& r, Request::Action action) {
    r.What = action;
    return std::nullopt;
}

constexpr unsigned kBoth = WindowProgram | ComposeProgram;

// In the order the help shows them.
constexpr std::array<CommandOption, 16> kOptions{{
    {"--format", "", "FORMAT", ComposeProgram,
     [](Request& r, const std::string& v) { return Format(r, v); },
     "text (the default), html (an HTML 4.01 page), markdown\n"
     "(a README.md) or html5 (an HTML5 page for browsers today)",
     "text（既定）、html（HTML 4.01 のページ）、markdown（README.md）、\n"
     "html5（今のブラウザ向けの HTML5 のページ）"},
    {"--encoding", "", "ENC", ComposeProgram,
     [](Request& r, const std::string& v) { return Encoding(r, v); },
     "cp932 (Shift_JIS, the default) or utf-8, for text and\n"
     "html; markdown and html5 are always UTF-8",
     "text と html の文字コード: cp932（Shift_JIS、既定）か utf-8。\n"
     "markdown と html5 はいつも UTF-8"},
    {"--utf8", "", "", ComposeProgram,
     [](Request& r, const std::string&) -> Problem {
         r.Encoding = ReadMeEncoding::Utf8;
         return std::nullopt;
     },
     "the same as --encoding utf-8", "--encoding utf-8 と同じ"},
    {"--output", "", "FILE", ComposeProgram,
     [](Request& r, const std::string& v) { return Into(r.Output, "--output", v); },
     "write the ReadMe to FILE instead of standard output;\n"
     "FILE is replaced whole, or kept as it was if writing fails",
     "ReadMe を標準出力ではなく FILE に書く。FILE は丸ごと置き換わり、\n"
     "書けなかったときは元のまま"},
    {"--import", "", "README", ComposeProgram,
     [](Request& r, const std::string& v) { return Into(r.Import, "--import", v); },
     "read the form from a ReadMe (text, Markdown or HTML,\n"
     "UTF-8 or Shift_JIS) instead of a form file; one read by\n"
     "its headings is reported on standard error",
     "フォームファイルの代わりに ReadMe（テキスト・Markdown・HTML、UTF-8 か\n"
     "Shift_JIS）からフォームを読む。見出しで読んだときは標準エラーに報告"},
    {"--new-form", "", "FILE", ComposeProgram,
     [](Request& r, const std::string& v) { return Into(r.NewForm, "--new-form", v); },
     "write a fresh default form file to FILE", "新しいフォームファイルを FILE に書く"},
    {"--set", "", "KEY=VALUE", ComposeProgram,
     [](Request& r, const std::string& v) { return KeyAndValue(r, v, false); },
     "set the value of the item KEY (作者名, バージョン,\n"
     "開発履歴, 追加1 ...); repeatable; a one-line item's value\n"
     "holds no line break",
     "項目 KEY の値を VALUE にする（作者名、バージョン、開発履歴、追加1 …）。\n"
     "何度でも。１行の項目の値に改行は入れられない"},
    {"--set-file", "", "KEY=FILE", ComposeProgram,
     [](Request& r, const std::string& v) { return KeyAndValue(r, v, true); },
     "the same with FILE's text, UTF-8 (with or without BOM)\n"
     "or Shift_JIS; a one-line value loses its final line break",
     "値を FILE の内容にする。UTF-8（BOM があってもなくても）か Shift_JIS。\n"
     "１行の項目では最後の改行を除く"},
    {"--check", "", "KEY", ComposeProgram,
     [](Request& r, const std::string& v) { return Check(r, v, true); },
     "tick the item KEY in the item order so that it is\n"
     "written; an item the order lacks goes to its place of\n"
     "the default order",
     "項目順序で KEY にチェックを付けて ReadMe に載せる。項目順序にない\n"
     "項目は既定の順序での位置に入る"},
    {"--uncheck", "", "KEY", ComposeProgram,
     [](Request& r, const std::string& v) { return Check(r, v, false); },
     "untick it, so that it is left out", "チェックを外して ReadMe から除く"},
    {"--write-form", "", "FILE", ComposeProgram,
     [](Request& r, const std::string& v) { return Into(r.WriteForm, "--write-form", v); },
     "also write the resulting form to FILE (after the ReadMe\n"
     "of --output; without --output no ReadMe is composed); a\n"
     "form that cannot be written exactly is refused and\n"
     "nothing is written",
     "できたフォームを FILE にも書く（--output の ReadMe のあと。--output が\n"
     "なければ ReadMe は作らない）。正確に書けないフォームは何も書かずに断る"},
    {"--allow-lossy", "", "", ComposeProgram,
     [](Request& r, const std::string&) -> Problem {
         r.AllowLossy = true;
         return std::nullopt;
     },
     "let --write-form write characters Shift_JIS would\n"
     "change (? for 😀, \\ for ¥)",
     "Shift_JIS で変わる文字（😀 は ?）も --write-form で書く"},
    {"--list-keys", "", "", ComposeProgram,
     [](Request& r, const std::string&) { return Act(r, Request::Action::ListKeys); },
     "print the keys --set takes, one a line. KEYs match as\n"
     "typed: half- and full-width, letter case and blanks do\n"
     "not count",
     "--set に使える KEY を１行に一つ表示する。KEY は全角・半角、大文字・\n"
     "小文字、空白の違いを問わない"},
    {"--help", "-h", "", kBoth,
     [](Request& r, const std::string&) { return Act(r, Request::Action::Help); },
     "show this help and exit", "この説明を表示して終わる"},
    {"--version", "", "", kBoth,
     [](Request& r, const std::string&) { return Act(r, Request::Action::Version); },
     "show the version and exit", "バージョンを表示して終わる"},
    {"--", "", "", kBoth, nullptr,
     "the end of the options: what follows is the form file,\n"
     "even a name that begins with \"-\"",
     "オプションの終わり。後ろは「-」で始まってもフォームファイル"},
}};

constexpr std::size_t kHelpColumn = 22;

// "--name=value" is the row's name followed by "=".
bool Names(const CommandOption& row, std::string_view arg) {
    if (!row.Short.empty() && arg == row.Short) {
        return true;
    }
    return arg.starts_with(row.Name) &&
           (arg.size() == row.Name.size() || arg[row.Name.size()] == '=');
}

Problem Unknown(const std::string& arg) {
    return Words{"unknown option '" + arg + "'", "「" + arg + "」というオプションはありません"};
}

// The value of the option at args[i]: after "=", or the next argument.
Problem TakeOption(const CommandOption& row, const std::vector<std::string>& args, std::size_t& i,
                   Request& request) {
    const std::string& arg = args[i];
    const bool inline_ = arg.size() > row.Name.size() && arg[row.Name.size()] == '=';
    std::string value = inline_ ? arg.substr(row.Name.size() + 1) : std::string();
    if (row.Value.empty() && inline_) {
        return Words{std::string(row.Name) + " takes no value",
                     std::string(row.Name) + " に値は付けられません"};
    }
    if (!row.Value.empty() && !inline_) {
        if (i + 1 >= args.size()) {
            return NeedsValue(row.Name, row.Value, " " + std::string(row.Value) + " ");
        }
        value = args[++i];
    }
    return row.Apply(request, value);
}

} // namespace

Language LanguageOf(const char* (*get)(const char*)) {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = get(name);
        if (value != nullptr && *value != '\0') {
            return std::string_view(value).starts_with("ja") ? Language::Japanese
                                                             : Language::English;
        }
    }
    return Language::English;
}

Language EnvironmentLanguage() {
    return LanguageOf([](const char* name) -> const char* { return std::getenv(name); });
}

std::span<const CommandOption> CommandOptions() {
    return kOptions;
}

const CommandOption* FindOption(unsigned program, std::string_view arg) {
    for (const CommandOption& row : kOptions) {
        if ((row.Programs & program) != 0 && row.Apply != nullptr && Names(row, arg)) {
            return &row;
        }
    }
    return nullptr;
}

std::optional<Words> ParseCommandLine(unsigned program, const std::vector<std::string>& args,
                                      CommandRequest& request) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (optionsEnded || !arg.starts_with("-") || arg == "-") {
            if (request.Form) {
                return Words{"more than one form file: " + *request.Form + " and " + arg,
                             "フォームファイルは一つだけです: " + *request.Form + " と " + arg};
            }
            request.Form = arg;
        } else if (const CommandOption* row = FindOption(program, arg)) {
            if (Problem problem = TakeOption(*row, args, i, request)) {
                return problem;
            }
            if (request.What != CommandRequest::Action::Run) {
                return std::nullopt; // --help and the like answer whatever follows
            }
        } else {
            return Unknown(arg);
        }
    }
    return std::nullopt;
}

std::string OptionHelp(unsigned program, Language language) {
    std::string help;
    for (const CommandOption& row : kOptions) {
        if ((row.Programs & program) == 0) {
            continue;
        }
        std::string head = "  " + std::string(row.Name);
        if (!row.Short.empty()) {
            head += ", " + std::string(row.Short);
        }
        if (!row.Value.empty()) {
            head += " " + std::string(row.Value);
        }
        head.resize(std::max(head.size() + 1, kHelpColumn), ' ');
        help += head;
        const std::string_view text = language == Language::Japanese ? row.HelpJa : row.HelpEn;
        for (const char c : text) {
            help += c;
            if (c == '\n') {
                help += std::string(kHelpColumn, ' ');
            }
        }
        help += '\n';
    }
    return help;
}

} // namespace kelvaro
