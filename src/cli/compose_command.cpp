#include "cli/compose_command.h"

#include "cli/form_edits.h"
#include "compose/compose_readme.h"
#include "compose/readme_file.h"
#include "files/form_file.h"
#include "model/defaults.h"
#include "platform/app_info.h"
#include "platform/error.h"
#include "platform/file_io.h"
#include "platform/version.h"
#include "session/session.h"

#include <array>
#include <new>
#include <optional>
#include <ostream>
#include <string_view>

namespace kelvaro::cli {
namespace {

constexpr const char* kUsage =
    "usage: kelvaro-compose [--format text|html|markdown|html5] [--encoding cp932|utf-8]\n"
    "                       [--output FILE] [FORM.ref]\n"
    "       kelvaro-compose --new-form FILE\n"
    "       kelvaro-compose [FORM.ref] --set KEY=VALUE... --write-form FILE [--allow-lossy]";

constexpr const char* kHelp =
    "Composes a ReadMe from a form file (.ref), or from a fresh default form when\n"
    "no form file is given.\n"
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
    "  --new-form FILE     write a fresh default form file to FILE\n";

// After the form edit options (cli/form_edits.h).
constexpr const char* kHelpEnd =
    "  --help              show this help\n"
    "  --version           show the version\n"
    "\n"
    "The output is what the program's file output writes: text and html with CR LF\n"
    "line ends and one CR LF after the ReadMe, markdown and html5 with LF. Entries\n"
    "whose key is unknown are reported on standard error as \"position / key\" and\n"
    "left out; the composition goes on.\n";

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
    std::optional<std::string> newForm;
    FormEdits edits; // --set, --set-file, --write-form, --allow-lossy
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

} // namespace

int RunCompose(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Options options;
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
        if (arg == "--help" || arg == "-h") {
            out << kUsage << "\n\n" << kHelp << kFormEditHelp << kHelpEnd;
            return 0;
        }
        if (arg == "--version") {
            out << "kelvaro-compose " << ProgramVersion << "\n";
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
            auto file = value("--output");
            if (!file || file->empty()) {
                return Usage(err, "--output needs a file name");
            }
            options.output = *file;
        } else if (arg == "--new-form" || arg.starts_with("--new-form=")) {
            auto file = value("--new-form");
            if (!file || file->empty()) {
                return Usage(err, "--new-form needs a file name");
            }
            options.newForm = *file;
        } else if (arg.starts_with("-") && arg != "-") {
            return Usage(err, "unknown option '" + arg + "'");
        } else if (!options.form) {
            options.form = arg;
        } else {
            return Usage(err, "more than one form file");
        }
    }

    if (options.newForm && (options.form || options.output)) {
        return Usage(err, "--new-form takes no form file and no --output");
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

    try {
        Workspace ws = FreshWorkspace();
        if (options.form) {
            ReadFormFile(ws, *options.form);
        }
        if (auto problem = ApplyValueEdits(ws, options.edits.Values)) {
            return Usage(err, *problem);
        }
        if (options.edits.WriteForm || options.newForm) {
            // Refused before anything is written, the ReadMe included.
            const std::string refused = FormWriteProblem(ws.form, options.edits.AllowLossy);
            if (!refused.empty()) {
                PrintLines(err, "kelvaro-compose: " + refused);
                return 1;
            }
        }
        if (options.newForm) {
            WriteFormFile(ws, *options.newForm);
            return 0;
        }
        const std::string composed = ComposeReadMe(
            ws.form, options.format, [&err](std::size_t position, const std::string& key) {
                err << UnknownKeyMessage(position, key) << "\n";
            });
        const std::string bytes = ReadMeFileBytes(composed, options.format, encoding);
        if (options.edits.WriteForm) {
            WriteFormFile(ws, *options.edits.WriteForm);
        }
        if (options.output) {
            WriteFileReplacing(*options.output, bytes);
        } else {
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            out.flush();
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

} // namespace kelvaro::cli
