#include "window/buttons.h"

#include "session/edits.h"
#include "settings/commands.h"
#include "templates/template_files.h"
#include "templates/template_viewer.h"

#include <array>

namespace kelvaro {
namespace {

const std::array<ButtonDescription, ButtonCount> kButtons{
    ButtonDescription{ButtonId::GetToday, Page::Lines, "≪今日の日付", "CmdGetToday", "今日の日付",
                      &GetToday},
    ButtonDescription{ButtonId::LoadTemplate, Page::LongTexts, "テンプレートを読み込む",
                      "CmdTemplate_0", "", &LoadTemplate},
    ButtonDescription{ButtonId::SaveTemplate, Page::LongTexts, "テンプレートとして保存",
                      "CmdTemplate_1", "", &SaveTemplate},
    ButtonDescription{ButtonId::GetPauseNum, Page::Other, "記号から適切な回数を取得",
                      "CmdGetPauseNum", "", &GetPauseNum},
    ButtonDescription{ButtonId::ResetHtml, Page::Html, "HTML設定をデフォルトに戻す",
                      "CmdDefaultHTML", "", &ResetHtmlCommand},
    ButtonDescription{ButtonId::ChangeFont, Page::Options, "フォントを変更する", "CmdFontSelect_0",
                      "", &ChangeFontCommand},
    ButtonDescription{ButtonId::DefaultFont, Page::Options, "デフォルトのフォント",
                      "CmdFontSelect_1", "", &DefaultFontCommand},
    ButtonDescription{ButtonId::GetInformation, Page::Options, "情報取得", "CmdGetInformation", "",
                      &GetInformation},
    ButtonDescription{ButtonId::ScanTemplates, Page::TemplateViewer, "テンプレートの読み込み",
                      "CmdLoadTemplate", "", &ScanTemplateFolder},
};

} // namespace

std::span<const ButtonDescription, ButtonCount> PageButtons() {
    return kButtons;
}

const ButtonDescription& ButtonOf(ButtonId id) {
    return kButtons[static_cast<std::size_t>(id)];
}

} // namespace kelvaro
