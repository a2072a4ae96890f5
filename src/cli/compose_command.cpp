#include "cli/compose_command.h"

#include "cli/form_edits.h"
#include "cli/messages.h"
#include "compose/compose_readme.h"
#include "compose/readme_file.h"
#include "files/form_file.h"
#include "import/readme_import.h"
#include "model/defaults.h"
#include "model/name_fold.h"
#include "platform/error.h"
#include "platform/file_io.h"
#include "platform/same_file.h"
#include "platform/standard_output.h"
#include "platform/version.h"
#include "session/failure.h"
#include "session/session.h"

#include <algorithm>
#include <new>
#include <optional>
#include <ostream>
#include <string_view>
#include <vector>

namespace kelvaro::cli {
namespace {

constexpr std::string_view kUsage =
    "usage: kelvaro-compose [FORM.ref | --import README] [--format FORMAT]\n"
    "                       [--encoding ENC] [--set KEY=VALUE]...\n"
    "                       [--set-file KEY=FILE]... [--check KEY]... [--uncheck KEY]...\n"
    "                       [--output FILE] [--write-form FILE] [--allow-lossy]\n"
    "       kelvaro-compose --new-form FILE | --list-keys | --help | --version\n";

// A fixed text in both languages, made at compile time.
struct BothLanguages {
    std::string_view En;
    std::string_view Ja;
    std::string_view In(Language language) const {
        return language == Language::Japanese ? Ja : En;
    }
};

constexpr BothLanguages kHelpHead{
    "Composes a ReadMe from a form file (.ref), from a ReadMe read back into a\n"
    "form (--import), or from a fresh default form when neither is given.\n"
    "A long text may name a one-line item in double braces, {{バージョン}}: the\n"
    "ReadMe writes the item's value there and the form keeps the reference.\n"
    "\\{{バージョン}} writes the braces themselves.\n\n",
    "フォームファイル（.ref）、フォームとして読み込んだ ReadMe（--import）、\n"
    "どちらもなければ新しいフォームから ReadMe を作ります。\n"
    "長文項目には１行の項目を {{バージョン}} のように二重の波かっこで書けます。\n"
    "ReadMe にはその値が入り、フォームには参照のまま残ります。\n"
    "\\{{バージョン}} と書くと波かっこのまま出ます。\n\n"};

constexpr BothLanguages kHelpTail{
    "\nText and html end lines with CR LF, markdown and html5 with LF. Everything\n"
    "is composed before anything is written; then the ReadMe, then the form file.\n"
    "Writing over a file that is read, or two outputs into one file, is refused.\n"
    "An item given a value but not ticked in the item order is told on standard\n"
    "error. Messages are Japanese under a Japanese locale, English otherwise.\n\n"
    "Exit status: 0 done, 1 reading, composing or writing failed, 2 bad usage.\n",
    "\ntext と html の改行は CR LF、markdown と html5 は LF です。すべてを作って\n"
    "から書き始め、ReadMe、フォームファイルの順に書きます。読むファイルへの上書き、\n"
    "二つの出力を一つのファイルへ書くことは断ります。値を入れたのに項目順序で\n"
    "チェックされていない項目は標準エラーで知らせます。メッセージは日本語の\n"
    "ロケールでは日本語、それ以外では英語です。\n\n"
    "終了コード: 0 完了、1 読み込み・作成・書き込みの失敗、2 使い方の誤り。\n"};

std::string HelpText(Language language) {
    return std::string(kUsage) + "\n" + std::string(kHelpHead.In(language)) +
           OptionHelp(ComposeProgram, language) + std::string(kHelpTail.In(language));
}

struct NamedFile {
    std::string Role; // the option that names it, as the message says it
    std::string Path;
};

constexpr std::string_view kFormRole = "FORM.ref";

std::vector<NamedFile> InputsOf(const CommandRequest& r) {
    std::vector<NamedFile> inputs;
    if (r.Form) {
        inputs.push_back({std::string(kFormRole), *r.Form});
    }
    if (r.Import) {
        inputs.push_back({"--import", *r.Import});
    }
    for (const ValueEdit& edit : r.Values) {
        if (edit.FromFile) {
            inputs.push_back({"--set-file " + edit.Key, edit.Value});
        }
    }
    return inputs;
}

std::vector<NamedFile> OutputsOf(const CommandRequest& r) {
    std::vector<NamedFile> outputs;
    for (const auto& [role, path] :
         {std::pair{"--output", &r.Output}, std::pair{"--write-form", &r.WriteForm},
          std::pair{"--new-form", &r.NewForm}}) {
        if (*path) {
            outputs.push_back({role, **path});
        }
    }
    return outputs;
}

Words Clash(const NamedFile& a, const NamedFile& b) {
    return Words{a.Role + " and " + b.Role + " name the same file: " + a.Path,
                 a.Role + " と " + b.Role + " が同じファイルです: " + a.Path};
}

// A file written over one that is read, or two outputs into one file, would
// lose what the user meant to keep; refused before anything is read or written.
std::optional<Words> CollidingFiles(const CommandRequest& r) {
    const std::vector<NamedFile> inputs = InputsOf(r);
    const std::vector<NamedFile> outputs = OutputsOf(r);
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        for (const NamedFile& input : inputs) {
            // Updating the form file in place is what --write-form is for.
            const bool inPlace = outputs[i].Role == "--write-form" && input.Role == kFormRole;
            if (!inPlace && NameSameFile(outputs[i].Path, input.Path)) {
                return Clash(outputs[i], input);
            }
        }
        for (std::size_t j = i + 1; j < outputs.size(); ++j) {
            if (NameSameFile(outputs[i].Path, outputs[j].Path)) {
                return Clash(outputs[i], outputs[j]);
            }
        }
    }
    return std::nullopt;
}

// Options that cannot go together.
std::optional<Words> Contradiction(const CommandRequest& r) {
    if (r.Import && r.Form) {
        return Words{"--import and a form file both name the form to read",
                     "--import とフォームファイルの両方が読むフォームを指しています"};
    }
    if (r.NewForm && (r.Form || r.Import || r.Output)) {
        return Words{"--new-form takes no form file, no --import and no --output",
                     "--new-form はフォームファイル、--import、--output と一緒に使えません"};
    }
    if (r.NewForm && r.WriteForm) {
        return Words{"--new-form and --write-form both name the form file to write",
                     "--new-form と --write-form の両方が書くフォームファイルを指しています"};
    }
    // Text and HTML 4.01 are CP932 unless told otherwise; the other formats are
    // UTF-8, and asking for CP932 there is a mistake worth telling.
    if (r.Encoding && FileEncoding(r.Format, *r.Encoding) != *r.Encoding) {
        return Words{"markdown and html5 are always UTF-8",
                     "markdown と html5 はいつも UTF-8 です"};
    }
    return CollidingFiles(r);
}

std::string EnglishReport(const ImportReport& report, const std::string& path) {
    std::string text = "read " + path + " as " + std::string(FormatRow(report.Format).Word) +
                       (report.OwnLayout ? ", as this program wrote it" : ", by its headings") +
                       ": " + std::to_string(report.Placements.size()) + " items";
    for (const ImportPlacement& p : report.Placements) {
        text += "\n" +
                (p.Heading.empty() ? std::string("(lines before the first heading)")
                                   : "「" + p.Heading + "」") +
                " → " + (p.Item == CatchAllItem ? std::string("(no item)") : p.Item);
    }
    if (!report.CatchAllLines.empty()) {
        text += "\nlines without an item (put into the last user item):";
        for (const std::string& line : report.CatchAllLines) {
            text += "\n  " + line;
        }
    }
    return text;
}

// The ReadMe read back as the form to compose.
void ImportInto(Workspace& ws, const std::string& path, const Messages& say) {
    ImportResult imported = ImportReadMeFile(path);
    ws.form = std::move(imported.form);
    ws.EditorText = ws.form.LongTexts[static_cast<std::size_t>(ws.CurrentLongItem)];
    // A ReadMe of this program's own comes back exactly: nothing worth telling.
    // One read by its headings may have put a section where it was not meant.
    const ImportReport& report = imported.report;
    if (!report.OwnLayout || !report.CatchAllLines.empty()) {
        say.Say(Words{EnglishReport(report, path), report.Text()});
    }
}

void ReadForm(Workspace& ws, const CommandRequest& r, const Messages& say) {
    if (r.Form) {
        bool looksUtf8 = false;
        ReadFormFile(ws, *r.Form, &looksUtf8);
        if (looksUtf8) {
            say.Say(Words{*r.Form + " looks like UTF-8; it is read as CP932, as form files are",
                          Utf8FormWarning(*r.Form)});
        }
    }
    if (r.Import) {
        ImportInto(ws, *r.Import, say);
    }
}

// Values given or imported that the ReadMe would leave out, each told once.
void TellUnticked(const Form& form, const CommandRequest& r, const Messages& say) {
    std::vector<std::string> keys;
    for (const ValueEdit& edit : r.Values) {
        keys.push_back(edit.Key);
    }
    std::vector<std::string> told =
        keys.empty() ? std::vector<std::string>() : UntickedWithValue(form, keys);
    if (r.Import) {
        for (std::string& key : UntickedWithValue(form, {})) {
            if (std::find(told.begin(), told.end(), key) == told.end()) {
                told.push_back(std::move(key));
            }
        }
    }
    for (const std::string& key : told) {
        const bool unticked =
            std::any_of(r.Checks.begin(), r.Checks.end(), [&](const CheckEdit& c) {
                return !c.Checked && FindItemByFoldedKey(c.Key) == LookupItem(key);
            });
        if (!unticked) { // an item unticked on purpose is no surprise
            say.Say(UntickedNotice(key));
        }
    }
}

// Reads, edits and composes; what goes to standard output is left in `printed`.
int Produce(const CommandRequest& r, std::string& printed, const Messages& say) {
    Workspace ws = FreshWorkspace();
    ReadForm(ws, r, say);
    if (auto problem = ApplyFormEdits(ws, r)) {
        return say.Usage(*problem);
    }
    TellUnticked(ws.form, r, say);
    const std::optional<std::string>& formFile = r.NewForm ? r.NewForm : r.WriteForm;
    // Every file's bytes are made before the first is written, and the form is
    // refused, if it must be, before anything is written.
    std::string formBytes;
    if (formFile) {
        if (auto refused = FormWriteProblem(ws.form, r.AllowLossy)) {
            say.Say(*refused);
            return 1;
        }
        formBytes = FormFileBytes(ws.form);
    }
    // A run that writes a form composes a ReadMe only when told where to put
    // it: a form update in a script has no ReadMe to print.
    if (r.Output || !formFile) {
        const std::string composed =
            ComposeReadMe(ws.form, r.Format, [&say](std::size_t position, const std::string& key) {
                say.Say(
                    Words{"unknown item in the order: " + UnknownKeyMessage(position, key),
                          "項目順序に知らない項目があります: " + UnknownKeyMessage(position, key)});
            });
        const ReadMeEncoding encoding =
            r.Encoding.value_or(FileEncoding(r.Format, ReadMeEncoding::Cp932));
        std::string bytes = ReadMeFileBytes(composed, r.Format, encoding);
        if (r.Output) {
            WriteFileReplacing(*r.Output, bytes);
        } else {
            printed = std::move(bytes);
        }
    }
    if (formFile) {
        WriteFileReplacing(*formFile, formBytes);
    }
    return 0;
}

// Parses and runs; what goes to standard output is left in `printed`.
int Run(const std::vector<std::string>& args, std::string& printed, const Messages& say) {
    CommandRequest request;
    if (auto problem = ParseCommandLine(ComposeProgram, args, request)) {
        return say.Usage(*problem);
    }
    switch (request.What) {
    case CommandRequest::Action::Help:
        printed = HelpText(say.In());
        return 0;
    case CommandRequest::Action::Version:
        printed = "kelvaro-compose " + std::string(ProgramVersion) + "\n";
        return 0;
    case CommandRequest::Action::ListKeys:
        printed = ValueKeyList();
        return 0;
    case CommandRequest::Action::Run:
        break;
    }
    if (auto problem = Contradiction(request)) {
        return say.Usage(*problem);
    }
    try {
        return Produce(request, printed, say);
    } catch (const RuntimeError& e) {
        return say.Failure(e);
    } catch (const std::bad_alloc& e) {
        return say.Failure(FailureFromException(e));
    }
}

} // namespace

int RunCompose(const std::vector<std::string>& args, std::ostream& err) {
    const Messages say(err, EnvironmentLanguage());
    std::string printed;
    const int status = Run(args, printed, say);
    if (printed.empty()) {
        return status;
    }
    // Done only when every byte reached descriptor 1.
    try {
        WriteStandardOutput(printed);
        CloseStandardOutput();
    } catch (const RuntimeError& e) {
        return say.Failure(e);
    }
    return status;
}

} // namespace kelvaro::cli
