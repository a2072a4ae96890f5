#ifdef _WIN32
#include <gtest/gtest.h>

TEST(LinuxOnly, ComposeCliTest) {
    GTEST_SKIP() << "Linux only: runs kelvaro-compose by fork with POSIX descriptors; "
                    "windows.compose_matches_linux runs the Windows program";
}
#else
#include "compose/compose_readme.h"
#include "compose/readme_file.h"
#include "files/form_file.h"
#include "model/defaults.h"
#include "platform/cp932.h"
#include "platform/file_io.h"
#include "recovery/journal.h"
#include "support/child_process.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

namespace kelvaro {
namespace {

// What a run of the command wrote to the captured stream, and its status.
struct CommandRun {
    int status = -1;
    std::string out;
};

CommandRun RunShell(const std::string& command) {
    test::ToolRun run = test::RunShell(command);
    return CommandRun{run.Status, std::move(run.Out)};
}

// Runs the real kelvaro-compose through the shell, capturing standard output
// (and standard error when `withStderr`).
// Every run is in English unless its locale is given: LC_ALL=ja_JP.UTF-8 before
// the arguments.
const std::string kEnglish = "LC_ALL= LC_MESSAGES= LANG=C.UTF-8 ";
const std::string kBinary = std::string(KELVARO_BIN_DIR) + "/kelvaro-compose ";
const std::string kProgram = kEnglish + kBinary;

CommandRun Compose(const std::string& arguments, bool withStderr = false) {
    std::string command = kProgram + arguments + (withStderr ? " 2>&1" : " 2>/dev/null");
    return RunShell(command);
}

// Only what the command writes to standard error.
CommandRun ComposeStderr(const std::string& arguments) {
    return RunShell(kProgram + arguments + " 2>&1 >/dev/null");
}

TEST(ComposeCommand, DefaultFormMatchesTheFileOutputByteForByte) {
    CommandRun text = Compose("");
    EXPECT_EQ(text.status, 0);
    EXPECT_EQ(text.out, test::ReadFixture("default_readme.txt"));
    CommandRun html = Compose("--format html");
    EXPECT_EQ(html.status, 0);
    EXPECT_EQ(html.out, test::ReadFixture("default_readme.html"));
    EXPECT_EQ(Compose("--format=html").out, html.out);
}

TEST(ComposeCommand, Utf8OutputAndFileOutput) {
    CommandRun utf8 = Compose("--utf8");
    EXPECT_EQ(utf8.status, 0);
    EXPECT_NE(utf8.out.find("【   作者名   】　\r\n"), std::string::npos);
    EXPECT_TRUE(utf8.out.ends_with("によって作成されました。\r\n"));

    test::TempFolder dir;
    const std::string file = dir.File("ReadMe.txt");
    test::WriteBytes(file, std::string(5000, 'x')); // a longer old file is replaced whole
    CommandRun written = Compose("--output '" + file + "'");
    EXPECT_EQ(written.status, 0);
    EXPECT_EQ(written.out, "");
    EXPECT_EQ(test::ReadBytes(file), test::ReadFixture("default_readme.txt"));

    CommandRun failed = Compose("--output '" + dir.File("missing/ReadMe.txt") + "'", true);
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.out,
              "kelvaro-compose: folder not found: " + dir.File("missing/ReadMe.txt") + "\n");
}

TEST(ComposeCommand, EncodingChoosesCp932OrUtf8) {
    const std::string utf8Text = Cp932ToUtf8(test::ReadFixture("default_readme.txt"));
    EXPECT_EQ(Compose("--encoding utf-8").out, utf8Text);
    EXPECT_EQ(Compose("--encoding=utf-8").out, utf8Text);
    EXPECT_EQ(Compose("--utf8").out, utf8Text);
    EXPECT_EQ(Compose("--encoding cp932").out, test::ReadFixture("default_readme.txt"));
    EXPECT_EQ(Compose("--format html --encoding cp932").out,
              test::ReadFixture("default_readme.html"));

    // An HTML 4.01 page in UTF-8 says so.
    CommandRun html = Compose("--format html --utf8");
    EXPECT_EQ(html.status, 0);
    std::string expected = Cp932ToUtf8(test::ReadFixture("default_readme.html"));
    const std::string shiftJis = "charset=Shift_JIS";
    expected.replace(expected.find(shiftJis), shiftJis.size(), "charset=UTF-8");
    EXPECT_EQ(html.out, expected);
    EXPECT_EQ(Compose("--format=html --encoding utf-8").out, expected);
}

TEST(ComposeCommand, MarkdownAndHtml5AreUtf8WithLf) {
    const Form form = FreshWorkspace().form;
    const std::string markdown = ComposeReadMe(form, ReadMeFormat::Markdown) + "\n";
    const std::string page = ComposeReadMe(form, ReadMeFormat::Html5) + "\n";
    for (const char* args : {"--format markdown", "--format=markdown", "--format markdown --utf8",
                             "--format markdown --encoding utf-8"}) {
        CommandRun run = Compose(args);
        EXPECT_EQ(run.status, 0) << args;
        EXPECT_EQ(run.out, markdown) << args;
    }
    EXPECT_EQ(Compose("--format html5").out, page);
    EXPECT_EQ(Compose("--encoding=utf-8 --format html5").out, page);

    test::TempFolder dir;
    const std::string file = dir.File("README.md");
    CommandRun written = Compose("--format markdown --output '" + file + "'");
    EXPECT_EQ(written.status, 0);
    EXPECT_EQ(test::ReadBytes(file), markdown);

    // They are never CP932: asking for it is a usage error, and nothing is written.
    for (const char* format : {"markdown", "html5"}) {
        CommandRun run = Compose(std::string("--format ") + format +
                                     " --encoding cp932 --output '" + dir.File("cp932") + "'",
                                 true);
        EXPECT_EQ(run.status, 2) << format;
        EXPECT_NE(run.out.find("always UTF-8"), std::string::npos) << format;
    }
    EXPECT_FALSE(PathExists(dir.File("cp932")));
}

TEST(ComposeCommand, UsageErrorsExitTwoWithOneLinePointingToHelp) {
    for (const char* bad :
         {"--bogus", "-x.ref", "--import", "--format pdf", "--format", "--output", "--format md",
          "--format Markdown", "--encoding", "--encoding utf8", "--encoding shift_jis"}) {
        CommandRun run = Compose(bad, true);
        EXPECT_EQ(run.status, 2) << bad;
        EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1) << run.out;
        EXPECT_TRUE(run.out.ends_with(" (see kelvaro-compose --help)\n")) << run.out;
    }
    CommandRun help = Compose("--help");
    EXPECT_EQ(help.status, 0);
    for (const char* word : {"--format", "text", "html", "markdown", "html5", "--encoding", "cp932",
                             "utf-8", "--utf8"}) {
        EXPECT_NE(help.out.find(word), std::string::npos) << word;
    }
    CommandRun version = Compose("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "kelvaro-compose " + std::string(ProgramVersion) + "\n");
}

// Every option the help names is in the manual page and in the guide's table.
TEST(ComposeCommand, TheDocumentsNameEveryOption) {
    const std::string help = Compose("--help").out;
    const std::string source = std::string(KELVARO_SOURCE_DIR) + "/";
    std::string manual = test::ReadBytes(source + "data/man/kelvaro-compose.1");
    for (std::size_t at = 0; (at = manual.find("\\-", at)) != std::string::npos;) {
        manual.erase(at, 1); // roff's "\-" is a "-"
    }
    const std::string guide = test::ReadBytes(source + "docs/guide.html");
    const auto optionChar = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
    };
    std::size_t options = 0;
    for (std::size_t at = help.find("--"); at != std::string::npos; at = help.find("--", at)) {
        std::size_t end = at + 2;
        while (end < help.size() && optionChar(help[end])) {
            ++end;
        }
        const std::string option = help.substr(at, end - at);
        at = end;
        if (option.size() > 2) {
            ++options;
            EXPECT_NE(manual.find(option), std::string::npos) << option;
            EXPECT_NE(guide.find("<code>" + option), std::string::npos) << option;
        }
    }
    EXPECT_GT(options, 10u);
}

TEST(ComposeCommand, FormFilesInAndOut) {
    test::TempFolder dir;
    const std::string form = dir.File("fresh.ref");
    CommandRun created = Compose("--new-form '" + form + "'");
    EXPECT_EQ(created.status, 0);
    EXPECT_EQ(test::ReadBytes(form), test::ReadFixture("fresh_form.ref"));
    EXPECT_EQ(Compose("'" + form + "'").out, test::ReadFixture("default_readme.txt"));
    // After "--" a name that begins with "-" is the form file.
    std::filesystem::copy_file(form, dir.File("-x.ref"));
    EXPECT_EQ(
        RunShell("cd '" + dir.Path() + "' && " + KELVARO_BIN_DIR + "/kelvaro-compose -- -x.ref")
            .out,
        test::ReadFixture("default_readme.txt"));

    // An entry whose key the catalogue lacks is reported and left out.
    std::string bytes = test::ReadBytes(form);
    const std::string entry = Utf8ToCp932("True\r\n作者名\r\n");
    bytes.replace(bytes.find(entry), entry.size(), "True\r\nXYZ\r\n");
    test::WriteBytes(form, bytes);
    CommandRun unknown = ComposeStderr("'" + form + "'");
    EXPECT_EQ(unknown.status, 0);
    EXPECT_EQ(unknown.out, "kelvaro-compose: unknown item in the order: 2 / XYZ\n");
    EXPECT_EQ(Compose("'" + form + "'").out.find(Utf8ToCp932("作者名")), std::string::npos);

    test::WriteBytes(form, bytes.substr(0, 300));
    CommandRun cut = Compose("'" + form + "'", true);
    EXPECT_EQ(cut.status, 1);
    // What failed and on which file, in one line.
    EXPECT_EQ(cut.out,
              "kelvaro-compose: the file ends early (not a form file, or a damaged one): " + form +
                  "\n");
    EXPECT_EQ(Compose("'" + dir.File("none.ref") + "'").status, 1);
    EXPECT_EQ(Compose("a.ref b.ref").status, 2);
}

// --set, --set-file, --write-form and --allow-lossy: a release script changes
// values of a form file and writes it back, exactly or not at all.
class FormEdits : public ::testing::Test {
protected:
    FormEdits() {
        ws.form.LineValues[LineSlot::Author] = "作者";
        ws.form.LineValues[LineSlot::Version] = "1.2.0";
        ws.form.LongTexts[12] = "1.2.0 初版";
        ws.EditorText = ws.form.LongTexts[0];
        WriteFormFile(ws, form);
        before = test::ReadBytes(form);
    }

    std::string Quoted(const std::string& path) const { return "'" + path + "'"; }
    Form Written(const std::string& path) const {
        Workspace back = FreshWorkspace();
        ReadFormFile(back, path);
        return back.form;
    }

    test::TempFolder dir;
    const std::string form = dir.File("MySoft.ref");
    Workspace ws = FreshWorkspace();
    std::string before;
};

TEST_F(FormEdits, AVersionIsBumpedInPlace) {
    CommandRun run = Compose(Quoted(form) + " --set バージョン=1.2.1 --write-form " + Quoted(form));
    EXPECT_EQ(run.status, 0);
    Form expected = ws.form;
    expected.LineValues[LineSlot::Version] = "1.2.1";
    EXPECT_EQ(run.out, ""); // no --output: no ReadMe
    // Byte for byte the file the program writes for that form.
    EXPECT_EQ(test::ReadBytes(form), Utf8ToCp932(FormFileText(expected)));
}

TEST_F(FormEdits, AFormFileInUtf8IsToldAndStillReadAsCp932) {
    const std::string utf8 = dir.File("utf8.ref");
    std::ofstream(utf8, std::ios::binary) << Cp932ToUtf8(before);
    const CommandRun run = ComposeStderr(Quoted(utf8));
    EXPECT_EQ(run.status, 0);
    // Then the order's keys, misread, are told as unknown.
    EXPECT_EQ(run.out.substr(0, run.out.find('\n') + 1),
              "kelvaro-compose: " + utf8 +
                  " looks like UTF-8; it is read as CP932, as form files are\n");
    EXPECT_EQ(ComposeStderr(Quoted(form)).out, "");
}

TEST_F(FormEdits, ANewFormTakesValuesAndComposesNothing) {
    const std::string fresh = dir.File("New.ref");
    CommandRun run = Compose("--new-form " + Quoted(fresh) + " --set ソフト名=新作");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
    Form expected = FreshWorkspace().form;
    expected.LineValues[LineSlot::SoftwareName] = "新作";
    EXPECT_EQ(test::ReadBytes(fresh), Utf8ToCp932(FormFileText(expected)));
}

TEST_F(FormEdits, ValuesFromArgumentsAndFilesForEveryKindOfItem) {
    test::WriteBytes(dir.File("CHANGES.txt"), "\xEF\xBB\xBF"
                                              "1.2.1 修正\n1.2.0 初版\n");
    test::WriteBytes(dir.File("name.txt"), "独自の値\n");
    const std::string out = dir.File("out.ref");
    CommandRun run =
        Compose(Quoted(form) + " --set-file 開発履歴=" + Quoted(dir.File("CHANGES.txt")) +
                " --set-file=追加1=" + Quoted(dir.File("name.txt")) +
                " --set 追加4=長い値 --set 種別=フリーソフト --set ｱｰｶｲﾌﾞｻｲｽﾞ=12" +
                " --set=作者名= --write-form=" + Quoted(out));
    EXPECT_EQ(run.status, 0);
    const Form written = Written(out);
    // Long texts take CR LF line ends; a single-line value loses its final line end.
    EXPECT_EQ(written.LongTexts[12], "1.2.1 修正\r\n1.2.0 初版\r\n");
    EXPECT_EQ(written.LineValues[LineSlot::UserItem1], "独自の値");
    EXPECT_EQ(written.LongTexts[14], "長い値");
    EXPECT_EQ(written.ChoiceValues[ChoiceSlot::SoftwareKind], "フリーソフト");
    EXPECT_EQ(written.LineValues[LineSlot::ArchiveSize], "12");
    EXPECT_EQ(written.LineValues[LineSlot::Author], "");
    EXPECT_EQ(written.LineValues[LineSlot::Version], "1.2.0");
    EXPECT_EQ(test::ReadBytes(form), before); // only the file named was written
}

TEST_F(FormEdits, ValuesReachTheReadMeAndOutputWritesItBesideTheForm) {
    CommandRun run = Compose(Quoted(form) + " --set 作者名=山田 --utf8");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("【   作者名   】　山田\r\n"), std::string::npos);
    EXPECT_EQ(test::ReadBytes(form), before);

    run = Compose(Quoted(form) + " --set 作者名=山田 --write-form " + Quoted(form) + " --output " +
                  Quoted(dir.File("ReadMe.txt")));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(Written(form).LineValues[LineSlot::Author], "山田");
    EXPECT_NE(Cp932ToUtf8(test::ReadBytes(dir.File("ReadMe.txt"))).find("【   作者名   】　山田"),
              std::string::npos);
}

TEST_F(FormEdits, UsageErrorsNameTheOptionOrTheItem) {
    test::WriteBytes(dir.File("two-lines.txt"), "a\nb\n");
    test::WriteBytes(dir.File("latin1.txt"), "caf\xE9");
    // Each with the form file and a form file to write, unless `alone`.
    struct Case {
        std::string arguments;
        std::string says;
        bool alone = false;
    };
    const std::vector<Case> cases = {
        {"--set", "--set needs KEY=VALUE"},
        {"--set =x", "--set needs KEY=VALUE"},
        {"--set-file 開発履歴", "--set-file needs KEY=FILE"},
        {"--write-form", "--write-form needs FILE", true},
        {"--check", "--check needs KEY", true},
        {"--uncheck 不明", "「不明」 is no item"},
        {"--set 不明=1", "「不明」 is no item with a value"},
        {"--set 区切り線=x", "「区切り線」 is no item with a value"},
        {"--set \"作者名=$(printf 'a\\nb')\"",
         "the value of 「作者名」 holds a line break; it is a single-line item"},
        {"--set-file バージョン=" + Quoted(dir.File("two-lines.txt")),
         "the value of 「バージョン」 holds a line break; it is a single-line item"},
        {"--set-file 特徴=" + Quoted(dir.File("latin1.txt")),
         dir.File("latin1.txt") + " is neither UTF-8 nor Shift_JIS text"},
        {"--new-form " + Quoted(dir.File("a.ref")) + " --write-form " + Quoted(dir.File("b.ref")),
         "--new-form and --write-form both name the form file to write", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const CommandRun run =
            ComposeStderr(c.alone ? c.arguments
                                  : Quoted(form) + " " + c.arguments + " --write-form " +
                                        Quoted(dir.File("x.ref")));
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.out.starts_with("kelvaro-compose: " + c.says)) << run.out;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("x.ref")));
    EXPECT_EQ(test::ReadBytes(form), before);
}

// A character without a CP932 code is named with what the form file will hold
// for it, and written so once allowed: its likeness where it has one.
TEST_F(FormEdits, CharactersWithoutACodeAreWrittenAsTheirLikenessOnceAllowed) {
    struct Row {
        const char* Character;
        const char* Written;
    };
    const Row rows[] = {{"©", "(C)"}, {"™", "TM"}, {"😀", "?"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Character);
        const std::string set = std::string(" --set '作者名=ねこ工房 ") + row.Character + " 2013'";
        CommandRun run = ComposeStderr(Quoted(form) + set + " --write-form " + Quoted(form));
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.out.find(std::string("- 「作者名」: ") + row.Character + " → " + row.Written +
                               "\n"),
                  std::string::npos)
            << run.out;
        run = ComposeStderr(Quoted(form) + set + " --allow-lossy --write-form " + Quoted(form));
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(Written(form).LineValues[LineSlot::Author],
                  std::string("ねこ工房 ") + row.Written + " 2013");
    }
}

TEST_F(FormEdits, AFormThatCannotBeWrittenExactlyIsRefusedUnlessLossIsAllowed) {
    CommandRun run =
        ComposeStderr(Quoted(form) + " --set 'ｼｪｱｳｪｱ代金=¥500' --write-form " + Quoted(form));
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(
        run.out.ends_with("kelvaro-compose: the form holds characters Shift_JIS would change:\n"
                          "- 「ｼｪｱｳｪｱ代金」: ¥ → \\\n"
                          "--allow-lossy writes them replaced\n"))
        << run.out;
    EXPECT_EQ(test::ReadBytes(form), before);

    run = ComposeStderr(Quoted(form) + " --set 'ｼｪｱｳｪｱ代金=¥500' --allow-lossy --write-form " +
                        Quoted(form));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(Written(form).LineValues[LineSlot::SharewarePrice], "\\500");

    // A long-text line a form file cannot hold is refused whatever is allowed.
    const std::string kept = test::ReadBytes(form);
    run = ComposeStderr(Quoted(form) + " --set \"特徴=$(printf 'a\\n!%%# b')\" --allow-lossy" +
                        " --write-form " + Quoted(form) + " --output " + Quoted(dir.File("R.txt")));
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(
        run.out.ends_with("kelvaro-compose: 「特徴」 holds a line a form file cannot keep (one "
                          "beginning with #%! or !%#); nothing was written\n"))
        << run.out;
    EXPECT_EQ(test::ReadBytes(form), kept);
    EXPECT_FALSE(std::filesystem::exists(dir.File("R.txt")));

    // A file to read a value from that is missing is a failure, with its lines.
    run = ComposeStderr(Quoted(form) + " --set-file 特徴=" + Quoted(dir.File("none.txt")) +
                        " --write-form " + Quoted(form));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "kelvaro-compose: file not found: " + dir.File("none.txt") + "\n");
    EXPECT_EQ(test::ReadBytes(form), kept);
}

// A file read, or another output, is never written over; nor is the form when
// the ReadMe could not be written first.
TEST_F(FormEdits, WritesOverWhatIsReadAreRefusedBeforeAnythingIsWritten) {
    ASSERT_EQ(::link(form.c_str(), dir.File("hard.ref").c_str()), 0);
    std::filesystem::create_symlink(form, dir.File("sym.ref"));
    std::filesystem::create_directory(dir.File("sub"));
    test::WriteBytes(dir.File("R.txt"), "ReadMe");
    const std::string r = Quoted(dir.File("R.txt"));
    const RecoveryJournal running(dir.Path()); // the window of a running kelvaro
    test::WriteBytes(running.Path(), "journal");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {Quoted(form) + " --output " + Quoted(running.Path()),
         "--output names the recovery journal of a running kelvaro"},
        {"--import " + r + " " + Quoted(form), "--import and a form file both name"},
        {Quoted(form) + " --output " + Quoted(dir.File("sub/../MySoft.ref")),
         "--output and FORM.ref name the same file"},
        {Quoted(dir.File("sym.ref")) + " --output " + Quoted(dir.File("hard.ref")),
         "--output and FORM.ref name the same file"},
        {"--import " + r + " --write-form " + Quoted(dir.File("./R.txt")),
         "--write-form and --import name the same file"},
        {"--set-file 特徴=" + r + " --output " + r, "--output and --set-file 特徴 name the same"},
        {"--output " + Quoted(dir.File("new")) + " --write-form " + Quoted(dir.File("sub/../new")),
         "--output and --write-form name the same file"},
        {Quoted(form) + " --set バージョン=9 --write-form " + Quoted(form) + " --output " +
             Quoted(dir.File("none/R.txt")),
         "folder not found"},
    };
    for (const auto& [arguments, says] : cases) {
        SCOPED_TRACE(arguments);
        const CommandRun run = ComposeStderr(arguments);
        EXPECT_EQ(run.status, says.starts_with("folder") ? 1 : 2);
        EXPECT_NE(run.out.find(says), std::string::npos) << run.out;
    }
    EXPECT_EQ(test::ReadBytes(form), before);
    EXPECT_EQ(test::ReadBytes(dir.File("R.txt")), "ReadMe");
    EXPECT_EQ(test::ReadBytes(running.Path()), "journal");
    EXPECT_FALSE(std::filesystem::exists(dir.File("new")));
}

// Keys as a person types them: half- or full-width, with blanks.
TEST_F(FormEdits, KeysMatchWhateverTheirWidth) {
    test::WriteBytes(dir.File("h.txt"), "履歴");
    const std::string written = dir.File("out.ref");
    const std::vector<std::pair<std::string, std::function<void(Form&)>>> cases = {
        {"--set アーカイブサイズ=12", [](Form& f) { f.LineValues[LineSlot::ArchiveSize] = "12"; }},
        {"--set 'ｿﾌﾄ 名=新作'", [](Form& f) { f.LineValues[LineSlot::SoftwareName] = "新作"; }},
        {"--set ｄｉｒｅｃｔＸ=9", [](Form& f) { f.ChoiceValues[ChoiceSlot::DirectX] = "9"; }},
        {"--set-file '開発　履歴='" + Quoted(dir.File("h.txt")),
         [](Form& f) { f.LongTexts[12] = "履歴"; }},
        {"--uncheck 区切り線 --check ｱｰｶｲﾌﾞ名 --uncheck アーカイブ名 --check 'アーカイブ　名'",
         [](Form& f) {
             for (OrderEntry& entry : f.Order) {
                 entry.Checked =
                     entry.Key == "アーカイブ名" || (entry.Checked && entry.Key != "区切り線");
             }
         }},
    };
    for (const auto& [options, change] : cases) {
        SCOPED_TRACE(options);
        EXPECT_EQ(Compose(Quoted(form) + " " + options + " --write-form " + Quoted(written)).status,
                  0);
        Form expected = ws.form;
        change(expected);
        EXPECT_EQ(Written(written), expected);
    }
}

TEST_F(FormEdits, TheListedKeysAreTheKeysSetTakes) {
    const CommandRun listed = Compose("--list-keys");
    EXPECT_EQ(listed.status, 0);
    std::string sets;
    std::size_t count = 0;
    for (std::size_t at = 0, end = 0; (end = listed.out.find('\n', at)) != std::string::npos;
         at = end + 1, ++count) {
        sets += " --set '" + listed.out.substr(at, end - at) + "=x'";
    }
    EXPECT_EQ(count, 33U); // every item but the separator and the credit line
    EXPECT_EQ(Compose(Quoted(form) + sets + " --write-form " + Quoted(dir.File("o.ref"))).status,
              0);
    EXPECT_EQ(Written(dir.File("o.ref")).LineValues[LineSlot::UserItem1], "x");
}

// Exit 0 only when every byte reached descriptor 1.
TEST_F(FormEdits, StandardOutputFailsAsAFileDoes) {
    const std::vector<std::tuple<std::string, int, std::string>> cases = {
        {" >/dev/full", 1, "kelvaro-compose: the disk is full: standard output\n"},
        {"--list-keys >/dev/full", 1, "kelvaro-compose: the disk is full: standard output\n"},
        {"--help >&-", 1, "system error (Bad file descriptor): standard output"},
        {Quoted(form) + " >&-", 1, "system error (Bad file descriptor): standard output\n"},
        {Quoted(form) + " --write-form " + Quoted(dir.File("w.ref")) + " >/dev/full", 0, ""},
    };
    for (const auto& [arguments, status, says] : cases) {
        SCOPED_TRACE(arguments);
        const test::ToolRun run = test::RunShell(kProgram + arguments);
        EXPECT_EQ(run.Status, status);
        EXPECT_NE(run.Err.find(says), std::string::npos) << run.Err;
    }
    EXPECT_EQ(Written(dir.File("w.ref")), ws.form); // written, and no ReadMe printed
}

// A ReadMe read back composes as the form it came from; one written by hand
// comes by its headings, which standard error reports.
TEST_F(FormEdits, AReadMeImportedOfEachKind) {
    const std::string data = std::string(KELVARO_TEST_DATA) + "/";
    const std::string markdown = Compose(Quoted(form) + " --format markdown").out;
    // The ReadMe, the exit status, how standard error begins, what README.md holds.
    struct Case {
        std::string readMe;
        int status;
        std::string report, holds;
    };
    const std::vector<Case> cases = {
        {dir.File("ReadMe.text"), 0, "", markdown},
        {dir.File("ReadMe.html"), 0, "", markdown},
        {dir.File("ReadMe.markdown"), 0, "", markdown},
        {data + "fresh_form.ref", 1, "kelvaro-compose: a form file, not a ReadMe", ""},
        {data + "import/brackets_header.txt", 0,
         "kelvaro-compose: read " + data + "import/brackets_header.txt as text, by its headings: ",
         "山田 花子"},
        {data + "import/list_facts.md", 0,
         "kelvaro-compose: read " + data + "import/list_facts.md as markdown, by its headings: ",
         "鈴木次郎"},
        {data + "import/headings.html", 0,
         "kelvaro-compose: read " + data + "import/headings.html as html, by its headings: ",
         "田中三郎"},
    };
    for (const char* format : {"text", "html", "markdown"}) {
        test::WriteBytes(dir.File(std::string("ReadMe.") + format),
                         Compose(Quoted(form) + " --format " + format).out);
    }
    const std::string readme = dir.File("README.md");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.readMe);
        const test::ToolRun run = test::RunShell(kProgram + "--import " + Quoted(c.readMe) +
                                                 " --format markdown --output " + Quoted(readme));
        EXPECT_EQ(run.Status, c.status);
        EXPECT_EQ(run.Err.substr(0, c.report.size()), c.report);
        EXPECT_EQ(c.report.empty(), run.Err.empty()) << run.Err;
        const std::string written = c.status == 0 ? test::ReadBytes(readme) : "";
        EXPECT_TRUE(c.holds == markdown ? written == markdown
                                        : written.find(c.holds) != std::string::npos);
    }
}

// A value that would not reach the ReadMe is told, with the option that ticks
// it; one that does, or whose item was unticked on purpose, is not.
TEST_F(FormEdits, AValueTheReadMeLeavesOutIsTold) {
    test::WriteBytes(dir.File("install.txt"), "{{ｱｰｶｲﾌﾞ名}} を展開");
    test::WriteBytes(dir.File("h.txt"), "特徴です");
    const std::string install = " --set-file インストール方法=" + Quoted(dir.File("install.txt"));
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {"--set アーカイブ名=a.zip", {"アーカイブ名"}},
        {"--set ｱｰｶｲﾌﾞ名=a.zip --set-file 特徴=" + Quoted(dir.File("h.txt")),
         {"アーカイブ名", "特徴"}},
        {"--set アーカイブ名=a.zip --check 'アーカイブ 名'", {}},
        {"--set アーカイブ名=a.zip --uncheck アーカイブ名", {}},
        {"--set アーカイブ名=a.zip" + install, {}}, // its value reaches the ReadMe there
        {"--set 作者名=x --set バージョン=2 --set アーカイブ名=", {}},
    };
    for (const auto& [options, told] : cases) {
        SCOPED_TRACE(options);
        const CommandRun run = ComposeStderr(Quoted(form) + " " + options);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'),
                  static_cast<std::ptrdiff_t>(told.size()))
            << run.out;
        for (const std::string& key : told) {
            EXPECT_NE(run.out.find("「" + key + "」 has a value but is not ticked"),
                      std::string::npos);
            EXPECT_NE(run.out.find("--check " + key + " ticks it"), std::string::npos);
        }
    }
}

// An item the order lacks is ticked back into its place of the default order.
TEST_F(FormEdits, CheckPutsAMissingItemAtItsDefaultPlace) {
    for (const std::string key : {"作者名", "アーカイブ名", "追加1", "開発履歴", "追加4"}) {
        SCOPED_TRACE(key);
        Workspace lacking = FreshWorkspace();
        auto& order = lacking.form.Order;
        const auto at = std::find_if(order.begin(), order.end(),
                                     [&](const OrderEntry& e) { return e.Key == key; });
        Form expected = lacking.form;
        expected.Order[static_cast<std::size_t>(at - order.begin())].Checked = true;
        order.erase(at);
        WriteFormFile(lacking, form);
        ASSERT_EQ(
            Compose(Quoted(form) + " --check " + key + " --write-form " + Quoted(form)).status, 0);
        EXPECT_EQ(Written(form).Order, expected.Order);
    }
}

// An unknown key is answered with the keys it is nearest to.
TEST_F(FormEdits, AnUnknownKeyGetsTheNearestKnownKeys) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"--set バージョ=1", "; did you mean: バージョン"},
        {"--set 'ﾊﾞｰｼﾞｮﾝ番号=1'", "; did you mean: バージョン"},
        {"--check 作者", "; did you mean: 作者名"},
        {"--set 開発履=x", "; did you mean: 開発履歴"},
        {"--set まったく違う=1", ""},
    };
    for (const auto& [options, near] : cases) {
        SCOPED_TRACE(options);
        const CommandRun run = ComposeStderr(Quoted(form) + " " + options);
        EXPECT_EQ(run.status, 2);
        const std::size_t semicolon = run.out.find("; ");
        const std::size_t end = run.out.find(" (see kelvaro-compose --help)");
        ASSERT_NE(end, std::string::npos) << run.out;
        EXPECT_EQ(semicolon == std::string::npos ? "" : run.out.substr(semicolon, end - semicolon),
                  near);
    }
}

// Every message in one language, by the locale: what failed, on which file, why.
TEST_F(FormEdits, MessagesSpeakTheLocalesLanguage) {
    const std::string missing = dir.File("none.ref");
    const std::string ja = "LC_ALL=ja_JP.UTF-8";
    const std::vector<std::tuple<std::string, std::string, int, std::string>> cases = {
        {"", Quoted(missing), 1, "file not found: " + missing},
        {ja, Quoted(missing), 1, "ファイルが見つかりません: " + missing},
        {"LANG=ja_JP.UTF-8", Quoted(missing), 1, "ファイルが見つかりません: " + missing},
        {"LC_MESSAGES=ja_JP.UTF-8 LANG=C", Quoted(missing), 1,
         "ファイルが見つかりません: " + missing},
        {"LC_ALL=C LANG=ja_JP.UTF-8", Quoted(missing), 1, "file not found: " + missing},
        {ja, "--format pdf", 2,
         "形式「pdf」はありません（text, html, markdown, html5 のどれか）。"
         "使い方: kelvaro-compose --help"},
        {ja, "--set バージョ=1", 2,
         "「バージョ」という値のある項目はありません。もしかして: バージョン。"
         "使い方: kelvaro-compose --help"},
        {ja, Quoted(form) + " --set アーカイブ名=x", 0,
         "「アーカイブ名」に値がありますが、項目順序でチェックされていないため ReadMe に"
         "載りません。--check アーカイブ名 で載せられます"},
        {ja, Quoted(form) + " --output " + Quoted(dir.File("no/R.txt")), 1,
         "フォルダが見つかりません: " + dir.File("no/R.txt")},
        {ja, "--import " + Quoted(form), 1,
         "フォームファイルです（--import を付けずに指定してください）: " + form},
    };
    for (const auto& [locale, arguments, status, says] : cases) {
        SCOPED_TRACE(locale + " " + arguments);
        const CommandRun run =
            RunShell(kEnglish + locale + " " + kBinary + arguments + " 2>&1 >/dev/null");
        EXPECT_EQ(run.status, status);
        EXPECT_EQ(run.out, "kelvaro-compose: " + says + "\n");
    }
}

// --set-file reads a file's encoding as --import does.
TEST_F(FormEdits, SetFileReadsUtf8AndShiftJis) {
    const std::string history = "1.2.1 修正\r\n1.2.0 初版";
    const std::vector<std::pair<std::string, bool>> cases = {
        {history, true},
        {"\xEF\xBB\xBF" + history, true},
        {Utf8ToCp932(history), true},
        {"caf\xE9", false},                     // Latin-1: neither
        {std::string("a\0b", 3), false},        // no text
        {Utf8ToCp932(history) + "\x81", false}, // Shift_JIS cut in a character
    };
    for (const auto& [bytes, read] : cases) {
        SCOPED_TRACE(bytes);
        test::WriteBytes(dir.File("CHANGES.txt"), bytes);
        const CommandRun run =
            ComposeStderr(Quoted(form) + " --set-file 開発履歴=" + Quoted(dir.File("CHANGES.txt")) +
                          " --write-form " + Quoted(dir.File("o.ref")));
        EXPECT_EQ(run.status, read ? 0 : 2) << run.out;
        EXPECT_EQ(std::filesystem::exists(dir.File("o.ref")), read);
        if (read) {
            EXPECT_EQ(Written(dir.File("o.ref")).LongTexts[12], history);
            std::filesystem::remove(dir.File("o.ref"));
        }
    }
}

// Markdown as read: "1\\.2.1" is "1.2.1".
std::string Unescaped(std::string markdown) {
    std::erase(markdown, '\\');
    return markdown;
}

// The guide's release script: last release's ReadMe imported once, then each
// release bumps the version, the date and the archive's name, which the
// install text names by reference, and writes three formats.
TEST(ReleaseScript, EachReleaseWritesThreeFormatsFromOneFormWithReferences) {
    test::TempFolder dir;
    const std::string last = "pochimemo120.zip を展開してください。";
    ASSERT_EQ(Compose("--set ソフト名=ぽちメモ --set バージョン=1.2.0 --set 'インストール方法=" +
                      last + "' --output '" + dir.File("ReadMe.txt") + "'")
                  .status,
              0);
    test::WriteBytes(dir.File("install.txt"), "{{アーカイブ名}} を展開してください。\n");
    const std::string script = std::string(KELVARO_SOURCE_DIR) + "/docs/examples/release.sh";
    for (const auto& [version, date, archive] :
         {std::tuple{"1.2.1", "2026/12/09", "pochimemo121.zip"},
          std::tuple{"1.3.0", "2027/01/20", "pochimemo130.zip"}}) {
        SCOPED_TRACE(version);
        const std::string history = std::string(version) + " 修正\r\n1.2.0 初版";
        test::WriteBytes(dir.File("CHANGES.txt"), Utf8ToCp932(history)); // Shift_JIS
        const test::ToolRun run =
            test::RunShell("cd '" + dir.Path() + "' && " + kEnglish + "PATH='" + KELVARO_BIN_DIR +
                           "':\"$PATH\" sh '" + script + "' " + version + " " + date);
        EXPECT_EQ(run.Status, 0);
        EXPECT_EQ(run.Err, ""); // the archive's name reaches the ReadMe through the reference
        const std::string install = std::string(archive) + " を展開してください。";
        const std::vector<std::pair<std::string, std::string>> written = {
            {"ReadMe.txt", Cp932ToUtf8(test::ReadBytes(dir.File("ReadMe.txt")))},
            {"README.md", Unescaped(test::ReadBytes(dir.File("README.md")))},
            {"ReadMe.html", test::ReadBytes(dir.File("ReadMe.html"))},
        };
        for (const auto& [name, text] : written) {
            SCOPED_TRACE(name);
            for (const std::string& holds : {install, std::string(version), std::string(date),
                                             std::string(version) + " 修正"}) {
                EXPECT_NE(text.find(holds), std::string::npos) << holds;
            }
            EXPECT_EQ(text.find("pochimemo120"), std::string::npos);
        }
        // The form keeps the reference for the next release.
        Workspace kept = FreshWorkspace();
        ReadFormFile(kept, dir.File("MySoft.ref"));
        EXPECT_EQ(kept.form.LongTexts[5], "{{アーカイブ名}} を展開してください。\r\n");
        EXPECT_EQ(kept.form.LineValues[LineSlot::ArchiveName], archive);
        EXPECT_EQ(kept.form.LineValues[LineSlot::SoftwareName], "ぽちメモ");
    }
    // The guide shows the very script this test runs, so the two cannot drift.
    const std::string guide = test::ReadBytes(std::string(KELVARO_SOURCE_DIR) + "/docs/guide.html");
    EXPECT_NE(guide.find("<pre>" + test::ReadBytes(script) + "</pre>"), std::string::npos);
}

} // namespace
} // namespace kelvaro
#endif
