// Each file dialog proposes a file of its own kind: the form and ReadMe dialogs
// share the folder and base name of the last choice with their own extension,
// and the template dialogs remember only what they chose themselves.

#include "compose/output.h"
#include "files/lifecycle.h"
#include "model/defaults.h"
#include "platform/cp932.h"
#include "support/fixtures.h"
#include "support/scripted_host.h"
#include "templates/template_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace kelvaro {
namespace {

using test::ReadBytes;
using test::WriteBytes;

TEST(ProposedFileName, OnlyANameTheDialogCouldNotWriteTakesItsExtension) {
    const std::string text = "テキストファイル (*.txt)|*.txt|すべてのファイル (*.*)|*.*";
    const std::string html = "HTMLファイル (*.html, *htm)|*.html;*.htm|"
                             "HTMLファイル UTF-8・HTML5 (*.html)|*.html|すべてのファイル (*.*)|*.*";
    const struct {
        const char* remembered;
        const std::string& filter;
        const char* proposed;
    } cases[] = {
        {"/home/u/v1.2.ref", text, "/home/u/v1.2.txt"},
        {"/home/u/my.app/ReadMe.ref", text, "/home/u/my.app/ReadMe.txt"},
        {"/home/u/page.html", text, "/home/u/page.txt"},
        {"/home/u/notes.txt", html, "/home/u/notes.html"},
        // Names this dialog writes as they stand are what the user chose.
        {"/home/u/page.htm", html, "/home/u/page.htm"},
        {"/home/u/PAGE.HTM", html, "/home/u/PAGE.HTM"},
        {"/home/u/my.app/ReadMe", text, "/home/u/my.app/ReadMe"},
        {"/home/u/.hidden", text, "/home/u/.hidden"},
        // A first filter of any file proposes the last choice as it is.
        {"/home/u/a.ref", "すべてのファイル (*.*)|*.*", "/home/u/a.ref"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ProposedFileName(c.remembered, c.filter), c.proposed) << c.remembered;
    }
}

class FileDialogs : public ::testing::Test {
protected:
    FileDialogs() : session(host, dir.Path()) {
        StartUp(session);
        std::filesystem::create_directory(session.TemplateFolder);
    }

    const FileDialogRequest& LastDialog() const { return host.FileDialogs.back(); }

    test::TempFolder dir;
    test::ScriptedHost host;
    Session session;
};

TEST_F(FileDialogs, TheReadMeDialogsAfterAFormSaveProposeReadMeFiles) {
    const std::string form = dir.File("krenamer.ref");
    host.AnswerFile(form);
    SaveFormAs(session);
    const std::string formBytes = ReadBytes(form);

    // Enter in the text dialog: what it proposes is chosen.
    GenerateReadMe(session, {ReadMeFormat::Text, OutputDestination::File}); // the host cancels
    EXPECT_EQ(LastDialog().InitialFileName, dir.File("krenamer.txt"));
    host.AnswerFile(LastDialog().InitialFileName);
    GenerateReadMe(session, {ReadMeFormat::Text, OutputDestination::File});
    EXPECT_EQ(ReadBytes(form), formBytes); // the form file is left alone
    EXPECT_EQ(ReadBytes(dir.File("krenamer.txt")), test::ReadFixture("default_readme.txt"));

    GenerateReadMe(session, {ReadMeFormat::Html, OutputDestination::File});
    EXPECT_EQ(LastDialog().InitialFileName, dir.File("krenamer.html"));
    // And back: the form dialog proposes the form of that name.
    SaveFormAs(session);
    EXPECT_EQ(LastDialog().InitialFileName, dir.File("krenamer.ref"));
    OpenForm(session);
    EXPECT_EQ(LastDialog().InitialFileName, dir.File("krenamer.ref"));
}

TEST_F(FileDialogs, TemplateChoicesStayWithTheTemplateDialogs) {
    host.AnswerFile(dir.File("krenamer.ref"));
    SaveFormAs(session);

    // The template dialogs start in the template folder, with the shared name
    // as a template until they have chosen one of their own.
    const std::string thanks = session.TemplateFolder + "/謝辞.txt";
    WriteBytes(thanks, Utf8ToCp932("ありがとう\r\n"));
    host.AnswerFile(thanks);
    LoadTemplate(session);
    EXPECT_EQ(LastDialog().InitialFolder, session.TemplateFolder);
    EXPECT_EQ(LastDialog().InitialFileName, dir.File("krenamer.txt"));
    EXPECT_EQ(session.ws.EditorText, "ありがとう\r\n");

    // The form dialog after it proposes the form, not the template.
    SaveFormAs(session); // cancelled
    EXPECT_EQ(LastDialog().InitialFileName, dir.File("krenamer.ref"));
    host.AnswerFile(LastDialog().InitialFileName);
    SaveFormAs(session);
    EXPECT_FALSE(std::filesystem::exists(thanks + ".ref"));
    EXPECT_EQ(session.FormFilePath, dir.File("krenamer.ref"));
    GenerateReadMe(session, {ReadMeFormat::Text, OutputDestination::File});
    EXPECT_EQ(LastDialog().InitialFileName, dir.File("krenamer.txt"));

    // The template dialogs remember their own choice.
    SaveTemplate(session);
    EXPECT_EQ(LastDialog().InitialFolder, session.TemplateFolder);
    EXPECT_EQ(LastDialog().InitialFileName, thanks);
    EXPECT_EQ(session.TemplateDialogFileName, thanks);
    EXPECT_EQ(session.DialogFileName, dir.File("krenamer.ref"));
}

} // namespace
} // namespace kelvaro
