// Mirroring the core into the widgets. The core says what changed through the
// session's change listener; each kind of change refreshes the controls that show it, with
// the widgets' own change signals held back so nothing echoes into the core.

#include "model/catalogue.h"
#include "model/long_text.h"
#include "ui/font_colour_dialog.h"
#include "ui/order_list.h"
#include "ui/read_me_form.h"
#include "ui/text_convert.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QTabWidget>
#include <QTextCursor>

#include <algorithm>

namespace kelvaro::ui {
namespace {

class Showing {
public:
    explicit Showing(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
    ~Showing() { flag_ = previous_; }
    Showing(const Showing&) = delete;
    Showing& operator=(const Showing&) = delete;

private:
    bool& flag_;
    bool previous_;
};

void SetText(QLineEdit* box, const std::string& text) {
    const QString value = ToQt(text);
    if (box->text() != value) {
        box->setText(value);
        // Show the beginning of a long value, as a fresh box does.
        box->setCursorPosition(0);
    }
}

void SetCheck(QCheckBox* box, int value) {
    box->setTristate(value == 2);
    box->setCheckState(value == 1   ? Qt::Checked
                       : value == 2 ? Qt::PartiallyChecked
                                    : Qt::Unchecked);
}

// Selects option `id` of an exclusive group, or none when the value is outside it.
void SetOption(QButtonGroup* group, int id) {
    QAbstractButton* button = group->button(id);
    if (button != nullptr) {
        button->setChecked(true);
        return;
    }
    group->setExclusive(false);
    for (QAbstractButton* each : group->buttons()) {
        each->setChecked(false);
    }
    group->setExclusive(true);
}

void SetBold(QWidget* widget, bool bold) {
    if (widget == nullptr) {
        return; // on a page not filled yet
    }
    QFont font = widget->font();
    if (font.bold() != bold) {
        font.setBold(bold);
        widget->setFont(font);
    }
}

} // namespace

void ReadMeForm::OnChanged(Change what) {
    switch (what) {
    case Change::Form:
        ShowForm();
        break;
    case Change::Order:
        ShowOrder();
        break;
    case Change::Emphasis:
        ShowEmphasis();
        break;
    case Change::LongText:
        ShowLongText();
        break;
    case Change::Preview:
        ShowPreview();
        break;
    case Change::Fonts:
        ShowFonts();
        break;
    case Change::Templates:
        ShowTemplates();
        break;
    case Change::Information:
        ShowInformation();
        break;
    case Change::Title:
        ShowTitle();
        break;
    }
}

void ReadMeForm::ShowForm() {
    Showing showing(showing_);
    const Form& form = session_.ws.form;
    // Controls of pages not filled yet are null; they are shown when filled.
    for (auto [box, field] : TextFields()) {
        if (box != nullptr) {
            SetText(box, *field);
        }
    }
    for (auto [box, field] : CheckFields()) {
        if (box != nullptr) {
            SetCheck(box, *field);
        }
    }
    for (std::size_t i = 0; i < w_.ComboTopics.size(); ++i) {
        QComboBox* combo = w_.ComboTopics[i];
        const QString value = ToQt(form.ChoiceValues[i]);
        // The list position follows the text: a text that is no suggestion
        // (the placeholder) has none, so Down goes to the first suggestion.
        const int index = combo->findText(value);
        if (combo->currentIndex() != index) {
            combo->setCurrentIndex(index);
        }
        if (combo->currentText() != value) {
            combo->setEditText(value);
            combo->lineEdit()->setCursorPosition(0);
        }
    }
    w_.ComboSize->setCurrentIndex(
        form.SizeUnit >= 0 && form.SizeUnit < w_.ComboSize->count() ? form.SizeUnit : -1);
    for (std::size_t i = 0; i < w_.TopicsAdd.size(); ++i) {
        if (w_.TopicsAdd[i] != nullptr) {
            SetText(w_.TopicsAdd[i], form.UserNames[i]);
        }
    }
    if (w_.OptTopicsHTMLGroup != nullptr) {
        SetOption(w_.OptTopicsHTMLGroup, form.HtmlBackgroundMode);
    }
    if (w_.OptPreviewModeGroup != nullptr) {
        SetOption(w_.OptPreviewModeGroup, PreviewOption(session_));
    }

    // New and start-up go back to the first page.
    const int page = static_cast<int>(session_.CurrentPage);
    if (w_.TabSheet->currentIndex() != page) {
        w_.TabSheet->setCurrentIndex(page);
    }
}

void ReadMeForm::ShowOrder() {
    Showing showing(showing_);
    const auto& order = session_.ws.form.Order;
    QListWidget* list = w_.SortList;
    if (list == nullptr) {
        return;
    }
    list->setUpdatesEnabled(false);
    // Rows are reused: an order of many entries is not rebuilt on every move.
    while (list->count() > static_cast<int>(order.size())) {
        delete list->takeItem(list->count() - 1);
    }
    while (list->count() < static_cast<int>(order.size())) {
        auto* item = new QListWidgetItem(list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
                       Qt::ItemIsDragEnabled);
        item->setCheckState(Qt::Unchecked); // every entry shows its box, checked or not
    }
    for (std::size_t i = 0; i < order.size(); ++i) {
        QListWidgetItem* item = list->item(static_cast<int>(i));
        const QString text = ToQt(order[i].Text);
        if (item->text() != text) {
            item->setText(text);
        }
        const Qt::CheckState state = order[i].Checked ? Qt::Checked : Qt::Unchecked;
        if (item->checkState() != state) {
            item->setCheckState(state);
        }
    }
    const int selected = session_.ws.Selected;
    list->setCurrentRow(selected >= 0 && selected < list->count() ? selected : -1);
    if (list->currentItem() != nullptr) {
        list->scrollToItem(list->currentItem());
    }
    list->setUpdatesEnabled(true);
}

void ReadMeForm::ShowEmphasis() {
    Showing showing(showing_);
    const Workspace& ws = session_.ws;
    if (w_.OptTopicsOptionBold[0] != nullptr) {
        w_.OptTopicsOptionBold[ws.EmphasisEnabled ? 0 : 1]->setChecked(true);
    }
    for (const CatalogueItem& item : Catalogue()) {
        if (item.EmphasisIndex < 0 || item.ControlIndex < 0) {
            continue;
        }
        const bool bold = ws.ItemEmphasis[static_cast<std::size_t>(item.EmphasisIndex)];
        const auto index = static_cast<std::size_t>(item.ControlIndex);
        switch (item.Control) {
        case EmphasisControl::LineLabel:
            SetBold(w_.TopicsLine[index], bold);
            break;
        case EmphasisControl::UserName:
            SetBold(w_.TopicsAdd[index], bold);
            break;
        case EmphasisControl::LongOption:
            SetBold(w_.OptTopics[index], bold);
            break;
        case EmphasisControl::None:
            break;
        }
    }
}

void ReadMeForm::ShowLongText() {
    Showing showing(showing_);
    const Workspace& ws = session_.ws;
    if (w_.Description == nullptr) {
        return;
    }
    if (ws.CurrentLongItem >= 0 && ws.CurrentLongItem < static_cast<int>(w_.OptTopics.size())) {
        w_.OptTopics[static_cast<std::size_t>(ws.CurrentLongItem)]->setChecked(true);
    }
    const QString text = ToBoxText(ws.EditorText);
    if (loadingTemplate_) {
        // A loaded template replaces the text through the box's own undo
        // history, so Ctrl+Z brings back what the user had written.
        QTextCursor cursor = w_.Description->textCursor();
        cursor.beginEditBlock();
        cursor.select(QTextCursor::Document);
        cursor.insertText(text);
        cursor.endEditBlock();
        cursor.movePosition(QTextCursor::Start);
        w_.Description->setTextCursor(cursor);
    } else {
        // Another item's text, a new or opened form: a fresh history.
        w_.Description->setPlainText(text);
    }
    editorDirty_ = false;
}

void ReadMeForm::PullEditor() {
    if (editorDirty_ && w_.Description != nullptr) {
        session_.ws.EditorText = FromBoxText(w_.Description->toPlainText());
        editorDirty_ = false;
    }
}

void ReadMeForm::ShowPreview() {
    Showing showing(showing_);
    if (w_.PreviewText == nullptr) {
        return;
    }
    SetOption(w_.OptPreviewModeGroup, PreviewOption(session_));
    w_.PreviewText->setPlainText(ToBoxText(session_.PreviewText));
}

void ReadMeForm::ShowFonts() {
    const QFont font = ToQFont(session_.BoxFont.Font);
    for (QPlainTextEdit* box : {w_.Description, w_.PreviewText, w_.TemplateText}) {
        if (box != nullptr) {
            box->setFont(font);
        }
    }
    PaintBoxes();
}

void ReadMeForm::PaintBoxes() {
    const bool themeText = UsesThemeTextColour(session_.BoxFont);
    const QColor picked = ToQColor(session_.BoxFont.TextColour);
    const QColor face = palette().color(QPalette::Button);
    for (QPlainTextEdit* box :
         {w_.Description, w_.PreviewText, w_.TemplateText, w_.TopicsOptionInfo}) {
        if (box == nullptr) {
            continue; // a page not built yet takes its colours when it is
        }
        // Only the roles set here are the box's own; every other colour, the
        // text's while it is the default, comes from the theme and follows it.
        QPalette own;
        if (box->isReadOnly()) {
            own.setColor(QPalette::Base, face);
        }
        if (!themeText && box != w_.TopicsOptionInfo) {
            own.setColor(QPalette::Text, picked);
        }
        box->setPalette(own);
    }
}

void ReadMeForm::ShowTemplates() {
    Showing showing(showing_);
    QListWidget* list = w_.TemplateList;
    if (list == nullptr) {
        return;
    }
    const auto& names = session_.TemplateList;
    bool same = list->count() == static_cast<int>(names.size());
    for (int i = 0; same && i < list->count(); ++i) {
        same = list->item(i)->text() == ToQt(names[static_cast<std::size_t>(i)]);
    }
    if (!same) {
        list->clear();
        for (std::size_t i = 0; i < names.size(); ++i) {
            auto* item = new QListWidgetItem(ToQt(names[i]), list);
            item->setData(Qt::UserRole, static_cast<int>(i));
        }
        // Every name whole: the list is at least as wide as the longest, up to
        // half the screen (a longer one scrolls).
        const int scrollBar = list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
        const int wanted = list->sizeHintForColumn(0) + 2 * list->frameWidth() + scrollBar;
        const int most = screen() != nullptr ? screen()->availableGeometry().width() / 2 : wanted;
        list->setMinimumWidth(std::min(wanted, most));
    }
    w_.TemplateText->setPlainText(ToBoxText(session_.TemplateText));
}

void ReadMeForm::ShowInformation() {
    if (w_.TopicsOptionInfo == nullptr) {
        return;
    }
    w_.TopicsOptionInfo->setPlainText(ToBoxText(session_.InformationText));
}

void ReadMeForm::ShowTitle() {
    setWindowTitle(ToQt(session_.WindowTitle));
}

} // namespace kelvaro::ui
