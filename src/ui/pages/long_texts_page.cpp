// Page 2, 長文項目: the long-text items as options, the last two user items'
// names beside theirs, the one editor for the chosen item, and the template
// buttons. The editor's text reaches the core only when a command needs it,
// so a keystroke in a long text costs nothing.

#include "model/catalogue.h"
#include "session/edits.h"
#include "templates/template_files.h"
#include "ui/font_colour_dialog.h"
#include "ui/pages/page.h"
#include "ui/pages/page_kit.h"
#include "ui/text_convert.h"
#include "window/buttons.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTextCursor>

#include <array>

namespace kelvaro::ui {
namespace {

// The user items named on this page: the last two.
constexpr std::size_t kFirstNameHere = 2;
constexpr std::size_t kNamesHere = UserNameCount - kFirstNameHere;

class LongTextsPage : public FormPage {
public:
    LongTextsPage(QWidget* tab, PageContext& context) : FormPage(tab, context) {
        Build();
        Connect();
    }

    void Refresh(Change what) override;
    void TakeTyping() override;
    void ThemeChanged() override { PaintBox(editor_, session().BoxFont, true); }

private:
    void Build();
    void Connect();
    void ShowLongText();
    QString EditorName() const;

    std::array<QRadioButton*, LongTextCount> options_{};
    std::array<QLineEdit*, kNamesHere> names_{};
    QPlainTextEdit* editor_ = nullptr;
    QPushButton* loadTemplate_ = nullptr;
    QPushButton* saveTemplate_ = nullptr;
    bool editorDirty_ = false;
    // True while a template is loaded into the editor: the editor then takes
    // the new text as one step of its undo history.
    bool loadingTemplate_ = false;
};

void LongTextsPage::Build() {
    QWidget* page = tab();
    auto* layout = PageLayout(page);

    auto* frame =
        Named(new QGroupBox(QStringLiteral("長文項目"), page), QStringLiteral("TopicsFrame"));
    auto* grid = new QGridLayout(frame);
    grid->setContentsMargins(6, 2, 6, 4);
    grid->setVerticalSpacing(0);
    constexpr int kColumns = 3;
    for (int slot = 0; slot < static_cast<int>(LongTextCount); ++slot) {
        const CatalogueItem* item = LookupItem(LongItemKey(slot));
        const bool user = item->Kind == ItemKind::UserLongText;
        auto* option = Radio(user ? QString() : ToQt(item->Key), Indexed("OptTopics", slot), frame);
        options_[static_cast<std::size_t>(slot)] = option;
        if (user) {
            // The user-defined items are named in the box beside their option.
            auto* name = UserNameBox(*item, frame);
            names_[static_cast<std::size_t>(item->UserIndex) - kFirstNameHere] = name;
            auto* pair = new QHBoxLayout;
            pair->setSpacing(0);
            pair->addWidget(option);
            pair->addWidget(name, 1);
            grid->addLayout(pair, 4, 1 + (item->UserIndex - 2));
        } else {
            grid->addWidget(option, slot / kColumns, slot % kColumns);
        }
    }
    layout->addWidget(frame);

    editor_ = TextBox(QStringLiteral("Description"), false, page);
    layout->addWidget(editor_, 1);

    auto* buttons = new QHBoxLayout;
    loadTemplate_ = Button(ButtonId::LoadTemplate, page);
    saveTemplate_ = Button(ButtonId::SaveTemplate, page);
    buttons->addStretch();
    buttons->addWidget(loadTemplate_);
    buttons->addWidget(saveTemplate_);
    layout->addLayout(buttons);
}

void LongTextsPage::Connect() {
    for (std::size_t i = 0; i < options_.size(); ++i) {
        // Whenever an item becomes the current option, by mouse or by the arrow
        // keys, the editor stores the old item and shows the new one.
        connect(options_[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on && !showing()) {
                Run([&] { SelectLongItem(session(), static_cast<int>(i)); });
            }
        });
    }
    for (std::size_t i = 0; i < names_.size(); ++i) {
        QLineEdit* box = names_[i];
        connect(box, &QLineEdit::textChanged, this, [this, box, i](const QString& text) {
            if (showing()) {
                return;
            }
            std::string name = SingleLineOf(box, text, showingFlag());
            Run([&] {
                SetUserName(session(), static_cast<int>(i + kFirstNameHere), std::move(name));
            });
            Speak(options_[LongTextCount - kNamesHere + i], box->text());
            Speak(editor_, EditorName());
        });
    }
    connect(editor_, &QPlainTextEdit::textChanged, this, [this] {
        if (!showing()) {
            editorDirty_ = true;
        }
    });
    connect(loadTemplate_, &QPushButton::clicked, this, [this] {
        loadingTemplate_ = true;
        RunOnSession(ButtonOf(ButtonId::LoadTemplate).Command);
        loadingTemplate_ = false;
    });
    connect(saveTemplate_, &QPushButton::clicked, this,
            [this] { RunOnSession(ButtonOf(ButtonId::SaveTemplate).Command); });
    // Ctrl+Y redoes on every desktop, also where the desktop's own keys for
    // redo are only Ctrl+Shift+Z.
    auto* redo = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y), editor_);
    redo->setContext(Qt::WidgetShortcut);
    connect(redo, &QShortcut::activated, editor_, &QPlainTextEdit::redo);
}

void LongTextsPage::Refresh(Change what) {
    const Showing quiet(showingFlag());
    const Workspace& ws = session().ws;
    switch (what) {
    case Change::Form:
        for (std::size_t i = 0; i < names_.size(); ++i) {
            SetText(names_[i], ws.form.UserNames[i + kFirstNameHere]);
            Speak(options_[LongTextCount - kNamesHere + i], names_[i]->text());
        }
        Speak(editor_, EditorName());
        break;
    case Change::Emphasis:
        ForEachEmphasis([this](const CatalogueItem& item, std::size_t index, bool bold) {
            if (item.Control == EmphasisControl::LongOption) {
                SetBold(options_[index], bold);
            } else if (item.Control == EmphasisControl::UserName && index >= kFirstNameHere) {
                SetBold(names_[index - kFirstNameHere], bold);
            }
        });
        break;
    case Change::LongText:
        ShowLongText();
        break;
    case Change::Fonts:
        editor_->setFont(ToQFont(session().BoxFont.Font));
        PaintBox(editor_, session().BoxFont, true);
        break;
    default:
        break;
    }
}

QString LongTextsPage::EditorName() const {
    const int current = session().ws.CurrentLongItem;
    if (current < 0 || current >= static_cast<int>(options_.size())) {
        return QStringLiteral("長文項目");
    }
    QRadioButton* option = options_[static_cast<std::size_t>(current)];
    return WithoutMnemonic(option->text().isEmpty() ? option->accessibleName() : option->text());
}

void LongTextsPage::ShowLongText() {
    const Workspace& ws = session().ws;
    if (ws.CurrentLongItem >= 0 && ws.CurrentLongItem < static_cast<int>(options_.size())) {
        options_[static_cast<std::size_t>(ws.CurrentLongItem)]->setChecked(true);
    }
    Speak(editor_, EditorName());
    const QString text = ToBoxText(ws.EditorText);
    if (loadingTemplate_) {
        // A loaded template replaces the text through the editor's own undo
        // history, so Ctrl+Z brings back what the user had written.
        QTextCursor cursor = editor_->textCursor();
        cursor.beginEditBlock();
        cursor.select(QTextCursor::Document);
        cursor.insertText(text);
        cursor.endEditBlock();
        cursor.movePosition(QTextCursor::Start);
        editor_->setTextCursor(cursor);
    } else {
        // Another item's text, a new or opened form: a fresh history.
        editor_->setPlainText(text);
    }
    editorDirty_ = false;
}

void LongTextsPage::TakeTyping() {
    if (editorDirty_) {
        session().ws.EditorText = FromBoxText(editor_->toPlainText());
        editorDirty_ = false;
        Edited();
    }
}

} // namespace

FormPage* MakeLongTextsPage(QWidget* tab, PageContext& context) {
    return new LongTextsPage(tab, context);
}

} // namespace kelvaro::ui
