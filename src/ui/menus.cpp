#include "ui/menus.h"

#include "compose/output.h"
#include "files/lifecycle.h"
#include "import/import_command.h"
#include "settings/commands.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include <array>

namespace kelvaro::ui {
namespace {

enum class MenuId { File, ReadMe, Help };

// What choosing an entry does: run its core command, close the window, or
// nothing (an entry shown but not offered).
enum class Act { Run, CloseWindow, Off };

// One entry of a menu; a row without a caption is a separator.
struct MenuEntry {
    MenuId Menu;
    const char* Caption;
    const char* Name;
    QKeyCombination Shortcut;
    void (*Command)(Session&) = nullptr;
    Act Does = Act::Run;
};

template <ReadMeFormat Format, OutputDestination To> void Generate(Session& s) {
    GenerateReadMe(s, {Format, To});
}

constexpr QKeyCombination kNone{};

// In the order they stand. ReadMe出力 is a submenu of ファイル, placed after its
// first separator.
const std::array kEntries{
    MenuEntry{MenuId::File, "フォームの新規作成(&N)", "MiFileNew", Qt::CTRL | Qt::Key_N, &NewForm},
    MenuEntry{MenuId::File, "フォームを開く(&O)", "MiFileOpen", Qt::CTRL | Qt::Key_O, &OpenForm},
    MenuEntry{MenuId::File, "ReadMeを読み込む(&I)...", "MiFileImport", kNone, &ImportReadMe},
    MenuEntry{MenuId::File, "フォームを上書き保存(&S)", "MiFileSave", kNone, &SaveForm},
    // Ctrl+S has always been "save as": users reach for it to save under a new name.
    MenuEntry{MenuId::File, "フォームを名前をつけて保存(&A)", "MiFileSaveAs", Qt::CTRL | Qt::Key_S,
              &SaveFormAs},
    MenuEntry{MenuId::File, nullptr, "MiFileLine1", kNone, nullptr},
    MenuEntry{MenuId::ReadMe, "Textファイルで出力(&T)", "MiReadMeText", kNone,
              &Generate<ReadMeFormat::Text, OutputDestination::File>},
    MenuEntry{MenuId::ReadMe, "HTMLファイルで出力(&H)", "MiReadMeHTML", kNone,
              &Generate<ReadMeFormat::Html, OutputDestination::File>},
    MenuEntry{MenuId::ReadMe, "Markdownファイルで出力(&M)", "MiReadMeMarkdown", kNone,
              &Generate<ReadMeFormat::Markdown, OutputDestination::File>},
    MenuEntry{MenuId::ReadMe, nullptr, "MiFileLine2", kNone, nullptr},
    MenuEntry{MenuId::ReadMe, "Text形式でクリップボードに出力(&C)", "MiReadMeTextClipboard", kNone,
              &Generate<ReadMeFormat::Text, OutputDestination::Clipboard>},
    MenuEntry{MenuId::ReadMe, "HTML形式でクリップボードに出力(&C)", "MiReadMeHTMLClipboard", kNone,
              &Generate<ReadMeFormat::Html, OutputDestination::Clipboard>},
    MenuEntry{MenuId::ReadMe, "Markdown形式でクリップボードに出力(&D)", "MiReadMeMarkdownClipboard",
              kNone, &Generate<ReadMeFormat::Markdown, OutputDestination::Clipboard>},
    // The HTML5 page where users look for the HTML, beside the HTML 4.01 ways.
    MenuEntry{MenuId::ReadMe, "HTML5形式でクリップボードに出力(&5)", "MiReadMeHTML5Clipboard",
              kNone, &Generate<ReadMeFormat::Html5, OutputDestination::Clipboard>},
    MenuEntry{MenuId::ReadMe, nullptr, "MiFileLine4", kNone, nullptr},
    MenuEntry{MenuId::ReadMe, "HTML5形式でブラウザに表示(&B)", "MiReadMeHTML5Browser", kNone,
              &Generate<ReadMeFormat::Html5, OutputDestination::Browser>},
    MenuEntry{MenuId::File, nullptr, "MiFileLine3", kNone, nullptr},
    MenuEntry{MenuId::File, "アプリケーションの終了(&X)", "MiExit", Qt::CTRL | Qt::Key_Q, nullptr,
              Act::CloseWindow},
    // The help file entry stays disabled and has no operation.
    MenuEntry{MenuId::Help, "ヘルプファイルを開く(&H)", "MiHelpFile", QKeyCombination(Qt::Key_F1),
              nullptr, Act::Off},
    MenuEntry{MenuId::Help, nullptr, "MiHelpLine1", kNone, nullptr},
    MenuEntry{MenuId::Help, "オンラインヘルプ(&O)", "MiOnlineHelpPage", kNone, &OpenOnlineHelp},
    MenuEntry{MenuId::Help, "開発元ホームページ(&P)", "MiOnlineDevelopmentPage", kNone,
              &OpenHomePage},
    MenuEntry{MenuId::Help, nullptr, "MiHelpLine2", kNone, nullptr},
    MenuEntry{MenuId::Help, "バージョン情報(&V)", "MiGetVersionInfo", kNone, &ShowVersionInfo},
};

QMenu* NamedMenu(QMenu* menu, const char* name) {
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

} // namespace

void BuildMenus(QMainWindow& window, const std::function<void(void (*)(Session&))>& run) {
    QMenuBar* bar = window.menuBar();
    QMenu* file = NamedMenu(bar->addMenu(QStringLiteral("ファイル(&F)")), "MeFile");
    QMenu* readMe = nullptr;
    QMenu* help = nullptr;
    // The submenu and the help menu are made where their first entry stands.
    auto menuFor = [&](MenuId id) -> QMenu& {
        if (id == MenuId::File) {
            return *file;
        }
        if (id == MenuId::ReadMe) {
            if (readMe == nullptr) {
                readMe = NamedMenu(file->addMenu(QStringLiteral("ReadMe出力(&R)")), "MiReadMe");
            }
            return *readMe;
        }
        if (help == nullptr) {
            help = NamedMenu(bar->addMenu(QStringLiteral("ヘルプ(&H)")), "MeHelp");
        }
        return *help;
    };
    for (const MenuEntry& entry : kEntries) {
        QMenu& menu = menuFor(entry.Menu);
        if (entry.Caption == nullptr) {
            menu.addSeparator()->setObjectName(QString::fromLatin1(entry.Name));
            continue;
        }
        QAction* action = menu.addAction(QString::fromUtf8(entry.Caption));
        action->setObjectName(QString::fromLatin1(entry.Name));
        if (entry.Shortcut != kNone) {
            action->setShortcut(QKeySequence(entry.Shortcut));
        }
        switch (entry.Does) {
        case Act::Run:
            QObject::connect(action, &QAction::triggered, &window,
                             [run, command = entry.Command] { run(command); });
            break;
        case Act::CloseWindow:
            QObject::connect(action, &QAction::triggered, &window, &QWidget::close);
            break;
        case Act::Off:
            action->setEnabled(false);
            break;
        }
    }
}

} // namespace kelvaro::ui
