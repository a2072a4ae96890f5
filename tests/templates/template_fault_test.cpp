#ifdef _WIN32
#include <gtest/gtest.h>

TEST(LinuxOnly, TemplateFaultTest) {
    GTEST_SKIP() << "Linux only: faults made with POSIX modes and flock locks";
}
#else
// Templates with bytes no CP932 text has, NUL bytes or lines of ten megabytes
// load and show whole; a template locked by another process is a numbered
// failure that keeps the editor's text.

#include "platform/cp932.h"
#include "support/fixtures.h"
#include "support/lock_holder.h"
#include "template_session.h"
#include "templates/template_viewer.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

using kelvaro::test::LockHolder;

namespace kelvaro {
namespace {

using test::WriteBytes;

const std::string kReplacement = "\xEF\xBF\xBD";

class TemplateFaults : public test::TemplateSession {
protected:
    TemplateFaults() { MakeFolder(); }
};

TEST_F(TemplateFaults, BadBytesAndNulLoadAndShowAsReplacementsAndNul) {
    const std::string nul("\0", 1);
    const std::string bytes = "a\x82 b\xA0" + nul + "\x82\xA0\r\n\xFF" + nul;
    const std::string shown =
        "a" + kReplacement + " b" + kReplacement + nul + "あ\r\n" + kReplacement + nul + "\r\n";
    EXPECT_EQ(Load(bytes), shown);
    ShowTemplate(session, "load.txt");
    EXPECT_EQ(session.TemplateText, shown);
    EXPECT_EQ(host.Messages.size(), 0u);

    // Saved again, what has no CP932 form is asked about and, on Yes, written as "?".
    host.AnswerFile(InFolder("saved.txt"));
    host.MessageAnswers.push_back(MessageAnswer::Yes);
    SaveTemplate(session);
    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_EQ(host.Messages[0].Buttons, MessageButtons::YesNo);
    EXPECT_EQ(host.Messages[0].DefaultButton, MessageAnswer::No);
    EXPECT_EQ(test::ReadBytes(InFolder("saved.txt")),
              "a? b?" + nul + "\x82\xA0\r\n?" + nul + "\r\n");
}

TEST_F(TemplateFaults, ALineOfTenMegabytesLoadsWhole) {
    const std::string line(std::size_t{10} * 1024 * 1024, 'L');
    const std::string shown = Load(line + "\r" + line);
    EXPECT_EQ(shown.size(), 2 * line.size() + 4);
    EXPECT_EQ(shown.find("\r\n"), line.size());
    EXPECT_EQ(shown.rfind("\r\n"), shown.size() - 2);
    EXPECT_EQ(host.Messages.size(), 0u);

    // A version line of that length is read up to its line end and no further.
    WriteBytes(InFolder("Version.txt"), line + "\r\nrest");
    ScanTemplateFolder(session);
    EXPECT_EQ(session.TemplateText.size(),
              std::string("テンプレート集：\r\nテンプレート数： 1 ファイル").size() + line.size());
}

TEST_F(TemplateFaults, ATemplateLockedByAnotherProcessKeepsTheEditor) {
    WriteBytes(InFolder("locked.txt"), "x\r\n");
    const std::string path = InFolder("locked.txt");
    LockHolder holder(path);
    ASSERT_TRUE(holder.Locked());

    session.ws.EditorText = "書きかけ";
    host.AnswerFile(path);
    LoadTemplate(session);
    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_EQ(host.Messages[0].Text,
              test::ErrorLines(70) + "\r\n（" + path + ": ほかのプログラムが使用中です）");
    EXPECT_EQ(session.ws.EditorText, "書きかけ");
}

} // namespace
} // namespace kelvaro
#endif
