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

// Runs the real kelvaro-compose through the shell, capturing standard output
// (and standard error when `withStderr`).
CommandRun Compose(const std::string& arguments, bool withStderr = false) {
    std::string command = std::string(KELVARO_BIN_DIR) + "/kelvaro-compose " + arguments +
                          (withStderr ? " 2>&1" : " 2>/dev/null");
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

TEST(ComposeCommand, UsageErrorsExitTwoWithAUsageLine) {
    for (const char* bad : {"--bogus", "--format pdf", "--format", "--output"}) {
        CommandRun run = Compose(bad, true);
        EXPECT_EQ(run.status, 2) << bad;
        EXPECT_NE(run.out.find("usage: kelvaro-compose"), std::string::npos) << bad;
    }
    CommandRun help = Compose("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--format"), std::string::npos);
    CommandRun version = Compose("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "kelvaro-compose 1.0.0\n");
}

} // namespace
} // namespace kelvaro
