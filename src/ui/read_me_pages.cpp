// Building the window: the menu bar and the eight pages, with every control's
// caption and name. Nothing here reacts to anything; read_me_form.cpp connects
// the events and read_me_mirror.cpp fills the controls from the core.

#include "model/catalogue.h"
#include "ui/order_list.h"
#include "ui/read_me_form.h"
#include "ui/text_convert.h"

#include <QAbstractItemView>
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyleOptionFrame>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace kelvaro::ui {
namespace {

// The client area the window was designed at, in pixels at 96 dpi.
constexpr int kDesignWidth = 472;
constexpr int kDesignHeight = 352;
// The font of the three large text boxes and the information box.
constexpr const char* kBoxFontFamily = "ＭＳ ゴシック";

template <typename W> W* Named(W* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

QString Indexed(const char* name, int index) {
    return QString::fromLatin1(name) + QLatin1Char('_') + QString::number(index);
}

QLabel* Label(const QString& caption, const QString& name, QWidget* parent) {
    return Named(new QLabel(caption, parent), name);
}

QPushButton* Button(const QString& caption, const QString& name, QWidget* parent) {
    return Named(new QPushButton(caption, parent), name);
}

QLineEdit* LineEdit(const QString& name, QWidget* parent) {
    return Named(new QLineEdit(parent), name);
}

QCheckBox* CheckBox(const QString& caption, const QString& name, QWidget* parent) {
    return Named(new QCheckBox(caption, parent), name);
}

QRadioButton* Radio(const QString& caption, const QString& name, QWidget* parent) {
    return Named(new QRadioButton(caption, parent), name);
}

// A large text box: scroll bars, the box font, no line wrapping so lines read
// as they will stand in the ReadMe.
QPlainTextEdit* TextBox(const QString& name, bool readOnly, QWidget* parent) {
    auto* box = Named(new QPlainTextEdit(parent), name);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setFont(QFont(QString::fromUtf8(kBoxFontFamily), 9));
    box->setReadOnly(readOnly);
    if (readOnly) {
        QPalette palette = box->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Button));
        box->setPalette(palette);
    }
    return box;
}

// The width a line edit needs to show `text` whole, drawn bold as emphasis
// may draw it: the text, the cursor after it and the box's own margins.
int WidthToShow(QLineEdit* box, const QString& text) {
    box->ensurePolished();
    QFont bold = box->font();
    bold.setBold(true);
    constexpr int kInnerMargin = 2; // each side, inside Qt's line edits
    const QMargins margins = box->textMargins() + box->contentsMargins();
    const int inner = QFontMetrics(bold).horizontalAdvance(text) + 1 + 2 * kInnerMargin +
                      margins.left() + margins.right();
    QStyleOptionFrame option;
    option.initFrom(box);
    option.lineWidth = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box);
    option.state |= QStyle::State_Sunken;
    return box->style()
        ->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(inner, box->sizeHint().height()),
                           box)
        .width();
}

// A user item's name box shows the whole default name ("ユーザー入力可能1"),
// so the items can be told apart before the user names them.
void FitDefaultName(QLineEdit* box, int userIndex) {
    const QString name = ToQt(UserInputPlaceholder) + QString::number(userIndex + 1);
    box->setMinimumWidth(WidthToShow(box, name));
}

// A choice box: wide enough for the placeholder, and its suggestion list
// opens as wide as its longest suggestion, wider than the box if need be, so
// long entries that differ only at their end can be told apart.
class SuggestionBox : public QComboBox {
public:
    explicit SuggestionBox(QWidget* parent) : QComboBox(parent) {}

    void showPopup() override {
        QAbstractItemView* list = view();
        list->ensurePolished();
        const int scrollBar =
            count() > maxVisibleItems()
                ? list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list)
                : 0;
        list->setMinimumWidth(list->sizeHintForColumn(0) + 2 * list->frameWidth() + scrollBar);
        QComboBox::showPopup();
    }
};

QVBoxLayout* PageLayout(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    return layout;
}

} // namespace

void ReadMeForm::BuildMenus() {
    QMenuBar* bar = menuBar();
    auto action = [this](QMenu* menu, const char* caption, const char* name) {
        QAction* a = menu->addAction(QString::fromUtf8(caption));
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    auto separator = [](QMenu* menu, const char* name) {
        menu->addSeparator()->setObjectName(QString::fromLatin1(name));
    };

    QMenu* file = Named(bar->addMenu(QStringLiteral("ファイル(&F)")), QStringLiteral("MeFile"));
    w_.MiFileNew = action(file, "フォームの新規作成(&N)", "MiFileNew");
    w_.MiFileNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    w_.MiFileOpen = action(file, "フォームを開く(&O)", "MiFileOpen");
    w_.MiFileOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    w_.MiFileSave = action(file, "フォームを上書き保存(&S)", "MiFileSave");
    // Ctrl+S has always been "save as": users reach for it to save under a new name.
    w_.MiFileSaveAs = action(file, "フォームを名前をつけて保存(&A)", "MiFileSaveAs");
    w_.MiFileSaveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    separator(file, "MiFileLine1");
    QMenu* readMe =
        Named(file->addMenu(QStringLiteral("ReadMe出力(&R)")), QStringLiteral("MiReadMe"));
    w_.MiReadMeText = action(readMe, "Textファイルで出力(&T)", "MiReadMeText");
    w_.MiReadMeHTML = action(readMe, "HTMLファイルで出力(&H)", "MiReadMeHTML");
    w_.MiReadMeMarkdown = action(readMe, "Markdownファイルで出力(&M)", "MiReadMeMarkdown");
    separator(readMe, "MiFileLine2");
    w_.MiReadMeTextClipboard =
        action(readMe, "Text形式でクリップボードに出力(&C)", "MiReadMeTextClipboard");
    w_.MiReadMeHTMLClipboard =
        action(readMe, "HTML形式でクリップボードに出力(&C)", "MiReadMeHTMLClipboard");
    w_.MiReadMeMarkdownClipboard =
        action(readMe, "Markdown形式でクリップボードに出力", "MiReadMeMarkdownClipboard");
    separator(file, "MiFileLine3");
    w_.MiExit = action(file, "アプリケーションの終了(&X)", "MiExit");
    w_.MiExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* help = Named(bar->addMenu(QStringLiteral("ヘルプ(&H)")), QStringLiteral("MeHelp"));
    w_.MiHelpFile = action(help, "ヘルプファイルを開く(&H)", "MiHelpFile");
    w_.MiHelpFile->setShortcut(QKeySequence(Qt::Key_F1));
    w_.MiHelpFile->setEnabled(false);
    separator(help, "MiHelpLine1");
    w_.MiOnlineHelpPage = action(help, "オンラインヘルプ(&O)", "MiOnlineHelpPage");
    w_.MiOnlineDevelopmentPage = action(help, "開発元ホームページ(&P)", "MiOnlineDevelopmentPage");
    separator(help, "MiHelpLine2");
    w_.MiGetVersionInfo = action(help, "バージョン情報(&V)", "MiGetVersionInfo");
}

void ReadMeForm::BuildPages() {
    w_.TabSheet = Named(new QTabWidget(this), QStringLiteral("TabSheet"));
    // Never scroll arrows over the captions nor shortened captions: a larger
    // font or scale makes the window wider instead. The tabs are drawn and
    // measured by the desktop's own style, so their captions fit it.
    w_.TabSheet->tabBar()->setUsesScrollButtons(false);
    w_.TabSheet->tabBar()->setElideMode(Qt::ElideNone);
    const std::array<const char*, PageCount> captions{
        "１行項目", "長文項目", "項目順序", "その他", "HTML", "ﾌﾟﾚﾋﾞｭｰ", "ｵﾌﾟｼｮﾝ", "ﾃﾝﾌﾟﾚｰﾄﾋﾞｭｰｱ"};
    for (std::size_t n = 0; n < PageCount; ++n) {
        auto* page = new QWidget;
        page->setObjectName(Indexed("TabPage", static_cast<int>(n) + 1));
        w_.TabPage[n] = page;
        w_.TabSheet->addTab(page, QString::fromUtf8(captions[n]));
    }
    setCentralWidget(w_.TabSheet);
    // Only the first page is filled before the window is first shown; the
    // others are filled when first shown, or in the idle time after the first
    // frame (EnsurePage).
    EnsurePage(0);
}

bool ReadMeForm::EnsurePage(std::size_t n) {
    if (n >= PageCount || pageBuilt_[n]) {
        return false;
    }
    pageBuilt_[n] = true;
    static constexpr std::array<void (ReadMeForm::*)(QWidget*), PageCount> builders{
        &ReadMeForm::BuildLinesPage,   &ReadMeForm::BuildLongTextsPage,
        &ReadMeForm::BuildOrderPage,   &ReadMeForm::BuildOtherPage,
        &ReadMeForm::BuildHtmlPage,    &ReadMeForm::BuildPreviewPage,
        &ReadMeForm::BuildOptionsPage, &ReadMeForm::BuildTemplateViewerPage};
    (this->*builders[n])(w_.TabPage[n]);
    return true;
}

void ReadMeForm::BuildLinesPage(QWidget* page) {
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);

    // Two columns of label and value, the way the items are usually filled in:
    // the software itself on the left, its requirements and contacts on the right.
    int leftRow = 0;
    int rightRow = 0;
    for (const CatalogueItem& item : Catalogue()) {
        const bool single = item.Kind == ItemKind::SingleLine ||
                            item.Kind == ItemKind::SizeWithUnit || item.Kind == ItemKind::Choice;
        if (!single && item.Kind != ItemKind::UserSingleLine) {
            continue;
        }
        const bool left =
            item.Kind == ItemKind::UserSingleLine ? item.UserIndex == 0 : item.ControlIndex < 8;
        const int row = left ? leftRow++ : rightRow++;
        const int column = left ? 0 : 2;

        QWidget* name = nullptr;
        if (item.Kind == ItemKind::UserSingleLine) {
            auto* box = LineEdit(Indexed("TopicsAdd", item.UserIndex), page);
            // The name box takes the width of the labels above it, and as much
            // more as its default name needs.
            box->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
            FitDefaultName(box, item.UserIndex);
            // A box whose width hint the layout ignores does not widen its
            // column by itself.
            grid->setColumnMinimumWidth(column, box->minimumWidth());
            w_.TopicsAdd[static_cast<std::size_t>(item.UserIndex)] = box;
            name = box;
        } else {
            auto* label = Label(ToQt(item.Key), Indexed("TopicsLine", item.ControlIndex), page);
            w_.TopicsLine[static_cast<std::size_t>(item.ControlIndex)] = label;
            name = label;
        }

        QWidget* value = nullptr;
        if (item.Kind == ItemKind::Choice) {
            auto* combo = Named(new SuggestionBox(page), Indexed("ComboTopics", item.Slot));
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            // No inline completion: what the user types is what the ReadMe says.
            combo->setCompleter(nullptr);
            // The box is as wide as the column allows and never so narrow that
            // the placeholder is cut; the list opens as wide as its longest entry.
            combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
            const QFontMetrics metrics(combo->font());
            const int letter = std::max(1, metrics.horizontalAdvance(QLatin1Char('X')));
            combo->setMinimumContentsLength(
                (metrics.horizontalAdvance(ToQt(UserInputPlaceholder)) + 2 + letter - 1) / letter);
            for (std::string_view entry : ChoiceSuggestions(item.Slot)) {
                combo->addItem(ToQt(entry));
            }
            w_.ComboTopics[static_cast<std::size_t>(item.Slot)] = combo;
            value = combo;
        } else {
            auto* box = LineEdit(Indexed("TopicsLineText", item.Slot), page);
            w_.TopicsLineText[static_cast<std::size_t>(item.Slot)] = box;
            value = box;
        }

        if (auto* label = qobject_cast<QLabel*>(name)) {
            label->setBuddy(value);
        }
        grid->addWidget(name, row, column);
        if (item.Kind == ItemKind::SizeWithUnit || item.Key == "作成日") {
            auto* row_box = new QHBoxLayout;
            row_box->setSpacing(3);
            row_box->addWidget(value, 1);
            if (item.Kind == ItemKind::SizeWithUnit) {
                w_.ComboSize = Named(new SuggestionBox(page), QStringLiteral("ComboSize"));
                for (std::string_view unit : SizeUnitList()) {
                    w_.ComboSize->addItem(ToQt(unit));
                }
                row_box->addWidget(w_.ComboSize);
            } else {
                w_.CmdGetToday =
                    Button(QStringLiteral("≪今日の日付"), QStringLiteral("CmdGetToday"), page);
                row_box->addWidget(w_.CmdGetToday);
            }
            grid->addLayout(row_box, row, column + 1);
        } else {
            grid->addWidget(value, row, column + 1);
        }
    }
    // The left values hold the date beside its button; the right ones are
    // combo boxes that need less.
    grid->setColumnStretch(1, 4);
    grid->setColumnStretch(3, 3);
    grid->setRowStretch(std::max(leftRow, rightRow), 1);
}

void ReadMeForm::BuildLongTextsPage(QWidget* page) {
    auto* layout = PageLayout(page);

    w_.TopicsFrame =
        Named(new QGroupBox(QStringLiteral("長文項目"), page), QStringLiteral("TopicsFrame"));
    auto* grid = new QGridLayout(w_.TopicsFrame);
    grid->setContentsMargins(6, 2, 6, 4);
    grid->setVerticalSpacing(0);
    constexpr int kColumns = 3;
    for (int slot = 0; slot < static_cast<int>(LongTextCount); ++slot) {
        const CatalogueItem* item = LookupItem(LongItemKey(slot));
        const bool user = item->Kind == ItemKind::UserLongText;
        auto* option =
            Radio(user ? QString() : ToQt(item->Key), Indexed("OptTopics", slot), w_.TopicsFrame);
        w_.OptTopics[static_cast<std::size_t>(slot)] = option;
        if (user) {
            // The user-defined items are named in the box beside their option.
            auto* name = LineEdit(Indexed("TopicsAdd", item->UserIndex), w_.TopicsFrame);
            FitDefaultName(name, item->UserIndex);
            w_.TopicsAdd[static_cast<std::size_t>(item->UserIndex)] = name;
            auto* pair = new QHBoxLayout;
            pair->setSpacing(0);
            pair->addWidget(option);
            pair->addWidget(name, 1);
            grid->addLayout(pair, 4, 1 + (item->UserIndex - 2));
        } else {
            grid->addWidget(option, slot / kColumns, slot % kColumns);
        }
    }
    layout->addWidget(w_.TopicsFrame);

    w_.Description = TextBox(QStringLiteral("Description"), false, page);
    layout->addWidget(w_.Description, 1);

    auto* buttons = new QHBoxLayout;
    w_.CmdTemplate[0] =
        Button(QStringLiteral("テンプレートを読み込む"), Indexed("CmdTemplate", 0), page);
    w_.CmdTemplate[1] =
        Button(QStringLiteral("テンプレートとして保存"), Indexed("CmdTemplate", 1), page);
    buttons->addStretch();
    buttons->addWidget(w_.CmdTemplate[0]);
    buttons->addWidget(w_.CmdTemplate[1]);
    layout->addLayout(buttons);
}

void ReadMeForm::BuildOrderPage(QWidget* page) {
    auto* layout = PageLayout(page);
    w_.TopicsSort = Label(QStringLiteral("項目順序の並び替え"), QStringLiteral("TopicsSort"), page);
    layout->addWidget(w_.TopicsSort);

    auto* listRow = new QHBoxLayout;
    w_.SortList = Named(new OrderList(page), QStringLiteral("SortList"));
    w_.SortList->setSelectionMode(QAbstractItemView::SingleSelection);
    w_.SortList->setUniformItemSizes(true);
    listRow->addWidget(w_.SortList, 1);
    auto* moves = new QVBoxLayout;
    w_.CmdListUpDown[0] = Button(QStringLiteral("▲"), Indexed("CmdListUpDown", 0), page);
    w_.CmdListUpDown[1] = Button(QStringLiteral("▼"), Indexed("CmdListUpDown", 1), page);
    moves->addStretch();
    moves->addWidget(w_.CmdListUpDown[0]);
    moves->addWidget(w_.CmdListUpDown[1]);
    moves->addStretch();
    listRow->addLayout(moves);
    layout->addLayout(listRow, 1);

    auto* checks = new QGridLayout;
    const std::array<const char*, 4> captions{"すべてにチェックをつける",
                                              "すべてのチェックをはずす", "すべてのチェックの反転",
                                              "リストをデフォルトに戻す"};
    for (int i = 0; i < 4; ++i) {
        auto* button = Button(QString::fromUtf8(captions[static_cast<std::size_t>(i)]),
                              Indexed("CmdListAllCheck", i), page);
        w_.CmdListAllCheck[static_cast<std::size_t>(i)] = button;
        checks->addWidget(button, i / 2, i % 2);
    }
    layout->addLayout(checks);
    w_.TopicsSortCheckSpace =
        CheckBox(QStringLiteral("空白の項目はチェックがついていても記述しない"),
                 QStringLiteral("TopicsSortCheckSpace"), page);
    layout->addWidget(w_.TopicsSortCheckSpace);
}

void ReadMeForm::BuildOtherPage(QWidget* page) {
    auto* layout = PageLayout(page);
    const std::array<const char*, 5> captions{"区切り線", "を", "回繰り返す", "括弧", "置換"};
    for (int i = 0; i < 5; ++i) {
        w_.TopicsOther[static_cast<std::size_t>(i)] =
            Label(QString::fromUtf8(captions[static_cast<std::size_t>(i)]),
                  Indexed("TopicsOther", i), page);
    }
    w_.TopicsOtherPauseChar = LineEdit(QStringLiteral("TopicsOtherPauseChar"), page);
    w_.TopicsOtherPauseNum = LineEdit(QStringLiteral("TopicsOtherPauseNum"), page);
    w_.TopicsOtherLeftChar = LineEdit(QStringLiteral("TopicsOtherLeftChar"), page);
    w_.TopicsOtherRightChar = LineEdit(QStringLiteral("TopicsOtherRightChar"), page);
    w_.CmdGetPauseNum =
        Button(QStringLiteral("記号から適切な回数を取得"), QStringLiteral("CmdGetPauseNum"), page);
    w_.TopicsOtherCheckChange = CheckBox(QStringLiteral("置換文字列を利用する"),
                                         QStringLiteral("TopicsOtherCheckChange"), page);
    w_.TopicsOtherCheckUserInput =
        CheckBox(QStringLiteral("「ユーザー入力可能」 は 「」 (何も書かない) に置き換える"),
                 QStringLiteral("TopicsOtherCheckUserInput"), page);

    // Read along the first row: 区切り線 [characters] を [count] 回繰り返す.
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->addWidget(w_.TopicsOther[0], 0, 0);
    auto* pauseRow = new QHBoxLayout;
    pauseRow->addWidget(w_.TopicsOtherPauseChar, 3);
    pauseRow->addWidget(w_.TopicsOther[1]);
    pauseRow->addWidget(w_.TopicsOtherPauseNum, 1);
    pauseRow->addWidget(w_.TopicsOther[2]);
    grid->addLayout(pauseRow, 0, 1);
    auto* assistRow = new QHBoxLayout;
    assistRow->addStretch();
    assistRow->addWidget(w_.CmdGetPauseNum);
    grid->addLayout(assistRow, 1, 1);
    grid->addWidget(w_.TopicsOther[3], 2, 0);
    auto* bracketRow = new QHBoxLayout;
    bracketRow->addWidget(w_.TopicsOtherLeftChar, 1);
    bracketRow->addWidget(w_.TopicsOtherRightChar, 1);
    bracketRow->addStretch(2);
    grid->addLayout(bracketRow, 2, 1);
    grid->addWidget(w_.TopicsOther[4], 3, 0);
    grid->addWidget(w_.TopicsOtherCheckChange, 3, 1);
    grid->addWidget(w_.TopicsOtherCheckUserInput, 4, 1);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    layout->addStretch();
}

void ReadMeForm::BuildHtmlPage(QWidget* page) {
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setVerticalSpacing(3);
    const std::array<const char*, 3> sections{"背景", "色設定 (StyleSheet)", "その他"};
    for (int i = 0; i < 3; ++i) {
        w_.TopicsHTML[static_cast<std::size_t>(i)] =
            Label(QString::fromUtf8(sections[static_cast<std::size_t>(i)]),
                  Indexed("TopicsHTML", i), page);
    }
    for (int i = 0; i < static_cast<int>(HtmlSettingCount); ++i) {
        w_.TopicsHTMLInput[static_cast<std::size_t>(i)] =
            LineEdit(Indexed("TopicsHTMLInput", i), page);
    }

    w_.OptTopicsHTMLGroup = new QButtonGroup(page);
    const std::array<const char*, 2> backgrounds{"背景色を使用する", "背景画像を使用する"};
    auto* backgroundRow = new QHBoxLayout;
    for (int i = 0; i < 2; ++i) {
        auto* option = Radio(QString::fromUtf8(backgrounds[static_cast<std::size_t>(i)]),
                             Indexed("OptTopicsHTML", i), page);
        w_.OptTopicsHTML[static_cast<std::size_t>(i)] = option;
        w_.OptTopicsHTMLGroup->addButton(option, i);
        backgroundRow->addWidget(option);
        backgroundRow->addWidget(w_.TopicsHTMLInput[static_cast<std::size_t>(i)], 1);
    }
    int row = 0;
    grid->addWidget(w_.TopicsHTML[0], row, 0, 1, 3);
    ++row;
    grid->addLayout(backgroundRow, row, 1, 1, 2);

    ++row;
    grid->addWidget(w_.TopicsHTML[1], row, 0, 1, 3);
    const std::array<const char*, 7> colours{"Link", "Active Link", "Visited Link", "Hover Link",
                                             "BODY", "区切り線",    "括弧項目"};
    // The seven style settings follow the two background settings in order.
    for (int i = 0; i < static_cast<int>(colours.size()); ++i) {
        auto* label = Label(QString::fromUtf8(colours[static_cast<std::size_t>(i)]),
                            Indexed("TopicsHTMLColor", i), page);
        w_.TopicsHTMLColor[static_cast<std::size_t>(i)] = label;
        QLineEdit* input = w_.TopicsHTMLInput[HtmlSetting::LinkStyle + static_cast<std::size_t>(i)];
        label->setBuddy(input);
        ++row;
        grid->addWidget(label, row, 1);
        grid->addWidget(input, row, 2);
    }

    ++row;
    w_.TopicsHTMLCheckHR = CheckBox(QStringLiteral("区切り線は<HR>タグで代用"),
                                    QStringLiteral("TopicsHTMLCheckHR"), page);
    w_.CmdDefaultHTML = Button(QStringLiteral("HTML設定をデフォルトに戻す"),
                               QStringLiteral("CmdDefaultHTML"), page);
    auto* otherRow = new QHBoxLayout;
    otherRow->addWidget(w_.TopicsHTML[2]);
    otherRow->addSpacing(6);
    otherRow->addWidget(w_.TopicsHTMLCheckHR);
    otherRow->addStretch();
    otherRow->addWidget(w_.CmdDefaultHTML);
    grid->addLayout(otherRow, row, 0, 1, 3);
    grid->setColumnMinimumWidth(0, 8);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(row + 1, 1);
}

void ReadMeForm::BuildPreviewPage(QWidget* page) {
    auto* layout = PageLayout(page);
    auto* modes = new QHBoxLayout;
    w_.TopicsPreview[0] = Label(QStringLiteral("プレビュー"), Indexed("TopicsPreview", 0), page);
    modes->addWidget(w_.TopicsPreview[0]);
    modes->addSpacing(12);
    w_.OptPreviewModeGroup = new QButtonGroup(page);
    // The form's three preview modes, then Markdown, which form files do not store.
    const std::array<const char*, PreviewOptionCount> captions{"Text", "HTML(Text)",
                                                               "HTML(Browser)", "Markdown"};
    for (int i = 0; i < static_cast<int>(PreviewOptionCount); ++i) {
        auto* option = Radio(QString::fromUtf8(captions[static_cast<std::size_t>(i)]),
                             Indexed("OptPreviewMode", i), page);
        w_.OptPreviewMode[static_cast<std::size_t>(i)] = option;
        w_.OptPreviewModeGroup->addButton(option, i);
        modes->addWidget(option);
    }
    modes->addStretch();
    layout->addLayout(modes);
    w_.PreviewText = TextBox(QStringLiteral("PreviewText"), true, page);
    layout->addWidget(w_.PreviewText, 1);
}

void ReadMeForm::BuildOptionsPage(QWidget* page) {
    auto* layout = PageLayout(page);
    const std::array<const char*, 3> captions{
        "入力補助", "長文項目 ・ ﾌﾟﾚﾋﾞｭｰ ・ ﾃﾝﾌﾟﾚｰﾄﾋﾞｭｰｱ のフォント指定", "各種情報取得"};
    for (int i = 0; i < 3; ++i) {
        w_.TopicsOption[static_cast<std::size_t>(i)] =
            Label(QString::fromUtf8(captions[static_cast<std::size_t>(i)]),
                  Indexed("TopicsOption", i), page);
    }

    layout->addWidget(w_.TopicsOption[0]);
    const std::array<const char*, 2> bold{"チェックがついている項目の名前を強調表示",
                                          "強調表示を利用しない"};
    auto* boldGroup = new QButtonGroup(page);
    for (int i = 0; i < 2; ++i) {
        auto* option = Radio(QString::fromUtf8(bold[static_cast<std::size_t>(i)]),
                             Indexed("OptTopicsOptionBold", i), page);
        w_.OptTopicsOptionBold[static_cast<std::size_t>(i)] = option;
        boldGroup->addButton(option, i);
        auto* indented = new QHBoxLayout;
        indented->addSpacing(12);
        indented->addWidget(option);
        layout->addLayout(indented);
    }

    layout->addWidget(w_.TopicsOption[1]);
    auto* fonts = new QHBoxLayout;
    fonts->addSpacing(12);
    w_.CmdFontSelect[0] =
        Button(QStringLiteral("フォントを変更する"), Indexed("CmdFontSelect", 0), page);
    w_.CmdFontSelect[1] =
        Button(QStringLiteral("デフォルトのフォント"), Indexed("CmdFontSelect", 1), page);
    fonts->addWidget(w_.CmdFontSelect[0]);
    fonts->addWidget(w_.CmdFontSelect[1]);
    fonts->addStretch();
    layout->addLayout(fonts);

    auto* infoRow = new QHBoxLayout;
    infoRow->addWidget(w_.TopicsOption[2]);
    infoRow->addStretch();
    w_.CmdGetInformation =
        Button(QStringLiteral("情報取得"), QStringLiteral("CmdGetInformation"), page);
    infoRow->addWidget(w_.CmdGetInformation);
    layout->addLayout(infoRow);
    w_.TopicsOptionInfo = TextBox(QStringLiteral("TopicsOptionInfo"), true, page);
    layout->addWidget(w_.TopicsOptionInfo, 1);
}

void ReadMeForm::BuildTemplateViewerPage(QWidget* page) {
    auto* layout = PageLayout(page);
    auto* top = new QHBoxLayout;
    w_.TopicsTemplate =
        Label(QStringLiteral("テンプレートビューア"), QStringLiteral("TopicsTemplate"), page);
    w_.CmdLoadTemplate =
        Button(QStringLiteral("テンプレートの読み込み"), QStringLiteral("CmdLoadTemplate"), page);
    top->addWidget(w_.TopicsTemplate);
    top->addStretch();
    top->addWidget(w_.CmdLoadTemplate);
    layout->addLayout(top);

    auto* body = new QHBoxLayout;
    w_.TemplateList = Named(new QListWidget(page), QStringLiteral("TemplateList"));
    w_.TemplateList->setSelectionMode(QAbstractItemView::SingleSelection);
    // The list grows with the window and is never narrower than its longest
    // name (see ShowTemplates): names like "アンインストール方法(…)" differ
    // only at their end.
    body->addWidget(w_.TemplateList, 1);
    w_.TemplateText = TextBox(QStringLiteral("TemplateText"), true, page);
    body->addWidget(w_.TemplateText, 1);
    layout->addLayout(body, 1);
}

void ReadMeForm::SizeToDesign() {
    // The design size is in pixels at 96 dpi; a screen with a larger logical
    // resolution gets a proportionally larger window.
    const qreal scale = logicalDpiY() > 0 ? logicalDpiY() / 96.0 : 1.0;
    const QSize client(qRound(kDesignWidth * scale), qRound(kDesignHeight * scale));
    const int menuHeight = menuBar()->sizeHint().height();
    // Fonts or captions larger than the design's make the window larger, so
    // that nothing is cut.
    resize(QSize(client.width(), client.height() + menuHeight).expandedTo(minimumSizeHint()));
}

} // namespace kelvaro::ui
