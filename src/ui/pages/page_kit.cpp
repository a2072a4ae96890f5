#include "ui/pages/page_kit.h"
#include "window/buttons.h"

#include "model/catalogue.h"
#include "model/form_texts.h"
#include "session/edits.h"
#include "ui/font_colour_dialog.h"
#include "ui/text_convert.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
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

int CheckValue(int state) {
    switch (state) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    default:
        return 0;
    }
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

QLabel* Label(const QString& caption, const QString& name, QWidget* parent) {
    return Named(new QLabel(caption, parent), name);
}

QPushButton* Button(const QString& caption, const QString& name, QWidget* parent,
                    const QString& spoken) {
    auto* button = Named(new QPushButton(caption, parent), name);
    Speak(button, spoken.isEmpty() ? WithoutMnemonic(caption) : spoken);
    return button;
}

QPushButton* Button(ButtonId id, QWidget* parent) {
    const ButtonDescription& button = ButtonOf(id);
    return Button(ToQt(button.Caption), ToQt(button.Name), parent, ToQt(button.Spoken));
}

QCheckBox* CheckBox(CheckId id, QWidget* parent) {
    const CheckDescription& check = CheckOf(id);
    return CheckBox(ToQt(check.Caption), ToQt(check.Name), parent);
}

void ShowCheck(QCheckBox* box, CheckId id, const Form& form) {
    SetCheck(box, form.*CheckOf(id).Field);
}

void StoreTicks(QObject* context, Session& s, QCheckBox* box, CheckId id, bool& showing) {
    StoreTicks(context, s, box, &(s.ws.form.*CheckOf(id).Field), showing);
}

QLineEdit* LineEdit(const QString& name, QWidget* parent, const QString& spoken) {
    auto* box = Named(new QLineEdit(parent), name);
    box->setMaxLength(std::numeric_limits<int>::max());
    if (!spoken.isEmpty()) {
        Speak(box, spoken);
    }
    return box;
}

QCheckBox* CheckBox(const QString& caption, const QString& name, QWidget* parent) {
    auto* box = Named(new QCheckBox(caption, parent), name);
    Speak(box, WithoutMnemonic(caption));
    return box;
}

QRadioButton* Radio(const QString& caption, const QString& name, QWidget* parent) {
    auto* option = Named(new QRadioButton(caption, parent), name);
    // An option without a caption is named by the page (a user item's option).
    if (!caption.isEmpty()) {
        Speak(option, WithoutMnemonic(caption));
    }
    return option;
}

QPlainTextEdit* TextBox(const QString& name, bool readOnly, QWidget* parent,
                        const QString& spoken) {
    auto* box = Named(new QPlainTextEdit(parent), name);
    if (!spoken.isEmpty()) {
        Speak(box, spoken);
    }
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

QVBoxLayout* PageLayout(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    return layout;
}

void NameBy(QLabel* label, QWidget* box) {
    label->setBuddy(box);
    Speak(box, WithoutMnemonic(label->text()));
}

void TabInOrder(const std::vector<QWidget*>& stops) {
    for (std::size_t i = 1; i < stops.size(); ++i) {
        QWidget::setTabOrder(stops[i - 1], stops[i]);
    }
}

QLineEdit* UserNameBox(const CatalogueItem& item, QWidget* parent) {
    auto* box = LineEdit(Indexed("TopicsAdd", item.UserIndex), parent,
                         ToQt(item.Key) + QStringLiteral("の項目名"));
    const QString name = ToQt(UserInputPlaceholder) + QString::number(item.UserIndex + 1);
    box->setMinimumWidth(WidthToShow(box, name));
    return box;
}

SuggestionBox::SuggestionBox(QWidget* parent) : QComboBox(parent) {}

void SuggestionBox::showPopup() {
    QAbstractItemView* list = view();
    list->ensurePolished();
    const int scrollBar =
        count() > maxVisibleItems()
            ? list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list)
            : 0;
    list->setMinimumWidth(list->sizeHintForColumn(0) + 2 * list->frameWidth() + scrollBar);
    QComboBox::showPopup();
}

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
    QFont font = widget->font();
    if (font.bold() != bold) {
        font.setBold(bold);
        widget->setFont(font);
    }
}

void PaintBox(QPlainTextEdit* box, const FontChoice& font, bool followsPick) {
    // Only the roles set here are the box's own; every other colour, the
    // text's while it is the default, comes from the theme and follows it.
    QPalette own;
    if (box->isReadOnly()) {
        own.setColor(QPalette::Base, box->window()->palette().color(QPalette::Button));
    }
    if (followsPick && !UsesThemeTextColour(font)) {
        own.setColor(QPalette::Text, ToQColor(font.TextColour));
    }
    box->setPalette(own);
}

std::string SingleLineOf(QLineEdit* box, const QString& text, bool& showing) {
    std::string value = AsSingleLine(FromQt(text));
    const QString shown = ToQt(value);
    if (shown != text) {
        // A pasted line break became a blank in the form: the box shows the
        // same, with the cursor where it was.
        const Showing quiet(showing);
        const int cursor = box->cursorPosition();
        box->setText(shown);
        box->setCursorPosition(std::min(cursor, static_cast<int>(shown.size())));
    }
    return value;
}

void StoreTyping(QObject* context, Session& s, QLineEdit* box, std::string* field, bool& showing) {
    QObject::connect(box, &QLineEdit::textChanged, context,
                     [&s, box, field, &showing](const QString& text) {
                         if (!showing) {
                             *field = SingleLineOf(box, text, showing);
                             NoteFormEdited(s);
                         }
                     });
}

void StoreTicks(QObject* context, Session& s, QCheckBox* box, int* field, bool& showing) {
    QObject::connect(box, &QCheckBox::stateChanged, context, [&s, box, field, &showing](int state) {
        if (showing) {
            return;
        }
        // A third state only ever comes from a form file; once the user
        // touches the box it is a plain check box again.
        if (state != Qt::PartiallyChecked) {
            box->setTristate(false);
        }
        *field = CheckValue(state);
        NoteFormEdited(s);
    });
}

} // namespace kelvaro::ui
