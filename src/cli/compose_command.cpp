#include "cli/compose_command.h"

#include "cli/form_edits.h"
#include "compose/compose_readme.h"
#include "compose/readme_file.h"
#include "files/form_file.h"
#include "import/readme_import.h"
#include "model/defaults.h"
#include "platform/app_info.h"
#include "platform/error.h"
#include "platform/file_io.h"
#include "platform/same_file.h"
#include "platform/standard_output.h"
#include "platform/version.h"
#include "recovery/journal.h"
#include "session/failure.h"
#include "session/session.h"

#include <array>
#include <new>
#include <optional>
#include <ostream>
#include <string_view>
#include <vector>

namespace kelvaro::cli {
namespace {

constexpr const char* kUsage =
    "usage: kelvaro-compose [--format text|html|markdown|html5] [--encoding cp932|utf-8]\n"
    "                       [--output FILE] [FORM.ref | --import README]\n"
    "       kelvaro-compose [FORM.ref | --import README] [--set KEY=VALUE]...\n"
    "                       [--check KEY]... [--uncheck KEY]... --write-form FILE\n"
    "                       [--output FILE] [--allow-lossy]\n"
    "       kelvaro-compose --new-form FILE\n"
    "       kelvaro-compose --list-keys";

constexpr const char* kHelp =
    "Composes a ReadMe from a form file (.ref), from a ReadMe read back into a\n"
    "form (--import), or from a fresh default form when neither is given.\n"
    "\n"
    "  --format FORMAT     text      plain text (the default)\n"
    "                      html      an HTML 4.01 page\n"
    "                      markdown  GitHub Flavored Markdown for a README.md\n"
    "                      html5     an HTML5 page for today's browsers\n"
    "  --encoding ENC      cp932 (Shift_JIS, the default) or utf-8, for text and\n"
    "                      html; markdown and html5 are always UTF-8\n"
    "  --utf8              the same as --encoding utf-8\n"
    "  --output FILE       write to FILE instead of standard output; FILE is\n"
    "                      replaced whole, or left as it was when writing fails\n"
    "  --import README     read the form from a ReadMe (text, Markdown or HTML, in\n"
    "                      UTF-8 or Shift_JIS) instead of a form file. A ReadMe this\n"
    "                      program wrote comes back as it was, without a word; any\n"
    "                      other is read by its headings, and standard error tells\n"
    "                      which heading went to which item and which lines found\n"
    "                      none (they go to the last item of your own)\n"
    "  --new-form FILE     write a fresh default form file to FILE\n";

// After the form edit options (cli/form_edits.h).
constexpr const char* kHelpEnd =
    "  --help              show this help\n"
    "  --version           show the version\n"
    "  --                  the end of the options: what follows is the form file,\n"
    "                      even a name that begins with \"-\"\n"
    "\n"
    "The output is what the program's file output writes: text and html with CR LF\n"
    "line ends and one CR LF after the ReadMe, markdown and html5 with LF. Entries\n"
    "whose key is unknown are reported on standard error as \"position / key\" and\n"
    "left out; the composition goes on.\n"
    "\n"
    "Everything is composed before anything is written; then the ReadMe is written,\n"
    "then the form file, which a failed ReadMe leaves untouched. Writing a file\n"
    "that is read (--output onto the form file, --output or --write-form onto the\n"
    "imported ReadMe or a --set-file file) or --output and --write-form into one\n"
    "file is refused before anything is written, however the paths are spelled;\n"
    "--write-form onto the form file read updates it in place. Standard output that\n"
    "cannot take every byte (a full disk, a closed descriptor) fails as a file does.\n"
    "\n"
    "Exit status: 0 done, 1 reading, composing or writing failed, 2 bad usage.\n";

struct FormatWord {
    std::string_view Word;
    ReadMeFormat Format;
};
constexpr std::array<FormatWord, 4> kFormats{{
    {"text", ReadMeFormat::Text},
    {"html", ReadMeFormat::Html},
    {"markdown", ReadMeFormat::Markdown},
    {"html5", ReadMeFormat::Html5},
}};

std::optional<ReadMeFormat> FormatNamed(std::string_view word) {
    for (const FormatWord& f : kFormats) {
        if (f.Word == word) {
            return f.Format;
        }
    }
    return std::nullopt;
}

std::optional<ReadMeEncoding> EncodingNamed(std::string_view word) {
    if (word == "cp932") {
        return ReadMeEncoding::Cp932;
    }
    if (word == "utf-8") {
        return ReadMeEncoding::Utf8;
    }
    return std::nullopt;
}

struct Options {
    ReadMeFormat format = ReadMeFormat::Text;
    std::optional<ReadMeEncoding> encoding; // as given; the format's default otherwise
    std::optional<std::string> output;
    std::optional<std::string> form;
    std::optional<std::string> import;
    std::optional<std::string> newForm;
    FormEdits edits; // --set, --set-file, --check, --uncheck, --write-form, --allow-lossy
};

// Message box lines are joined with CR LF; a terminal wants plain line feeds.
void PrintLines(std::ostream& err, const std::string& text) {
    for (char c : text) {
        if (c != '\r') {
            err << c;
        }
    }
    err << "\n";
}

// The message box's lines, with the file and the cause.
void PrintFailure(std::ostream& err, const RuntimeError& failure) {
    PrintLines(err, FailureText(failure));
}

int Usage(std::ostream& err, const std::string& problem) {
    err << "kelvaro-compose: " << problem << "\n" << kUsage << "\n";
    return 2;
}

constexpr std::string_view kFormRole = "the form file";

struct NamedFile {
    std::string Role; // the option that names it, as the message says it
    std::string Path;
};

// A file written over one that is read, or two outputs into one file, would
// lose what the user meant to keep; refused before anything is read or written.
std::optional<std::string> CollidingFiles(const Options& options) {
    std::vector<NamedFile> inputs;
    if (options.form) {
        inputs.push_back({std::string(kFormRole), *options.form});
    }
    if (options.import) {
        inputs.push_back({"--import", *options.import});
    }
    for (const ValueEdit& edit : options.edits.Values) {
        if (edit.FromFile) {
            inputs.push_back({"--set-file " + edit.Key, edit.Value});
        }
    }
    std::vector<NamedFile> outputs;
    if (options.output) {
        outputs.push_back({"--output", *options.output});
    }
    if (options.edits.WriteForm) {
        outputs.push_back({"--write-form", *options.edits.WriteForm});
    }
    if (options.newForm) {
        outputs.push_back({"--new-form", *options.newForm});
    }
    const auto clash = [](const NamedFile& a, const NamedFile& b) {
        return a.Role + " and " + b.Role + " name the same file: " + a.Path;
    };
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        if (IsLiveJournal(outputs[i].Path)) {
            return outputs[i].Role +
                   " names the recovery journal of a running kelvaro: " + outputs[i].Path;
        }
        for (const NamedFile& input : inputs) {
            // Updating the form file in place is what --write-form is for.
            const bool inPlace = outputs[i].Role == "--write-form" && input.Role == kFormRole;
            if (!inPlace && NameSameFile(outputs[i].Path, input.Path)) {
                return clash(outputs[i], input);
            }
        }
        for (std::size_t j = i + 1; j < outputs.size(); ++j) {
            if (NameSameFile(outputs[i].Path, outputs[j].Path)) {
                return clash(outputs[i], outputs[j]);
            }
        }
    }
    return std::nullopt;
}

// The ReadMe read back as the form to compose.
void ImportInto(Workspace& ws, const std::string& path, std::ostream& err) {
    ImportResult imported = ImportReadMeFile(path);
    ws.form = std::move(imported.form);
    ws.EditorText = ws.form.LongTexts[static_cast<std::size_t>(ws.CurrentLongItem)];
    // A ReadMe of this program's own comes back exactly: nothing worth telling.
    // One read by its headings may have put a section where it was not meant.
    const ImportReport& report = imported.report;
    if (!report.OwnLayout || !report.CatchAllLines.empty()) {
        PrintLines(err, "kelvaro-compose: " + report.Text());
    }
}

// Parses and runs; what goes to standard output is left in `printed`.
int Run(const std::vector<std::string>& args, std::string& printed, std::ostream& err) {
    Options options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](const std::string& name) -> std::optional<std::string> {
            if (arg.size() > name.size() && arg.compare(0, name.size() + 1, name + "=") == 0) {
                return arg.substr(name.size() + 1);
            }
            if (arg == name && i + 1 < args.size()) {
                return args[++i];
            }
            return std::nullopt;
        };
        auto file = [&](const std::string& name, std::optional<std::string>& into) {
            auto named = value(name);
            if (!named || named->empty()) {
                return false;
            }
            into = std::move(*named);
            return true;
        };
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || !arg.starts_with("-") || arg == "-") {
            if (options.form) {
                return Usage(err, "more than one form file");
            }
            options.form = arg;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            printed = std::string(kUsage) + "\n\n" + kHelp + kFormEditHelp + kHelpEnd;
            return 0;
        }
        if (arg == "--version") {
            printed = "kelvaro-compose " + std::string(ProgramVersion) + "\n";
            return 0;
        }
        if (arg == "--list-keys") {
            printed = ValueKeyList();
            return 0;
        }
        std::string problem;
        if (const Taken taken = TakeFormEditOption(args, i, options.edits, problem);
            taken != Taken::NotOurs) {
            if (taken == Taken::Bad) {
                return Usage(err, problem);
            }
            continue;
        }
        if (arg == "--utf8") {
            options.encoding = ReadMeEncoding::Utf8;
        } else if (arg == "--format" || arg.starts_with("--format=")) {
            auto word = value("--format");
            if (!word) {
                return Usage(err, "--format needs text, html, markdown or html5");
            }
            auto format = FormatNamed(*word);
            if (!format) {
                return Usage(err, "unknown format '" + *word + "'");
            }
            options.format = *format;
        } else if (arg == "--encoding" || arg.starts_with("--encoding=")) {
            auto word = value("--encoding");
            if (!word) {
                return Usage(err, "--encoding needs cp932 or utf-8");
            }
            auto encoding = EncodingNamed(*word);
            if (!encoding) {
                return Usage(err, "unknown encoding '" + *word + "'");
            }
            options.encoding = *encoding;
        } else if (arg == "--output" || arg.starts_with("--output=")) {
            if (!file("--output", options.output)) {
                return Usage(err, "--output needs a file name");
            }
        } else if (arg == "--import" || arg.starts_with("--import=")) {
            if (!file("--import", options.import)) {
                return Usage(err, "--import needs a file name");
            }
        } else if (arg == "--new-form" || arg.starts_with("--new-form=")) {
            if (!file("--new-form", options.newForm)) {
                return Usage(err, "--new-form needs a file name");
            }
        } else {
            return Usage(err, "unknown option '" + arg + "'");
        }
    }

    if (options.import && options.form) {
        return Usage(err, "--import and a form file both name the form to read");
    }
    if (options.newForm && (options.form || options.import || options.output)) {
        return Usage(err, "--new-form takes no form file, no --import and no --output");
    }
    if (options.newForm && options.edits.WriteForm) {
        return Usage(err, "--new-form and --write-form both name the form file to write");
    }
    // Text and HTML 4.01 are CP932 unless told otherwise; the other formats are
    // UTF-8, and asking for CP932 there is a mistake worth telling.
    const ReadMeEncoding encoding =
        options.encoding.value_or(FileEncoding(options.format, ReadMeEncoding::Cp932));
    if (FileEncoding(options.format, encoding) != encoding) {
        return Usage(err, "markdown and html5 are always UTF-8");
    }
    if (auto collision = CollidingFiles(options)) {
        return Usage(err, *collision);
    }

    try {
        Workspace ws = FreshWorkspace();
        if (options.form) {
            bool looksUtf8 = false;
            ReadFormFile(ws, *options.form, &looksUtf8);
            if (looksUtf8) {
                err << "kelvaro-compose: " << Utf8FormWarning(*options.form) << "\n";
            }
        }
        if (options.import) {
            ImportInto(ws, *options.import, err);
        }
        if (auto problem = ApplyFormEdits(ws, options.edits)) {
            return Usage(err, *problem);
        }
        const std::optional<std::string>& formFile =
            options.newForm ? options.newForm : options.edits.WriteForm;
        // Every file's bytes are made before the first is written, and the
        // form is refused, if it must be, before anything is written.
        std::string formBytes;
        if (formFile) {
            const std::string refused = FormWriteProblem(ws.form, options.edits.AllowLossy);
            if (!refused.empty()) {
                PrintLines(err, "kelvaro-compose: " + refused);
                return 1;
            }
            formBytes = FormFileBytes(ws.form);
        }
        // A run that writes a form composes a ReadMe only when told where to put
        // it: a form update in a script has no ReadMe to print.
        if (options.output || !formFile) {
            const std::string composed = ComposeReadMe(
                ws.form, options.format, [&err](std::size_t position, const std::string& key) {
                    err << UnknownKeyMessage(position, key) << "\n";
                });
            std::string bytes = ReadMeFileBytes(composed, options.format, encoding);
            if (options.output) {
                WriteFileReplacing(*options.output, bytes);
            } else {
                printed = std::move(bytes);
            }
        }
        if (formFile) {
            WriteFileReplacing(*formFile, formBytes);
        }
    } catch (const RuntimeError& e) {
        PrintFailure(err, e);
        return 1;
    } catch (const std::bad_alloc& e) {
        PrintFailure(err, FailureFromException(e));
        return 1;
    }
    return 0;
}

} // namespace

int RunCompose(const std::vector<std::string>& args, std::ostream& err) {
    std::string printed;
    const int status = Run(args, printed, err);
    if (printed.empty()) {
        return status;
    }
    // Done only when every byte reached descriptor 1.
    try {
        WriteStandardOutput(printed);
        CloseStandardOutput();
    } catch (const RuntimeError& e) {
        PrintFailure(err, e);
        return 1;
    }
    return status;
}

} // namespace kelvaro::cli
