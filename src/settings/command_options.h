#pragma once

// The options of the two programs' command lines as one table: each row is an
// option's name, the value it takes, its help in English and in Japanese, which
// program takes it and how it changes the request. The parser and the help
// text are made from the rows, so an option is added by adding its row.

#include "compose/readme_format.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kelvaro {

// Messages in one language: Japanese under a Japanese locale, English else.
enum class Language { English, Japanese };

// From LC_ALL, LC_MESSAGES and LANG, the first that is set, as the C library
// chooses messages. `get` reads a variable (std::getenv in the programs).
Language LanguageOf(const char* (*get)(const char*));
Language EnvironmentLanguage();

// One text in both languages.
struct Words {
    std::string En;
    std::string Ja;
    const std::string& In(Language language) const {
        return language == Language::Japanese ? Ja : En;
    }
};

struct ValueEdit {
    std::string Key;
    std::string Value; // the value itself, or for --set-file the file's path
    bool FromFile = false;
};

struct CheckEdit {
    std::string Key;
    bool Checked = true;
};

// What a command line asks for, whichever program reads it.
struct CommandRequest {
    enum class Action { Run, Help, Version, ListKeys } What = Action::Run;
    std::optional<std::string> Form; // the form file named without an option
    ReadMeFormat Format = ReadMeFormat::Text;
    std::optional<ReadMeEncoding> Encoding; // as given; the format's default otherwise
    std::optional<std::string> Output;
    std::optional<std::string> Import;
    std::optional<std::string> NewForm;
    std::vector<ValueEdit> Values;
    std::vector<CheckEdit> Checks; // applied after the values, in the order given
    std::optional<std::string> WriteForm;
    bool AllowLossy = false;
};

enum Program : unsigned { WindowProgram = 1U, ComposeProgram = 2U };

struct CommandOption {
    std::string_view Name;  // "--format"
    std::string_view Short; // "-h", or ""
    std::string_view Value; // "FORMAT"; "" for an option that takes none
    unsigned Programs;      // the programs that take it
    // Takes the value ("" for an option that takes none) into the request; a
    // value it cannot take is told as the problem.
    std::optional<Words> (*Apply)(CommandRequest& request, const std::string& value);
    std::string_view HelpEn; // lines after the first indented by the help
    std::string_view HelpJa;
};

std::span<const CommandOption> CommandOptions();

// The row of `arg` ("--name", "--name=value" or the short name) that `program`
// takes, or nullptr.
const CommandOption* FindOption(unsigned program, std::string_view arg);

// Reads `args` (without the program name) into `request`: "--name VALUE",
// "--name=VALUE", flags, "--" and the one form file. The first problem is
// returned, one line in each language; an option that asks for an answer
// (--help, --version, --list-keys) ends the reading.
std::optional<Words> ParseCommandLine(unsigned program, const std::vector<std::string>& args,
                                      CommandRequest& request);

// The help's lines for the options `program` takes, in the table's order.
std::string OptionHelp(unsigned program, Language language);

} // namespace kelvaro
