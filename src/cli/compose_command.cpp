#include "cli/compose_command.h"

#include "compose/compose_readme.h"
#include "compose/readme_file.h"
#include "files/form_file.h"
#include "model/defaults.h"
#include "platform/app_info.h"
#include "platform/error.h"
#include "platform/file_io.h"
#include "platform/version.h"
#include "session/session.h"

#include <new>
#include <optional>
#include <ostream>

namespace kelvaro::cli {
namespace {

constexpr const char* kUsage =
    "usage: kelvaro-compose [--format text|html] [--utf8] [--output FILE] [FORM.ref]\n"
    "       kelvaro-compose --new-form FILE";

constexpr const char* kHelp =
    "Composes a ReadMe from a form file (.ref), or from a fresh default form when\n"
    "no form file is given.\n"
    "\n"
    "  --format text|html  plain text (the default) or an HTML 4.01 page\n"
    "  --utf8              write UTF-8 instead of Shift_JIS (CP932)\n"
    "  --output FILE       write to FILE instead of standard output; FILE is\n"
    "                      replaced whole, or left as it was when writing fails\n"
    "  --new-form FILE     write a fresh default form file to FILE\n"
    "  --help              show this help\n"
    "  --version           show the version\n"
    "\n"
    "The output is what the program's file output writes: CR LF line ends and one\n"
    "CR LF after the ReadMe. Entries whose key is unknown are reported on standard\n"
    "error as \"position / key\" and left out; the composition goes on.\n";

struct Options {
    bool html = false;
    bool utf8 = false;
    std::optional<std::string> output;
    std::optional<std::string> form;
    std::optional<std::string> newForm;
};

void PrintFailure(std::ostream& err, int number) {
    // The message box joins lines with CR LF; a terminal wants plain line feeds.
    for (char c : UnexpectedErrorText(number)) {
        if (c != '\r') {
            err << c;
        }
    }
    err << "\n";
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
            out << kUsage << "\n\n" << kHelp;
            return 0;
        }
        if (arg == "--version") {
            out << "kelvaro-compose " << ProgramVersion << "\n";
            return 0;
        }
        if (arg == "--utf8") {
            options.utf8 = true;
        } else if (arg == "--format" || arg.starts_with("--format=")) {
            auto format = value("--format");
            if (!format) {
                return Usage(err, "--format needs text or html");
            }
            if (*format != "text" && *format != "html") {
                return Usage(err, "unknown format '" + *format + "'");
            }
            options.html = *format == "html";
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

    try {
        Workspace ws = FreshWorkspace();
        if (options.newForm) {
            WriteFormFile(ws, *options.newForm);
            return 0;
        }
        if (options.form) {
            ReadFormFile(ws, *options.form);
        }
        std::string composed =
            ComposeReadMe(ws.form, options.html ? ReadMeFormat::Html : ReadMeFormat::Text,
                          [&err](std::size_t position, const std::string& key) {
                              err << UnknownKeyMessage(position, key) << "\n";
                          });
        std::string bytes =
            options.utf8
                ? composed + "\r\n"
                : ReadMeFileBytes(composed, options.html ? ReadMeFormat::Html : ReadMeFormat::Text);
        if (options.output) {
            WriteFileReplacing(*options.output, bytes);
        } else {
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            out.flush();
        }
    } catch (const RuntimeError& e) {
        PrintFailure(err, e.Number());
        return 1;
    } catch (const std::bad_alloc&) {
        PrintFailure(err, ErrorNo::OutOfMemory);
        return 1;
    }
    return 0;
}

} // namespace kelvaro::cli
