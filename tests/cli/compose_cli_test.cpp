#include "compose/compose_readme.h"
#include "compose/readme_file.h"
#include "model/defaults.h"
#include "platform/cp932.h"
#include "platform/file_io.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace kelvaro {
namespace {

struct CommandRun {
    int status = -1;
    std::string out;
};

CommandRun RunShell(const std::string& command);

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

CommandRun RunShell(const std::string& command) {
    CommandRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        run.out.append(buffer.data(), n);
    }
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
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
         {"--bogus", "--format pdf", "--format", "--output", "--format md", "--format Markdown",
          "--encoding", "--encoding utf8", "--encoding shift_jis"}) {
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
    EXPECT_EQ(version.out, "kelvaro-compose 1.0.0\n");
}

TEST(ComposeCommand, FormFilesInAndOut) {
    test::TempFolder dir;
    const std::string form = dir.File("fresh.ref");
    CommandRun created = Compose("--new-form '" + form + "'");
    EXPECT_EQ(created.status, 0);
    EXPECT_EQ(test::ReadBytes(form), test::ReadFixture("fresh_form.ref"));
    EXPECT_EQ(Compose("'" + form + "'").out, test::ReadFixture("default_readme.txt"));

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
    EXPECT_EQ(cut.out,
              "Error No.62\n予期しないエラーです。\n製作者にErrorNumberを知らせてください。\n");
    EXPECT_EQ(Compose("'" + dir.File("none.ref") + "'").status, 1);
    EXPECT_EQ(Compose("a.ref b.ref").status, 2);
}

} // namespace
} // namespace kelvaro
