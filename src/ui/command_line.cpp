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
    WindowArguments result;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        // --help and --version are the rows both programs share.
        if (const CommandOption* row = optionsEnded ? nullptr : FindOption(WindowProgram, arg)) {
            CommandRequest request;
            row->Apply(request, {});
            result.What = request.What == CommandRequest::Action::Help
                              ? WindowArguments::Action::Help
                              : WindowArguments::Action::Version;
            return result;
        }
        if (!optionsEnded && arg.rfind("--", 0) == 0) {
            return WindowArguments{
                WindowArguments::Action::UsageError, {}, "unknown option " + arg};
        }
        if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            if (TakesValue(arg)) {
                ++i;
            }
            continue;
        }
        if (!result.FormFile.empty()) {
            return WindowArguments{
                WindowArguments::Action::UsageError, {}, "only one form file can be opened"};
        }
        result.FormFile = arg;
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
