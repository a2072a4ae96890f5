#include "ui/command_line.h"

#include "settings/command_options.h"

namespace kelvaro::ui {
namespace {

// Qt's options that take a value, so that the value is not taken for a file.
bool TakesValue(const std::string& option) {
    for (const char* name :
         {"-platform", "-platformpluginpath", "-platformtheme", "-plugin", "-qmljsdebugger",
          "-qwindowgeometry", "-geometry", "-qwindowtitle", "-title", "-qwindowicon", "-icon",
          "-display", "-style", "-stylesheet", "-session", "-name", "-widgetcount", "-reverse"}) {
        if (option == name) {
            return option != "-widgetcount" && option != "-reverse";
        }
    }
    return false;
}

} // namespace

WindowArguments ParseWindowArguments(const std::vector<std::string>& args) {
    // Qt's own options (one dash, and not a short name of the table's) and
    // their values are left to Qt; everything else is read as kelvaro-compose
    // reads its command line, from the same table.
    std::vector<std::string> ours;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        optionsEnded = optionsEnded || arg == "--";
        if (!optionsEnded && arg.size() > 1 && arg[0] == '-' && arg[1] != '-' &&
            FindOption(WindowProgram, arg) == nullptr) {
            if (TakesValue(arg)) {
                ++i;
            }
            continue;
        }
        ours.push_back(arg);
    }
    WindowArguments result;
    CommandRequest request;
    if (std::optional<Words> problem = ParseCommandLine(WindowProgram, ours, request)) {
        result.What = WindowArguments::Action::UsageError;
        result.Problem = std::move(*problem);
        return result;
    }
    switch (request.What) {
    case CommandRequest::Action::Help:
        result.What = WindowArguments::Action::Help;
        break;
    case CommandRequest::Action::Version:
        result.What = WindowArguments::Action::Version;
        break;
    default:
        result.FormFile = request.Form.value_or(std::string());
        break;
    }
    return result;
}

std::string WindowUsageLine() {
    return "usage: kelvaro [--help] [--version] [FORM.ref]";
}

std::string WindowHelpText() {
    return WindowUsageLine() +
           "\n"
           "Opens the Kelvaro window, a tool for writing the ReadMe of a piece of software.\n"
           "With FORM.ref the window opens that form file, as フォームを開く does.\n"
           "\n" +
           OptionHelp(WindowProgram, Language::English) +
           "\n"
           "Qt's own options (-style, -platform, ...) are passed on to Qt.\n"
           "kelvaro-compose composes a ReadMe on the command line without a window.\n";
}

} // namespace kelvaro::ui
