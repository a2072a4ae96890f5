// A monkey at the real window: thousands of random real events (clicks on
// every control, Japanese and ASCII typed into every field, keys, tab
// switches, drags in the order list, every menu command) while the scripted
// host answers every question at random, cancelling included, and file
// dialogs with paths in a folder of the test's own. After each step the window
// must still be there and show what the core holds; at the end a save, an
// open and a second save give the same bytes.
//
// The run is reproducible: it prints its seed, and KELVARO_MONKEY_SEED=<n>
// replays another; KELVARO_MONKEY_STEPS=<n> sets its length.

#include "compose/output.h"
#include "model/catalogue.h"
#include "ui/order_list.h"
#include "ui/pages/page_kit.h"
#include "ui/text_convert.h"
#include "window_fixture.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

using namespace kelvaro;
using namespace kelvaro::test;

class WindowMonkeyTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void randomEventsKeepTheWindowAndTheFormInStep();
};

namespace {

constexpr unsigned long long kSeed = 20261208;
constexpr int kSteps = 3000;

unsigned long long FromEnvironment(const char* name, unsigned long long fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::strtoull(value, nullptr, 10) : fallback;
}

// What the monkey types: ASCII, hiragana, katakana, kanji, full-width and
// half-width forms, and a few characters CP932 has no code for. No "#%!":
// a long-text line starting with "#%!" cannot be saved at all, and the run
// ends with a save.
// Where two texts part: the position and a few characters of each there.
QString FirstDifference(const QString& shown, const QString& held) {
    qsizetype at = 0;
    while (at < shown.size() && at < held.size() && shown[at] == held[at]) {
        ++at;
    }
    auto around = [at](const QString& text) {
        QString part = text.mid(at, 12);
        part.replace(QLatin1Char('\r'), QStringLiteral("\\r"))
            .replace(QLatin1Char('\n'), QStringLiteral("\\n"));
        return part;
    };
    return QStringLiteral("at %1 of %2/%3 shown \"%4\" held \"%5\"")
        .arg(at)
        .arg(shown.size())
        .arg(held.size())
        .arg(around(shown), around(held));
}

const QString kAlphabet = QStringLiteral(
    "abcXYZ0189 .,-_()/:;@=+*~あいうえおがぱゃっーアイウエオヴヶ漢字表示作者名動作環境"
    "０１ＡＢ！？「」【】・ｱｲｳｴｵｶﾞﾊﾟｰ①ⅠéŒ€한");

class Monkey {
public:
    Monkey(WindowFixture& f, unsigned long long seed) : f_(f), random_(seed) {
        const std::string own = f.folder.File("monkey");
        std::filesystem::create_directories(own);
        for (const char* name : {"a.ref", "b.ref", "noext", "テンプレート.txt", "page.html",
                                 "readme.txt", "notes.md", "missing/none.ref"}) {
            paths_.push_back(own + "/" + name);
        }
        paths_.push_back(own); // a folder
        paths_.push_back(f.folder.File("Templates/免責.txt"));
        paths_.push_back(f.folder.File("Templates/アンインストール方法.txt"));
    }

    void Step() {
        AnswerAtRandom();
        if (QApplication::activePopupWidget() != nullptr) {
            Popup();
        } else {
            switch (Pick({30, 22, 12, 8, 10, 3, 5, 2})) {
            case 0:
                Click();
                break;
            case 1:
                Type();
                break;
            case 2:
                Key();
                break;
            case 3:
                SwitchTab();
                break;
            case 4:
                Menu();
                break;
            case 5:
                Shortcut();
                break;
            case 6:
                Drag();
                break;
            default:
                Resize();
                break;
            }
        }
        // A "yes" to the exit question closes the window: the user starts it again.
        if (!f_.window->isVisible()) {
            Log(QStringLiteral("window closed; shown again"));
            f_.window->show();
        }
    }

    // The first way in which the widgets do not show what the core holds, or
    // an empty string.
    QString Mismatch() {
        const Session& s = f_.session();
        const Form& form = s.ws.form;
        auto box = [this](const QString& name) { return f_.window->findChild<QLineEdit*>(name); };
        auto differs = [](const QString& shown, const std::string& held) {
            return shown != ui::ToQt(held);
        };
        for (std::size_t i = 0; i < LineValueCount; ++i) {
            const QString name = QStringLiteral("TopicsLineText_%1").arg(i);
            if (differs(box(name)->text(), form.LineValues[i])) {
                return name;
            }
        }
        for (std::size_t i = 0; i < HtmlSettingCount; ++i) {
            const QString name = QStringLiteral("TopicsHTMLInput_%1").arg(i);
            if (differs(box(name)->text(), form.HtmlSettings[i])) {
                return name;
            }
        }
        for (std::size_t i = 0; i < UserNameCount; ++i) {
            const QString name = QStringLiteral("TopicsAdd_%1").arg(i);
            if (differs(box(name)->text(), form.UserNames[i])) {
                return name;
            }
        }
        const std::vector<std::pair<const char*, const std::string*>> others{
            {"TopicsOtherPauseChar", &form.PauseChars},
            {"TopicsOtherPauseNum", &form.PauseCount},
            {"TopicsOtherLeftChar", &form.LeftBracket},
            {"TopicsOtherRightChar", &form.RightBracket}};
        for (const auto& [name, field] : others) {
            if (differs(box(QString::fromLatin1(name))->text(), *field)) {
                return QString::fromLatin1(name);
            }
        }
        for (std::size_t i = 0; i < ChoiceValueCount; ++i) {
            const QString name = QStringLiteral("ComboTopics_%1").arg(i);
            if (differs(f_.window->findChild<QComboBox*>(name)->currentText(),
                        form.ChoiceValues[i])) {
                return name;
            }
        }
        if (f_.window->findChild<QComboBox*>(QStringLiteral("ComboSize"))->currentIndex() !=
            form.SizeUnit) {
            return QStringLiteral("ComboSize");
        }
        const std::vector<std::pair<const char*, int>> checks{
            {"TopicsSortCheckSpace", form.SkipEmptyItems},
            {"TopicsOtherCheckChange", form.UseReplacement},
            {"TopicsOtherCheckUserInput", form.ReplaceUserInput},
            {"TopicsHTMLCheckHR", form.HtmlPauseAsHr}};
        for (const auto& [name, value] : checks) {
            const auto state =
                f_.window->findChild<QCheckBox*>(QString::fromLatin1(name))->checkState();
            const int shown = state == Qt::Checked ? 1 : state == Qt::PartiallyChecked ? 2 : 0;
            if (shown != value) {
                return QString::fromLatin1(name);
            }
        }
        const auto group = [this](const char* name) { return f_.Find<QButtonGroup>(name); };
        const auto nth = [this](const char* name, std::size_t i) {
            return f_.window->findChild<QWidget*>(ui::Indexed(name, static_cast<int>(i)));
        };
        if (group("OptTopicsHTMLGroup")->checkedId() != form.HtmlBackgroundMode) {
            return QStringLiteral("OptTopicsHTML");
        }
        if (group("OptPreviewModeGroup")->checkedId() != PreviewOption(s)) {
            return QStringLiteral("OptPreviewMode");
        }

        // The order list: every entry's text and check, and the selection.
        const QListWidget* list = f_.Find<QListWidget>("SortList");
        if (list->count() != static_cast<int>(form.Order.size())) {
            return QStringLiteral("SortList size");
        }
        for (int i = 0; i < list->count(); ++i) {
            const OrderEntry& entry = form.Order[static_cast<std::size_t>(i)];
            if (differs(list->item(i)->text(), entry.Text) ||
                (list->item(i)->checkState() == Qt::Checked) != entry.Checked) {
                return QStringLiteral("SortList row %1").arg(i);
            }
        }
        if (list->currentRow() != s.ws.Selected) {
            return QStringLiteral("SortList selection %1, core %2")
                .arg(list->currentRow())
                .arg(s.ws.Selected);
        }

        // The bold names follow the emphasis flags.
        if (f_.Find<QRadioButton>("OptTopicsOptionBold_0")->isChecked() != s.ws.EmphasisEnabled) {
            return QStringLiteral("OptTopicsOptionBold");
        }
        for (const CatalogueItem& item : Catalogue()) {
            if (item.EmphasisIndex < 0 || item.ControlIndex < 0) {
                continue;
            }
            const auto index = static_cast<std::size_t>(item.ControlIndex);
            const QWidget* control =
                item.Control == EmphasisControl::LineLabel  ? nth("TopicsLine", index)
                : item.Control == EmphasisControl::UserName ? nth("TopicsAdd", index)
                                                            : nth("OptTopics", index);
            if (control->font().bold() !=
                s.ws.ItemEmphasis[static_cast<std::size_t>(item.EmphasisIndex)]) {
                return QStringLiteral("bold name of ") + ui::ToQt(item.Key);
            }
        }

        // The long-text editor: its item, and its text unless the user has
        // typed into it since the core last took the text.
        if (!f_.window->findChild<QRadioButton*>(ui::Indexed("OptTopics", s.ws.CurrentLongItem))
                 ->isChecked()) {
            return QStringLiteral("OptTopics");
        }
        const bool same =
            f_.Find<QPlainTextEdit>("Description")->toPlainText() == ui::ToBoxText(s.ws.EditorText);
        if (same) {
            editorAhead_ = false;
        } else if (!editorAhead_) {
            return QStringLiteral("Description: %1")
                .arg(FirstDifference(f_.Find<QPlainTextEdit>("Description")->toPlainText(),
                                     ui::ToBoxText(s.ws.EditorText)));
        }

        if (f_.Find<QPlainTextEdit>("PreviewText")->toPlainText() != ui::ToBoxText(s.PreviewText)) {
            return QStringLiteral("PreviewText");
        }
        if (f_.Find<QPlainTextEdit>("TemplateText")->toPlainText() !=
            ui::ToBoxText(s.TemplateText)) {
            return QStringLiteral("TemplateText");
        }
        if (f_.Find<QListWidget>("TemplateList")->count() !=
            static_cast<int>(s.TemplateList.size())) {
            return QStringLiteral("TemplateList");
        }
        if (f_.window->windowTitle() != ui::ToQt(s.WindowTitle)) {
            return QStringLiteral("window title");
        }
        if (f_.Find<QTabWidget>("TabSheet")->currentIndex() != static_cast<int>(s.CurrentPage)) {
            return QStringLiteral("page %1, core %2")
                .arg(f_.Find<QTabWidget>("TabSheet")->currentIndex())
                .arg(static_cast<int>(s.CurrentPage));
        }
        return {};
    }

    // How often each kind of step ran.
    QString Counts() const {
        QStringList parts;
        for (auto it = counts_.cbegin(); it != counts_.cend(); ++it) {
            parts << QStringLiteral("%1 %2").arg(it.key()).arg(it.value());
        }
        return parts.join(QStringLiteral(", "));
    }

    QString History() const {
        QStringList lines;
        for (const QString& line : history_) {
            lines << line;
        }
        return lines.join(QLatin1Char('\n'));
    }

private:
    int Pick(std::initializer_list<double> weights) {
        std::discrete_distribution<int> choose(weights);
        return choose(random_);
    }

    int Below(int n) { return n <= 1 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(random_); }

    bool Chance(int percent) { return Below(100) < percent; }

    void Log(const QString& what) {
        ++counts_[what.section(QLatin1Char(' '), 0, 0)];
        history_.push_back(what);
        if (history_.size() > 25) {
            history_.pop_front();
        }
    }

    // Every question of the next step gets a random answer: yes, no or cancel, a file
    // in the monkey's folder or a cancelled dialog, a font or a cancel.
    void AnswerAtRandom() {
        ScriptedHost& host = f_.host;
        host.MessageAnswers.clear();
        const MessageAnswer answers[] = {MessageAnswer::Yes, MessageAnswer::No,
                                         MessageAnswer::Cancel};
        for (int i = 0; i < 4; ++i) {
            host.MessageAnswers.push_back(answers[Below(3)]);
        }
        host.FileAnswers.clear();
        for (int i = 0; i < 2; ++i) {
            if (Chance(25)) {
                host.CancelFile();
            } else {
                host.AnswerFile(
                    paths_[static_cast<std::size_t>(Below(static_cast<int>(paths_.size())))],
                    Below(2));
            }
        }
        host.FontAnswers.clear();
        if (Chance(60)) {
            const char* families[] = {"Noto Sans Mono CJK JP", "DejaVu Sans", "ＭＳ ゴシック"};
            FontChoice chosen;
            chosen.Font.Name = families[Below(3)];
            chosen.Font.SizePoints = 6 + Below(30) / 2.0;
            chosen.Font.Bold = Chance(50);
            chosen.Font.Italic = Chance(30);
            chosen.Font.Underline = Chance(20);
            chosen.TextColour = Colour{Below(256), Below(256), Below(256)};
            chosen.ColourPicked = Chance(50);
            host.FontAnswers.push_back(chosen);
        }
        host.ClipboardFails = Chance(5);
    }

    // The named controls a user can reach now: visible and enabled.
    std::vector<QWidget*> Reachable(bool editableOnly) const {
        std::vector<QWidget*> found;
        for (QWidget* widget : f_.window->findChildren<QWidget*>()) {
            if (widget->objectName().isEmpty() ||
                widget->objectName().startsWith(QStringLiteral("qt_")) || !widget->isVisible() ||
                !widget->isEnabled()) {
                continue;
            }
            const bool editable = (qobject_cast<QLineEdit*>(widget) != nullptr &&
                                   !static_cast<QLineEdit*>(widget)->isReadOnly()) ||
                                  (qobject_cast<QComboBox*>(widget) != nullptr &&
                                   static_cast<QComboBox*>(widget)->isEditable()) ||
                                  (qobject_cast<QPlainTextEdit*>(widget) != nullptr &&
                                   !static_cast<QPlainTextEdit*>(widget)->isReadOnly());
            const bool control = editable || qobject_cast<QAbstractButton*>(widget) != nullptr ||
                                 qobject_cast<QComboBox*>(widget) != nullptr ||
                                 qobject_cast<QAbstractItemView*>(widget) != nullptr ||
                                 qobject_cast<QPlainTextEdit*>(widget) != nullptr;
            if (editableOnly ? editable : control) {
                found.push_back(widget);
            }
        }
        return found;
    }

    QPoint Inside(const QRect& rect) {
        return QPoint(rect.left() + 2 + Below(std::max(1, rect.width() - 4)),
                      rect.top() + 2 + Below(std::max(1, rect.height() - 4)));
    }

    void Click() {
        const std::vector<QWidget*> controls = Reachable(false);
        if (controls.empty()) {
            return;
        }
        QWidget* target =
            controls[static_cast<std::size_t>(Below(static_cast<int>(controls.size())))];
        Log(QStringLiteral("click ") + target->objectName());
        if (auto* list = qobject_cast<QListWidget*>(target)) {
            if (list->count() == 0) {
                return;
            }
            // A row: on its check box now and then, else on its text.
            QListWidgetItem* item = list->item(Below(list->count()));
            list->scrollToItem(item);
            const QRect rect = list->visualItemRect(item);
            const QPoint at =
                Chance(30) ? QPoint(rect.left() + 10, rect.center().y()) : Inside(rect);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
            return;
        }
        if (auto* text = qobject_cast<QPlainTextEdit*>(target)) {
            QTest::mouseClick(text->viewport(), Qt::LeftButton, {},
                              Inside(text->viewport()->rect()));
            return;
        }
        QTest::mouseClick(target, Qt::LeftButton, {}, Inside(target->rect()));
    }

    QString RandomText() {
        QString text;
        const int length = 1 + Below(8);
        for (int i = 0; i < length; ++i) {
            text += kAlphabet.at(Below(static_cast<int>(kAlphabet.size())));
        }
        return text;
    }

    void Type() {
        std::vector<QWidget*> fields = Reachable(true);
        if (fields.empty()) {
            // Nothing to type into on this page: the user goes to one that has.
            const int pages[] = {0, 1, 3, 4};
            f_.ClickTab(pages[Below(4)]);
            fields = Reachable(true);
        }
        if (fields.empty()) {
            return;
        }
        QWidget* field = fields[static_cast<std::size_t>(Below(static_cast<int>(fields.size())))];
        QWidget* keys = field;
        if (auto* combo = qobject_cast<QComboBox*>(field)) {
            keys = combo->lineEdit();
        } else if (auto* text = qobject_cast<QPlainTextEdit*>(field)) {
            keys = text->viewport();
            editorAhead_ = editorAhead_ || text == f_.Find<QPlainTextEdit>("Description");
        }
        QTest::mouseClick(keys, Qt::LeftButton, {}, Inside(keys->rect()));
        if (Chance(30)) {
            QTest::keyClick(keys, Qt::Key_A, Qt::ControlModifier);
        }
        const QString text = RandomText();
        Log(QStringLiteral("type \"%1\" into %2").arg(text, field->objectName()));
        TypeText(keys == field || qobject_cast<QComboBox*>(field) != nullptr ? keys : field, text);
        if (Chance(15) && qobject_cast<QPlainTextEdit*>(field) != nullptr) {
            QTest::keyClick(field, Qt::Key_Return);
        }
    }

    void Key() {
        struct Press {
            Qt::Key Key;
            Qt::KeyboardModifiers Modifiers;
            const char* Name;
        };
        static const Press presses[] = {
            {Qt::Key_Backspace, {}, "Backspace"},
            {Qt::Key_Delete, {}, "Delete"},
            {Qt::Key_Left, {}, "Left"},
            {Qt::Key_Right, {}, "Right"},
            {Qt::Key_Up, {}, "Up"},
            {Qt::Key_Down, {}, "Down"},
            {Qt::Key_Home, {}, "Home"},
            {Qt::Key_End, {}, "End"},
            {Qt::Key_Return, {}, "Return"},
            {Qt::Key_Tab, {}, "Tab"},
            {Qt::Key_Space, {}, "Space"},
            {Qt::Key_Escape, {}, "Escape"},
            {Qt::Key_PageDown, {}, "PageDown"},
            {Qt::Key_Z, Qt::ControlModifier, "Ctrl+Z"},
            {Qt::Key_Y, Qt::ControlModifier, "Ctrl+Y"},
            {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, "Ctrl+Shift+Z"},
            {Qt::Key_A, Qt::ControlModifier, "Ctrl+A"},
            {Qt::Key_Tab, Qt::ControlModifier, "Ctrl+Tab"}};
        const Press& press = presses[Below(static_cast<int>(std::size(presses)))];
        QWidget* focus = QApplication::focusWidget();
        if (focus == nullptr || focus->window() != f_.window.get()) {
            focus = f_.window.get();
        }
        Log(QStringLiteral("key %1 in %2")
                .arg(QString::fromLatin1(press.Name), focus->objectName()));
        if (focus == f_.Find<QPlainTextEdit>("Description") ||
            focus == f_.Find<QPlainTextEdit>("Description")->viewport()) {
            editorAhead_ = true;
        }
        QTest::keyClick(focus, press.Key, press.Modifiers);
    }

    void SwitchTab() {
        const int tab = Below(static_cast<int>(PageCount));
        Log(QStringLiteral("tab %1").arg(tab));
        f_.ClickTab(tab);
    }

    void Menu() {
        std::vector<QAction*> actions;
        for (QAction* action : f_.window->findChildren<QAction*>()) {
            if (action->objectName().startsWith(QStringLiteral("Mi")) && !action->isSeparator() &&
                action->menu() == nullptr) {
                actions.push_back(action);
            }
        }
        QAction* action =
            actions[static_cast<std::size_t>(Below(static_cast<int>(actions.size())))];
        Log(QStringLiteral("menu ") + action->objectName());
        action->trigger();
    }

    void Shortcut() {
        const Qt::Key keys[] = {Qt::Key_N, Qt::Key_O, Qt::Key_S, Qt::Key_Q};
        const Qt::Key key = keys[Below(4)];
        Log(QStringLiteral("Ctrl+%1").arg(QChar(key)));
        QTest::keyClick(f_.window.get(), key, Qt::ControlModifier);
    }

    void Drag() {
        f_.ClickTab(static_cast<int>(Page::Order));
        QListWidget* list = f_.Find<QListWidget>("SortList");
        if (list->count() < 2) {
            return;
        }
        const int from = Below(list->count());
        list->scrollToItem(list->item(from));
        const QRect rect = list->visualItemRect(list->item(from));
        // Somewhere in the list's visible part, rows and the space below them.
        const QPoint target(rect.center().x(), Below(list->viewport()->height()));
        Log(QStringLiteral("drag row %1 to y %2").arg(from).arg(target.y()));
        if (!DragListEntry(list, from, target)) {
            Log(QStringLiteral("  (the list did not take the drop)"));
        }
    }

    void Resize() {
        const QSize least = f_.window->minimumSize();
        const QSize size(least.width() + Below(200), least.height() + Below(200));
        Log(QStringLiteral("resize %1x%2").arg(size.width()).arg(size.height()));
        f_.window->resize(size);
    }

    void Popup() {
        QWidget* popup = QApplication::activePopupWidget();
        auto* view = popup->findChild<QAbstractItemView*>();
        const int choice = Below(3);
        Log(QStringLiteral("popup %1: %2").arg(popup->objectName()).arg(choice));
        if (choice == 0 || view == nullptr || view->model()->rowCount() == 0) {
            QTest::keyClick(popup, Qt::Key_Escape);
        } else if (choice == 1) {
            QTest::keyClick(view, Qt::Key_Down);
            QTest::keyClick(view, Qt::Key_Return);
        } else {
            const QModelIndex row = view->model()->index(Below(view->model()->rowCount()), 0);
            view->scrollTo(row);
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(row).center());
        }
        if (QApplication::activePopupWidget() == popup && !Chance(50)) {
            popup->close();
        }
    }

    WindowFixture& f_;
    std::mt19937_64 random_;
    std::vector<std::string> paths_;
    std::deque<QString> history_;
    QMap<QString, int> counts_;
    bool editorAhead_ = false;
};

} // namespace

void WindowMonkeyTest::randomEventsKeepTheWindowAndTheFormInStep() {
    const unsigned long long seed = FromEnvironment("KELVARO_MONKEY_SEED", kSeed);
    const int steps = static_cast<int>(FromEnvironment("KELVARO_MONKEY_STEPS", kSteps));
    qInfo("monkey seed %llu, %d steps (replay with KELVARO_MONKEY_SEED=%llu)", seed, steps, seed);

    QElapsedTimer clock;
    clock.start();
    WindowFixture f;
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    Monkey monkey(f, seed);
    for (int step = 0; step < steps; ++step) {
        monkey.Step();
        const QString mismatch = monkey.Mismatch();
        if (!mismatch.isEmpty()) {
            QFAIL(qPrintable(QStringLiteral("step %1 of seed %2: the window does not show what the "
                                            "core holds: %3\nlast steps:\n%4")
                                 .arg(step)
                                 .arg(seed)
                                 .arg(mismatch, monkey.History())));
        }
    }
    qInfo("%d steps in %lld ms: %s", steps, static_cast<long long>(clock.elapsed()),
          qPrintable(monkey.Counts()));
    qInfo("the host was asked %zu questions, %zu file dialogs, %zu font dialogs",
          f.host.Messages.size(), f.host.FileDialogs.size(), f.host.FontPresets.size());

    // Whatever the monkey left: saved, opened and saved again, the same bytes.
    while (QApplication::activePopupWidget() != nullptr) {
        QApplication::activePopupWidget()->close();
    }
    ScriptedHost& host = f.host;
    host.MessageAnswers.assign(8, MessageAnswer::Yes);
    host.FileAnswers.clear();
    host.FontAnswers.clear();
    const std::string first = f.folder.File("final-1.ref");
    const std::string second = f.folder.File("final-2.ref");
    const std::size_t messages = host.Messages.size();
    host.AnswerFile(first);
    f.Find<QAction>("MiFileSaveAs")->trigger();
    host.AnswerFile(first);
    f.Find<QAction>("MiFileOpen")->trigger();
    host.AnswerFile(second);
    f.Find<QAction>("MiFileSaveAs")->trigger();
    for (std::size_t i = messages; i < host.Messages.size(); ++i) {
        // Only the question about characters CP932 cannot hold may come up.
        QVERIFY2(host.Messages[i].Buttons == MessageButtons::YesNo, host.Messages[i].Text.c_str());
    }
    QVERIFY(std::filesystem::exists(first));
    QVERIFY(std::filesystem::exists(second));
    QCOMPARE(ReadBytes(second), ReadBytes(first));
    QCOMPARE(monkey.Mismatch(), QString());
}

QTEST_MAIN(WindowMonkeyTest)
#include "window_monkey_test.moc"
