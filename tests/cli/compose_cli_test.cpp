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
#include "support/child_process.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>
#include <unistd.h>

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
CommandRun Compose(const std::string& arguments, bool withStderr = false) {
    std::string command = std::string(KELVARO_BIN_DIR) + "/kelvaro-compose " + arguments +
                          (withStderr ? " 2>&1" : " 2>/dev/null");
    return RunShell(command);
}

// Only what the command writes to standard error.
CommandRun ComposeStderr(const std::string& arguments) {
    return RunShell(std::string(KELVARO_BIN_DIR) + "/kelvaro-compose " + arguments +
                    " 2>&1 >/dev/null");
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
    EXPECT_NE(failed.out.find("Error No.76"), std::string::npos);
    EXPECT_NE(failed.out.find("予期しないエラーです。"), std::string::npos);
    EXPECT_NE(
        failed.out.find("（" + dir.File("missing/ReadMe.txt") + ": フォルダが見つかりません）\n"),
        std::string::npos);
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

TEST(ComposeCommand, UsageErrorsExitTwoWithAUsageLine) {
    for (const char* bad :
         {"--bogus", "-x.ref", "--import", "--format pdf", "--format", "--output", "--format md",
          "--format Markdown", "--encoding", "--encoding utf8", "--encoding shift_jis"}) {
        CommandRun run = Compose(bad, true);
        EXPECT_EQ(run.status, 2) << bad;
        EXPECT_NE(run.out.find("usage: kelvaro-compose"), std::string::npos) << bad;
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
    EXPECT_EQ(unknown.out, "2 / XYZ\n");
    EXPECT_EQ(Compose("'" + form + "'").out.find(Utf8ToCp932("作者名")), std::string::npos);

    test::WriteBytes(form, bytes.substr(0, 300));
    CommandRun cut = Compose("'" + form + "'", true);
    EXPECT_EQ(cut.status, 1);
    // The message box's lines, the file and the cause among them.
    EXPECT_EQ(cut.out,
              "Error No.62\n予期しないエラーです。\n製作者にErrorNumberを知らせてください。\n"
              "（" +
                  form +
                  ": ファイルが途中で終わっています"
                  "（フォームファイルではないか、壊れています））\n");
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
              "kelvaro-compose: " + Utf8FormWarning(utf8) + "\n");
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
        {"--write-form", "--write-form needs a file name", true},
        {"--check", "--check needs KEY", true},
        {"--uncheck 不明", "「不明」 is no item"},
        {"--set 不明=1", "「不明」 is no item with a value"},
        {"--set 区切り線=x", "「区切り線」 is no item with a value"},
        {"--set \"作者名=$(printf 'a\\nb')\"",
         "the value of 「作者名」 holds a line break; it is a single-line item"},
        {"--set-file バージョン=" + Quoted(dir.File("two-lines.txt")),
         "the value of 「バージョン」 holds a line break; it is a single-line item"},
        {"--set-file 特徴=" + Quoted(dir.File("latin1.txt")),
         dir.File("latin1.txt") + " is no UTF-8 text"},
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
        EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "kelvaro-compose: " + c.says);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("x.ref")));
    EXPECT_EQ(test::ReadBytes(form), before);
}

TEST_F(FormEdits, AFormThatCannotBeWrittenExactlyIsRefusedUnlessLossIsAllowed) {
    CommandRun run =
        ComposeStderr(Quoted(form) + " --set 'ｼｪｱｳｪｱ代金=¥500' --write-form " + Quoted(form));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "kelvaro-compose: Shift_JISで表せない文字が含まれています。\n"
                       "・「ｼｪｱｳｪｱ代金」の「¥」→「\\」\n"
                       "--allow-lossy を付けると、それらの文字を置き換えて保存します。\n");
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
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')),
              "kelvaro-compose: 「特徴」の文章に、行頭が「#%!」または「!%#」の行があります。");
    EXPECT_EQ(test::ReadBytes(form), kept);
    EXPECT_FALSE(std::filesystem::exists(dir.File("R.txt")));

    // A file to read a value from that is missing is a failure, with its lines.
    run = ComposeStderr(Quoted(form) + " --set-file 特徴=" + Quoted(dir.File("none.txt")) +
                        " --write-form " + Quoted(form));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("（" + dir.File("none.txt") + ": ファイルが見つかりません）"),
              std::string::npos);
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
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"--import " + r + " " + Quoted(form), "--import and a form file both name"},
        {Quoted(form) + " --output " + Quoted(dir.File("sub/../MySoft.ref")),
         "--output and the form file name the same file"},
        {Quoted(dir.File("sym.ref")) + " --output " + Quoted(dir.File("hard.ref")),
         "--output and the form file name the same file"},
        {"--import " + r + " --write-form " + Quoted(dir.File("./R.txt")),
         "--write-form and --import name the same file"},
        {"--set-file 特徴=" + r + " --output " + r, "--output and --set-file 特徴 name the same"},
        {"--output " + Quoted(dir.File("new")) + " --write-form " + Quoted(dir.File("sub/../new")),
         "--output and --write-form name the same file"},
        {Quoted(form) + " --set バージョン=9 --write-form " + Quoted(form) + " --output " +
             Quoted(dir.File("none/R.txt")),
         "Error No.76"},
    };
    for (const auto& [arguments, says] : cases) {
        SCOPED_TRACE(arguments);
        const CommandRun run = ComposeStderr(arguments);
        EXPECT_EQ(run.status, says.starts_with("Error") ? 1 : 2);
        EXPECT_NE(run.out.find(says), std::string::npos) << run.out;
    }
    EXPECT_EQ(test::ReadBytes(form), before);
    EXPECT_EQ(test::ReadBytes(dir.File("R.txt")), "ReadMe");
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
        {" >/dev/full", 1, "Error No.61"},
        {"--list-keys >/dev/full", 1, "（標準出力: ディスクの空き容量が足りません）"},
        {"--help >&-", 1, "Error No.75"},
        {Quoted(form) + " >&-", 1, "（標準出力: システムのエラーです（Bad file descriptor））"},
        {Quoted(form) + " --write-form " + Quoted(dir.File("w.ref")) + " >/dev/full", 0, ""},
    };
    for (const auto& [arguments, status, says] : cases) {
        SCOPED_TRACE(arguments);
        const test::ToolRun run =
            test::RunShell(std::string(KELVARO_BIN_DIR) + "/kelvaro-compose " + arguments);
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
        {data + "fresh_form.ref", 1, "Error No.321", ""},
        {data + "import/brackets_header.txt", 0, "kelvaro-compose: テキストの ReadMe", "山田 花子"},
        {data + "import/list_facts.md", 0, "kelvaro-compose: Markdownの ReadMe", "鈴木次郎"},
        {data + "import/headings.html", 0, "kelvaro-compose: HTMLの ReadMe", "田中三郎"},
    };
    for (const char* format : {"text", "html", "markdown"}) {
        test::WriteBytes(dir.File(std::string("ReadMe.") + format),
                         Compose(Quoted(form) + " --format " + format).out);
    }
    const std::string readme = dir.File("README.md");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.readMe);
        const test::ToolRun run =
            test::RunShell(std::string(KELVARO_BIN_DIR) + "/kelvaro-compose --import " +
                           Quoted(c.readMe) + " --format markdown --output " + Quoted(readme));
        EXPECT_EQ(run.Status, c.status);
        EXPECT_EQ(run.Err.substr(0, c.report.size()), c.report);
        EXPECT_EQ(c.report.empty(), run.Err.empty()) << run.Err;
        const std::string written = c.status == 0 ? test::ReadBytes(readme) : "";
        EXPECT_TRUE(c.holds == markdown ? written == markdown
                                        : written.find(c.holds) != std::string::npos);
    }
}

} // namespace
} // namespace kelvaro
#endif
