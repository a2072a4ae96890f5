#ifdef _WIN32
#include <gtest/gtest.h>

TEST(LinuxOnly, CommandsTest) {
    GTEST_SKIP() << "Linux only: POSIX modes and flock locks";
}
#else
#include "settings/commands.h"

#include "model/defaults.h"
#include "model/item_order.h"
#include "platform/app_info.h"
#include "session/options.h"
#include "settings/system_info.h"
#include "support/change_log.h"
#include "support/fixtures.h"
#include "support/scripted_host.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <utility>
#include <vector>

namespace kelvaro {
namespace {

const FontChoice kChosen{FontSpec{"IPAexGothic", 12.0, true, true, true, true}, Colour{255, 0, 0}};

class SettingsCommands : public ::testing::Test {
protected:
    SettingsCommands() : s(host, folder.Path()) { s.ws = FreshWorkspace(); }

    void ExpectResetQuestion(const std::string& text) {
        ASSERT_EQ(host.Messages.size(), 1u);
        EXPECT_EQ(host.Messages[0].Text, text);
        EXPECT_EQ(host.Messages[0].Title, AppInfoString(AppInfo::ProductAndVersion));
        EXPECT_EQ(host.Messages[0].Buttons, MessageButtons::YesNo);
        EXPECT_EQ(host.Messages[0].Icon, MessageIcon::Exclamation);
        EXPECT_EQ(host.Messages[0].DefaultButton, MessageAnswer::Yes);
        host.Messages.clear();
    }

    std::string VersionDialogThirdLine() {
        ShowVersionInfo(s);
        const std::string& text = host.LastMessage().Text;
        return text.substr(text.rfind("\r\n") + 2);
    }

    test::TempFolder folder;
    test::ScriptedHost host;
    Session s;
    test::ChangeLog changes{s};
};

TEST_F(SettingsCommands, ResetHtmlRestoresOnlyTheHtmlSettingsOnYes) {
    Form& f = s.ws.form;
    f.HtmlBackgroundMode = 1;
    f.HtmlPauseAsHr = 0;
    f.HtmlSettings.fill("edited");
    f.PauseChars = "=";
    f.LineValues[LineSlot::Author] = "作者";
    const Form edited = f;

    host.MessageAnswers = {MessageAnswer::No};
    ResetHtmlCommand(s);
    ExpectResetQuestion(
        "HTMLの設定はすべて初期化されます。\r\nデフォルトに戻してもよろしいですか？");
    EXPECT_EQ(f, edited);

    ResetHtmlCommand(s); // the default button: Yes
    Form expected = edited;
    expected.HtmlBackgroundMode = 0;
    expected.HtmlPauseAsHr = 1;
    expected.HtmlSettings = FreshWorkspace().form.HtmlSettings;
    EXPECT_EQ(f, expected);
    EXPECT_EQ(changes.Seen, std::vector<Change>{Change::Form});
}

TEST_F(SettingsCommands, DefaultFontCommandRestoresOnlyTheFontOnYes) {
    s.BoxFont = kChosen;
    SelectEmphasisOption(s.ws, false);
    const Form before = s.ws.form;

    host.MessageAnswers = {MessageAnswer::No};
    DefaultFontCommand(s);
    ExpectResetQuestion("フォントを初期化します。\r\nよろしいですか？");
    EXPECT_EQ(s.BoxFont, kChosen);

    DefaultFontCommand(s);
    EXPECT_EQ(s.BoxFont.Font, (FontSpec{"ＭＳ ゴシック", 9.0, false, false, false, false}));
    EXPECT_EQ(s.BoxFont.TextColour, (Colour{0, 0, 0}));
    EXPECT_EQ(s.ws.form, before);
    EXPECT_EQ(s.ws.EmphasisEnabled, false);
    EXPECT_EQ(changes.Seen, std::vector<Change>{Change::Fonts});
}

TEST_F(SettingsCommands, DefaultTopicsOptionEnablesEmphasisThenResetsTheFont) {
    SelectEmphasisOption(s.ws, false);
    s.BoxFont = kChosen;
    DefaultTopicsOption(s);
    EXPECT_EQ(s.ws.EmphasisEnabled, true);
    EXPECT_EQ(ItemIsEmphasised(s.ws, "作者名"), true);        // checked by default
    EXPECT_EQ(ItemIsEmphasised(s.ws, "アーカイブ名"), false); // unchecked by default
    EXPECT_EQ(s.BoxFont, FontChoice{});
    EXPECT_EQ(changes.Seen, (std::vector<Change>{Change::Emphasis, Change::Fonts}));
}

TEST_F(SettingsCommands, FontDialogStartsFromTheBoxFontAndItsChoiceIsCopied) {
    ChangeFontCommand(s); // cancelled: the preset comes back
    EXPECT_EQ(s.BoxFont, FontChoice{});
    host.FontAnswers.push_back(kChosen);
    ChangeFontCommand(s);
    EXPECT_EQ(s.BoxFont, kChosen);
    ChangeFontCommand(s);
    EXPECT_EQ(host.FontPresets, (std::vector<FontChoice>{FontChoice{}, FontChoice{}, kChosen}));
    EXPECT_EQ(s.BoxFont, kChosen);
    EXPECT_TRUE(host.Messages.empty());
}

TEST_F(SettingsCommands, APickedBlackIsKeptApartFromTheThemeColourUntilTheDefaultFont) {
    EXPECT_TRUE(UsesThemeTextColour(s.BoxFont));
    // Black picked by hand is black on any theme; the untouched default is not.
    host.FontAnswers.push_back(FontChoice{FontSpec{}, Colour{0, 0, 0}, true});
    ChangeFontCommand(s);
    EXPECT_TRUE(s.BoxFont.ColourPicked);
    EXPECT_FALSE(UsesThemeTextColour(s.BoxFont));
    ChangeFontCommand(s); // cancelled: the pick stays
    EXPECT_FALSE(UsesThemeTextColour(s.BoxFont));
    EXPECT_TRUE(host.FontPresets.back().ColourPicked);

    DefaultFontCommand(s);
    EXPECT_EQ(s.BoxFont, FontChoice{});
    EXPECT_TRUE(UsesThemeTextColour(s.BoxFont));
    // A colour other than the default black is never the theme's.
    EXPECT_FALSE(UsesThemeTextColour(kChosen));
}

TEST_F(SettingsCommands, TodayInformationAndHelpEntries) {
    s.ws.form.LineValues[LineSlot::CreatedDate] = "typed";
    GetToday(s);
    host.Today = "2026/12/08";
    GetToday(s);
    EXPECT_EQ(s.ws.form.LineValues[LineSlot::CreatedDate], "2026/12/08");

    GetInformation(s);
    GetInformation(s);
    EXPECT_EQ(s.InformationText, "OS : " + DescribeRunningSystem());
    EXPECT_EQ(changes.Seen, (std::vector<Change>{Change::Form, Change::Form, Change::Information,
                                                 Change::Information}));

    // Built without page addresses, as the tests are: help opens the guide beside
    // the program and the home-page entry has no target.
    OpenOnlineHelp(s);
    OpenHomePage(s);
    EXPECT_EQ(host.OpenedDocuments, (std::vector<std::pair<std::string, std::string>>{
                                        {folder.File("guide.html"), folder.Path()}}));
    EXPECT_TRUE(host.Messages.empty());
}

TEST_F(SettingsCommands, VersionDialogNamesTheTemplateSet) {
    ShowVersionInfo(s);
    EXPECT_EQ(host.LastMessage().Text, AppInfoString(AppInfo::ProductAndVersion) +
                                           "\r\nCopyright (C) 2026 Kelvaro developers\r\n"
                                           "テンプレート：テンプレートなし");
    EXPECT_EQ(host.LastMessage().Title, AppInfoString(AppInfo::ProductAndVersion));
    EXPECT_EQ(host.LastMessage().Icon, MessageIcon::Information);

    ASSERT_EQ(::mkdir(s.TemplateFolder.c_str(), 0755), 0);
    EXPECT_EQ(VersionDialogThirdLine(), "テンプレート：バージョン不明");
    const std::string version = s.TemplateFolder + "/Version.txt";
    test::WriteBytes(version, "2026.1\r\nsecond line\r\n");
    EXPECT_EQ(VersionDialogThirdLine(), "テンプレート：2026.1");

    // Locked by another program: the set cannot be read, the dialog still appears.
    int fd = ::open(version.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(VersionDialogThirdLine(), "テンプレート：バージョン不明");
    ::close(fd);
}

} // namespace
} // namespace kelvaro
#endif
