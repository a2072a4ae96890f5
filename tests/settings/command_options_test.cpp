#include "settings/command_options.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace kelvaro {
namespace {

// The first of LC_ALL, LC_MESSAGES and LANG that is set decides.
TEST(CommandOptions, TheLocaleChoosesTheLanguage) {
    static std::map<std::string, std::string> env;
    const auto get = [](const char* name) -> const char* {
        const auto found = env.find(name);
        return found == env.end() ? nullptr : found->second.c_str();
    };
    const std::vector<std::pair<std::map<std::string, std::string>, Language>> cases = {
        {{}, Language::English},
        {{{"LANG", "ja_JP.UTF-8"}}, Language::Japanese},
        {{{"LANG", "ja_JP.eucJP"}, {"LC_ALL", ""}}, Language::Japanese},
        {{{"LANG", "ja_JP.UTF-8"}, {"LC_MESSAGES", "C"}}, Language::English},
        {{{"LANG", "C"}, {"LC_MESSAGES", "ja_JP.UTF-8"}}, Language::Japanese},
        {{{"LC_ALL", "en_US.UTF-8"}, {"LC_MESSAGES", "ja_JP.UTF-8"}}, Language::English},
    };
    for (const auto& [set, language] : cases) {
        env = set;
        EXPECT_EQ(LanguageOf(get), language) << set.size();
    }
}

// Each row reads its value in both spellings; a problem names the option.
TEST(CommandOptions, RowsReadTheirValuesAndTellWhatIsWrong) {
    struct Case {
        std::vector<std::string> args;
        std::string problem; // English; "" when the line is read
    };
    const std::vector<Case> cases = {
        {{"--format=html5", "--encoding", "utf-8", "--set", "a=b=c", "F.ref"}, ""},
        {{"--", "--odd.ref"}, ""},
        {{"--format", "pdf"}, "unknown format 'pdf' (text, html, markdown or html5)"},
        {{"--output"}, "--output needs FILE"},
        {{"--output="}, "--output needs a file name"},
        {{"--utf8=yes"}, "--utf8 takes no value"},
        {{"--set", "=x"}, "--set needs KEY=VALUE"},
        {{"--formats", "x"}, "unknown option '--formats'"},
        {{"a.ref", "b.ref"}, "more than one form file: a.ref and b.ref"},
        {{"--help", "--bogus"}, ""},
    };
    for (const Case& c : cases) {
        CommandRequest request;
        const std::optional<Words> problem = ParseCommandLine(ComposeProgram, c.args, request);
        EXPECT_EQ(problem ? problem->En : "", c.problem) << c.args.front();
    }
    CommandRequest read;
    ASSERT_FALSE(ParseCommandLine(ComposeProgram, cases[0].args, read));
    EXPECT_EQ(read.Format, ReadMeFormat::Html5);
    EXPECT_EQ(read.Encoding, ReadMeEncoding::Utf8);
    EXPECT_EQ(read.Values.at(0).Key, "a");
    EXPECT_EQ(read.Values.at(0).Value, "b=c");
    EXPECT_EQ(read.Form, "F.ref");
    // The window takes only the rows the two programs share.
    CommandRequest window;
    EXPECT_TRUE(ParseCommandLine(WindowProgram, {"--format", "html"}, window));
    EXPECT_FALSE(ParseCommandLine(WindowProgram, {"--version"}, window));
    EXPECT_EQ(window.What, CommandRequest::Action::Version);
}

// The help has a line for every option the program takes, and no other.
TEST(CommandOptions, TheHelpIsMadeFromTheRows) {
    for (const unsigned program : {unsigned{WindowProgram}, unsigned{ComposeProgram}}) {
        for (const Language language : {Language::English, Language::Japanese}) {
            const std::string help = "\n" + OptionHelp(program, language);
            for (const CommandOption& row : CommandOptions()) {
                const std::string line = "\n  " + std::string(row.Name);
                const bool listed = help.find(line + " ") != std::string::npos ||
                                    help.find(line + ",") != std::string::npos;
                EXPECT_EQ(listed, (row.Programs & program) != 0) << row.Name;
            }
        }
    }
}

} // namespace
} // namespace kelvaro
