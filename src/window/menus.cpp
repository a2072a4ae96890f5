#include "window/menus.h"

#include "compose/output.h"
#include "files/lifecycle.h"
#include "import/import_command.h"
#include "settings/commands.h"

namespace kelvaro {
namespace {

template <ReadMeFormat Format, OutputDestination To> void Generate(Session& s) {
    GenerateReadMe(s, {Format, To});
}

constexpr KeyChord Ctrl(char key) {
    return KeyChord{KeyChord::Ctrl, key, 0};
}

constexpr MenuId kReadMeMenu = MenuId::ReadMe;

constexpr std::array kFileItems{
    MenuItem{"フォームの新規作成(&N)", "MiFileNew", Ctrl('N'), &NewForm},
    MenuItem{"フォームを開く(&O)", "MiFileOpen", Ctrl('O'), &OpenForm},
    MenuItem{"ReadMeを読み込む(&I)...", "MiFileImport", {}, &ImportReadMe},
    MenuItem{"フォームを上書き保存(&S)", "MiFileSave", {}, &SaveForm},
    // Ctrl+S has always been "save as": users reach for it to save under a new name.
    MenuItem{"フォームを名前をつけて保存(&A)", "MiFileSaveAs", Ctrl('S'), &SaveFormAs},
    MenuItem{"", "MiFileLine1"},
    // Named and captioned by its menu.
    MenuItem{"", "", {}, nullptr, MenuAct::Run, &kReadMeMenu},
    MenuItem{"", "MiFileLine3"},
    MenuItem{"アプリケーションの終了(&X)", "MiExit", Ctrl('Q'), nullptr, MenuAct::CloseWindow},
};

constexpr std::array kReadMeItems{
    MenuItem{"Textファイルで出力(&T)",
             "MiReadMeText",
             {},
             &Generate<ReadMeFormat::Text, OutputDestination::File>},
    MenuItem{"HTMLファイルで出力(&H)",
             "MiReadMeHTML",
             {},
             &Generate<ReadMeFormat::Html, OutputDestination::File>},
    MenuItem{"Markdownファイルで出力(&M)",
             "MiReadMeMarkdown",
             {},
             &Generate<ReadMeFormat::Markdown, OutputDestination::File>},
    MenuItem{"", "MiFileLine2"},
    MenuItem{"Text形式でクリップボードに出力(&C)",
             "MiReadMeTextClipboard",
             {},
             &Generate<ReadMeFormat::Text, OutputDestination::Clipboard>},
    MenuItem{"HTML形式でクリップボードに出力(&C)",
             "MiReadMeHTMLClipboard",
             {},
             &Generate<ReadMeFormat::Html, OutputDestination::Clipboard>},
    MenuItem{"Markdown形式でクリップボードに出力(&D)",
             "MiReadMeMarkdownClipboard",
             {},
             &Generate<ReadMeFormat::Markdown, OutputDestination::Clipboard>},
    // The HTML5 page where users look for the HTML, beside the HTML 4.01 ways.
    MenuItem{"HTML5形式でクリップボードに出力(&5)",
             "MiReadMeHTML5Clipboard",
             {},
             &Generate<ReadMeFormat::Html5, OutputDestination::Clipboard>},
    MenuItem{"", "MiFileLine4"},
    MenuItem{"HTML5形式でブラウザに表示(&B)",
             "MiReadMeHTML5Browser",
             {},
             &Generate<ReadMeFormat::Html5, OutputDestination::Browser>},
};

constexpr std::array kHelpItems{
    // The help file entry stays disabled and has no operation.
    MenuItem{"ヘルプファイルを開く(&H)", "MiHelpFile", KeyChord{0, 0, 1}, nullptr, MenuAct::Off},
    MenuItem{"", "MiHelpLine1"},
    MenuItem{"オンラインヘルプ(&O)", "MiOnlineHelpPage", {}, &OpenOnlineHelp},
    MenuItem{"開発元ホームページ(&P)", "MiOnlineDevelopmentPage", {}, &OpenHomePage},
    MenuItem{"", "MiHelpLine2"},
    MenuItem{"バージョン情報(&V)", "MiGetVersionInfo", {}, &ShowVersionInfo},
};

// In MenuId order.
const std::array<MenuDescription, MenuCount> kMenus{
    MenuDescription{MenuId::File, "ファイル(&F)", "MeFile", true, kFileItems},
    MenuDescription{MenuId::ReadMe, "ReadMe出力(&R)", "MiReadMe", false, kReadMeItems},
    MenuDescription{MenuId::Help, "ヘルプ(&H)", "MeHelp", true, kHelpItems},
};

const std::array<TabDescription, PageCount> kTabs{
    TabDescription{"１行項目", "TabPage_1"}, TabDescription{"長文項目", "TabPage_2"},
    TabDescription{"項目順序", "TabPage_3"}, TabDescription{"その他", "TabPage_4"},
    TabDescription{"HTML", "TabPage_5"},     TabDescription{"ﾌﾟﾚﾋﾞｭｰ", "TabPage_6"},
    TabDescription{"ｵﾌﾟｼｮﾝ", "TabPage_7"},   TabDescription{"ﾃﾝﾌﾟﾚｰﾄﾋﾞｭｰｱ", "TabPage_8"},
};

} // namespace

std::span<const MenuDescription> WindowMenus() {
    return kMenus;
}

const MenuDescription& MenuOf(MenuId id) {
    return kMenus[static_cast<std::size_t>(id)];
}

char Mnemonic(std::string_view caption) {
    const std::size_t at = caption.find('&');
    if (at == std::string_view::npos || at + 1 >= caption.size()) {
        return 0;
    }
    const char letter = caption[at + 1];
    return letter >= 'a' && letter <= 'z' ? static_cast<char>(letter - 'a' + 'A') : letter;
}

std::span<const TabDescription, PageCount> WindowTabs() {
    return kTabs;
}

} // namespace kelvaro
