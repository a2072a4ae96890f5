#include "ui/menus.h"

#include "ui/text_convert.h"
#include "window/menus.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace kelvaro::ui {
namespace {

QKeySequence ToQtKeys(const KeyChord& chord) {
    int key = chord.FunctionKey > 0 ? Qt::Key_F1 + (chord.FunctionKey - 1) : chord.Key;
    if ((chord.Modifiers & KeyChord::Ctrl) != 0) {
        key |= Qt::CTRL;
    }
    if ((chord.Modifiers & KeyChord::Shift) != 0) {
        key |= Qt::SHIFT;
    }
    if ((chord.Modifiers & KeyChord::Alt) != 0) {
        key |= Qt::ALT;
    }
    return QKeySequence(key);
}

using Runner = std::function<void(void (*)(Session&))>;

void Fill(QMenu& menu, const MenuDescription& described, QMainWindow& window, const Runner& run) {
    menu.setObjectName(ToQt(described.Name));
    for (const MenuItem& item : described.Items) {
        if (item.Separator()) {
            menu.addSeparator()->setObjectName(ToQt(item.Name));
            continue;
        }
        if (item.Submenu != nullptr) {
            const MenuDescription& sub = MenuOf(*item.Submenu);
            Fill(*menu.addMenu(ToQt(sub.Caption)), sub, window, run);
            continue;
        }
        QAction* action = menu.addAction(ToQt(item.Caption));
        action->setObjectName(ToQt(item.Name));
        if (!item.Shortcut.Empty()) {
            action->setShortcut(ToQtKeys(item.Shortcut));
        }
        switch (item.Does) {
        case MenuAct::Run:
            QObject::connect(action, &QAction::triggered, &window,
                             [run, command = item.Command] { run(command); });
            break;
        case MenuAct::CloseWindow:
            QObject::connect(action, &QAction::triggered, &window, &QWidget::close);
            break;
        case MenuAct::Off:
            action->setEnabled(false);
            break;
        }
    }
}

} // namespace

void BuildMenus(QMainWindow& window, const Runner& run) {
    for (const MenuDescription& menu : WindowMenus()) {
        if (menu.OnMenuBar) {
            Fill(*window.menuBar()->addMenu(ToQt(menu.Caption)), menu, window, run);
        }
    }
}

} // namespace kelvaro::ui
