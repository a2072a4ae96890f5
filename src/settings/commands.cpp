#include "settings/commands.h"

#include "model/defaults.h"
#include "model/item_order.h"
#include "platform/app_info.h"
#include "platform/error.h"
#include "session/options.h"
#include "settings/system_info.h"

#include <string>

// The two help-menu addresses are fixed when the program is built; a build that
// does not supply them leaves them empty.
#ifndef KELVARO_ONLINE_HELP_URL
#define KELVARO_ONLINE_HELP_URL ""
#endif
#ifndef KELVARO_HOME_PAGE_URL
#define KELVARO_HOME_PAGE_URL ""
#endif

namespace kelvaro {
namespace {

constexpr const char* kOnlineHelpAddress = KELVARO_ONLINE_HELP_URL;
constexpr const char* kHomePageAddress = KELVARO_HOME_PAGE_URL;
constexpr const char* kCopyrightLine = "Copyright (C) 2026 Kelvaro developers";

// The reset buttons ask first; Yes is the default because a reset only touches
// settings that are quickly set again.
bool ConfirmReset(Session& s, const std::string& text) {
    MessageRequest question{text, AppInfoString(AppInfo::ProductAndVersion), MessageButtons::YesNo,
                            MessageIcon::Exclamation, MessageAnswer::Yes};
    return s.host.ShowMessage(question) == MessageAnswer::Yes;
}

} // namespace

void ResetHtmlCommand(Session& s) {
    if (ConfirmReset(
            s, "HTMLの設定はすべて初期化されます。\r\nデフォルトに戻してもよろしいですか？")) {
        DefaultTopicsHTML(s.ws);
        s.Notify(Change::Form);
    }
}

void DefaultFontCommand(Session& s) {
    if (ConfirmReset(s, "フォントを初期化します。\r\nよろしいですか？")) {
        DefaultFont(s);
    }
}

void ChangeFontCommand(Session& s) {
    // Cancelling the font dialog hands the preset back, so the boxes keep their
    // font and nothing is said about it.
    const FontChoice chosen = s.host.ShowFontDialog(s.BoxFont);
    s.BoxFont.Font.Bold = chosen.Font.Bold;
    s.BoxFont.Font.Italic = chosen.Font.Italic;
    s.BoxFont.Font.Name = chosen.Font.Name;
    s.BoxFont.Font.SizePoints = chosen.Font.SizePoints;
    s.BoxFont.Font.Strikethrough = chosen.Font.Strikethrough;
    s.BoxFont.Font.Underline = chosen.Font.Underline;
    s.BoxFont.TextColour = chosen.TextColour;
    s.BoxFont.ColourPicked = chosen.ColourPicked;
    s.Notify(Change::Fonts);
}

void GetToday(Session& s) {
    s.ws.form.LineValues[LineSlot::CreatedDate] = s.host.TodayText();
    s.Notify(Change::Form);
}

void GetInformation(Session& s) {
    s.InformationText = InformationText(DescribeRunningSystem());
    s.Notify(Change::Information);
}

void ShowVersionInfo(Session& s) {
    const std::string text = AppInfoString(AppInfo::ProductAndVersion) + "\r\n" + kCopyrightLine +
                             "\r\n" + "テンプレート：" +
                             TemplateSetVersionOrUnknown(s.TemplateFolder);
    s.host.ShowMessage(MessageRequest{text, AppInfoString(AppInfo::ProductAndVersion),
                                      MessageButtons::Ok, MessageIcon::Information,
                                      MessageAnswer::Ok});
}

void OpenOnlineHelp(Session& s) {
    // Without an address of its own the build points at the user guide that
    // ships beside the program.
    std::string target = kOnlineHelpAddress;
    if (target.empty()) {
        target = s.GuidePath;
    }
    s.host.OpenDocument(target, s.ProgramFolder);
}

void OpenHomePage(Session& s) {
    const std::string target = kHomePageAddress;
    if (target.empty()) {
        return;
    }
    s.host.OpenDocument(target, s.ProgramFolder);
}

} // namespace kelvaro
