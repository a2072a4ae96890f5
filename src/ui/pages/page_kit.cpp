#include "ui/pages/page_kit.h"

#include "model/catalogue.h"
#include "model/form_fields.h"
#include "ui/order_list.h"
#include "ui/text_convert.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace kelvaro::ui {
namespace {

// The font of the three large text boxes and the information box.
constexpr const char* kBoxFontFamily = "ＭＳ ゴシック";

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

} // namespace

QString Indexed(const char* name, int index) {
    return QString::fromLatin1(name) + QLatin1Char('_') + QString::number(index);
}

QString WithoutMnemonic(const QString& caption) {
    QString plain = caption;
    // "作者名(&A)": the marker and its bracketed letter go; "A&&B" keeps one "&".
    static const QRegularExpression bracketed(QStringLiteral("\\(&[^&]\\)"));
    plain.remove(bracketed);
    QString out;
    for (qsizetype i = 0; i < plain.size(); ++i) {
        if (plain[i] == QLatin1Char('&') && i + 1 < plain.size()) {
            ++i;
        }
        out += plain[i];
    }
    return out;
}

void Speak(QWidget* control, const QString& spoken) {
    control->setAccessibleName(spoken);
    if (auto* choice = qobject_cast<QComboBox*>(control);
        choice != nullptr && choice->isEditable()) {
        choice->lineEdit()->setAccessibleName(spoken);
    }
}

namespace {

// A large text box: scroll bars, the box font, no line wrapping so lines read
// as they will stand in the ReadMe.
QPlainTextEdit* TextBox(bool readOnly, QWidget* parent) {
    auto* box = new QPlainTextEdit(parent);
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

// An editable box with the suggestions of its choice field: as wide as the
// column allows and never so narrow that the placeholder is cut.
QComboBox* ChoiceBox(std::span<const std::string_view> suggestions, QWidget* parent) {
    auto* combo = new SuggestionBox(parent);
    combo->setEditable(true);
    combo->lineEdit()->setMaxLength(std::numeric_limits<int>::max());
    combo->setInsertPolicy(QComboBox::NoInsert);
    // No inline completion: what the user types is what the ReadMe says.
    combo->setCompleter(nullptr);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    const QFontMetrics metrics(combo->font());
    const int letter = std::max(1, metrics.horizontalAdvance(QLatin1Char('X')));
    combo->setMinimumContentsLength(
        (metrics.horizontalAdvance(ToQt(UserInputPlaceholder)) + 2 + letter - 1) / letter);
    for (std::string_view entry : suggestions) {
        combo->addItem(ToQt(entry));
    }
    return combo;
}

QWidget* MakeWidget(const ControlDescription& control, QWidget* parent) {
    const QString caption = ToQt(control.Caption);
    const FormField* field = control.FieldRow == NoControl
                                 ? nullptr
                                 : &FormFields()[static_cast<std::size_t>(control.FieldRow)];
    switch (control.Kind) {
    case ControlKind::Label:
        return new QLabel(caption, parent);
    case ControlKind::Frame:
        return new QGroupBox(caption, parent);
    case ControlKind::LineBox: {
        auto* box = new QLineEdit(parent);
        // A box holds a value of any length a form file can hold.
        box->setMaxLength(std::numeric_limits<int>::max());
        if (field != nullptr && field->Kind == FieldKind::UserName) {
            // A user item's name box shows its whole default name
            // ("ユーザー入力可能1"), so the items can be told apart before
            // the user names them.
            box->setMinimumWidth(
                WidthToShow(box, ToQt(UserInputPlaceholder) + QString::number(field->Slot + 1)));
        }
        return box;
    }
    case ControlKind::ChoiceBox:
        return ChoiceBox(field != nullptr ? ChoiceSuggestions(static_cast<int>(field->Slot))
                                          : std::span<const std::string_view>{},
                         parent);
    case ControlKind::ListBox: {
        auto* units = new SuggestionBox(parent);
        for (std::string_view unit : SizeUnitList()) {
            units->addItem(ToQt(unit));
        }
        return units;
    }
    case ControlKind::CheckBox:
        return new QCheckBox(caption, parent);
    case ControlKind::Option:
        return new QRadioButton(caption, parent);
    case ControlKind::Button:
        return new QPushButton(caption, parent);
    case ControlKind::TextEditor:
        return TextBox(false, parent);
    case ControlKind::TextViewer:
        return TextBox(true, parent);
    case ControlKind::OrderList: {
        auto* list = new OrderList(parent);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setUniformItemSizes(true);
        return list;
    }
    case ControlKind::TemplateList: {
        auto* list = new QListWidget(parent);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        return list;
    }
    }
    return nullptr;
}

} // namespace

QWidget* MakeControl(const ControlDescription& control, QWidget* parent) {
    QWidget* widget = Named(MakeWidget(control, parent), ToQt(control.Name));
    const bool captioned = control.Kind == ControlKind::Button ||
                           control.Kind == ControlKind::CheckBox ||
                           control.Kind == ControlKind::Option;
    if (!control.Spoken.empty()) {
        Speak(widget, ToQt(control.Spoken));
    } else if (captioned && !control.Caption.empty()) {
        Speak(widget, WithoutMnemonic(ToQt(control.Caption)));
    }
    return widget;
}

QVBoxLayout* PageLayout(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    return layout;
}

} // namespace kelvaro::ui
