// Page 2, 長文項目: the long-text items as options, the last two user items'
// names beside theirs, the one editor for the chosen item, and the template
// buttons. The editor's text reaches the core only when a command needs it,
// so a keystroke in a long text costs nothing.

#include "templates/template_files.h"
#include "ui/pages/page.h"
#include "ui/pages/page_kit.h"
#include "ui/text_convert.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QShortcut>
#include <QTextCursor>
#include <QVBoxLayout>

namespace kelvaro::ui {
namespace {

class LongTextsPage : public FormPage {
public:
    LongTextsPage(QWidget* tab, PageContext& context) : FormPage(tab, context, Page::LongTexts) {
        Arrange();
        Wire();
        Connect();
    }

    void TakeTyping() override;

protected:
    void ShowMore(Change what) override;
    void Clicked(void (*command)(Session&)) override {
        // A loaded template replaces the editor's text as one step of its undo history.
        loadingTemplate_ = command == &LoadTemplate;
        RunOnSession(command);
        loadingTemplate_ = false;
    }
    void UserNamed() override { Speak(editor_, EditorName()); }

private:
    void Arrange();
    void Connect();
    void ShowLongText();
    QString EditorName() const;

    QButtonGroup* options_ = nullptr;
    QPlainTextEdit* editor_ = nullptr;
    // What the editor is called while no item is chosen.
    QString unnamed_;
    bool editorDirty_ = false;
    bool loadingTemplate_ = false;
};

// The frame's options stand in three columns of two cells each; a user item's
// option takes the first cell and its name box the second, side by side.
void LongTextsPage::Arrange() {
    auto* layout = PageLayout(tab());
    QGroupBox* frame = nullptr;
    QGridLayout* grid = nullptr;
    for (std::size_t i = 0; i < description().Controls.size(); ++i) {
        const ControlDescription& c = description().Controls[i];
        QWidget* widget = Control(static_cast<int>(i));
        if (c.Kind == ControlKind::Frame) {
            frame = qobject_cast<QGroupBox*>(widget);
            grid = new QGridLayout(frame);
            grid->setContentsMargins(6, 2, 6, 4);
            grid->setVerticalSpacing(0);
        } else if (grid == nullptr) {
            continue; // the frame comes first
        } else if (c.Kind == ControlKind::Option && c.Place.ColumnSpan == 2) {
            options_ = Group(c.Group);
            grid->addWidget(widget, c.Place.Row, c.Place.Column / 2);
        } else if (c.Kind == ControlKind::Option) {
            auto* pair = new QHBoxLayout;
            pair->setSpacing(0);
            pair->addWidget(widget);
            pair->addWidget(At(c.Place.Row, c.Place.Column + 1), 1);
            grid->addLayout(pair, c.Place.Row, c.Place.Column / 2);
        } else if (c.Kind == ControlKind::TextEditor) {
            editor_ = qobject_cast<QPlainTextEdit*>(widget);
            unnamed_ = ToQt(c.Spoken);
        }
    }
    layout->addWidget(frame);
    layout->addWidget(editor_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    const int last = description().Rows - 1;
    buttons->addWidget(At(last, description().Columns - 2));
    buttons->addWidget(At(last, description().Columns - 1));
    layout->addLayout(buttons);
}

void LongTextsPage::Connect() {
    connect(editor_, &QPlainTextEdit::textChanged, this, [this] {
        if (!showing()) {
            editorDirty_ = true;
        }
    });
    // Ctrl+Y redoes on every desktop, also where the desktop's own keys for
    // redo are only Ctrl+Shift+Z.
    auto* redo = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y), editor_);
    redo->setContext(Qt::WidgetShortcut);
    connect(redo, &QShortcut::activated, editor_, &QPlainTextEdit::redo);
}

void LongTextsPage::ShowMore(Change what) {
    switch (what) {
    case Change::Form:
        Speak(editor_, EditorName());
        break;
    case Change::LongText:
        ShowLongText();
        break;
    default:
        break;
    }
}

// The editor is called after the chosen item: its caption, or for a user
// item what the user named it.
QString LongTextsPage::EditorName() const {
    QAbstractButton* option = options_->button(session().ws.CurrentLongItem);
    if (option == nullptr) {
        return unnamed_;
    }
    return WithoutMnemonic(option->text().isEmpty() ? option->accessibleName() : option->text());
}

void LongTextsPage::ShowLongText() {
    const Workspace& ws = session().ws;
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
