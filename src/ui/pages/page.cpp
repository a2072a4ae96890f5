#include "ui/pages/page.h"

#include "model/form_fields.h"
#include "model/form_texts.h"
#include "session/edits.h"
#include "ui/font_colour_dialog.h"
#include "ui/pages/page_kit.h"
#include "ui/text_convert.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include <algorithm>

namespace kelvaro::ui {
namespace {

// Sets the flag for as long as it lives, then puts back what it was.
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

void NameBy(QLabel* label, QWidget* box, bool saysCaption) {
    label->setBuddy(box);
    if (saysCaption) {
        Speak(box, WithoutMnemonic(label->text()));
    }
}

void TabInOrder(const std::vector<QWidget*>& stops) {
    for (std::size_t i = 1; i < stops.size(); ++i) {
        QWidget::setTabOrder(stops[i - 1], stops[i]);
    }
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

void SetChoice(QComboBox* combo, const std::string& text) {
    const QString value = ToQt(text);
    // A text that is no suggestion (the placeholder) has no list position, so
    // Down goes to the first suggestion.
    const int index = combo->findText(value);
    if (combo->currentIndex() != index) {
        combo->setCurrentIndex(index);
    }
    if (combo->currentText() != value) {
        combo->setEditText(value);
        combo->lineEdit()->setCursorPosition(0);
    }
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

const FormField* FieldOf(const ControlDescription& control) {
    return control.FieldRow == NoControl
               ? nullptr
               : &FormFields()[static_cast<std::size_t>(control.FieldRow)];
}

} // namespace

FormPage::FormPage(QWidget* tab, PageContext& context, Page which)
    : QObject(tab), tab_(tab), context_(context), page_(PageOf(which)) {
    for (const ControlDescription& control : page_.Controls) {
        QWidget* parent = control.InFrame == NoControl ? tab : Control(control.InFrame);
        controls_.push_back(MakeControl(control, parent));
        if (control.Kind == ControlKind::Option && !groups_.contains(control.Group)) {
            groups_[control.Group] = Named(new QButtonGroup(tab), ToQt(control.Group));
        }
        if (control.Kind == ControlKind::Option) {
            QButtonGroup* group = groups_[control.Group];
            group->addButton(qobject_cast<QRadioButton*>(controls_.back()),
                             static_cast<int>(group->buttons().size()));
        }
    }
}

QWidget* FormPage::Find(int row, int column) const {
    for (std::size_t i = 0; i < page_.Controls.size(); ++i) {
        const ControlDescription& c = page_.Controls[i];
        if (c.Kind != ControlKind::Frame && c.Place.Row == row && c.Place.Column == column) {
            return controls_[i];
        }
    }
    return nullptr;
}

bool FormPage::GroupOfFields(const std::string& group) const {
    return FirstOption(group).Choose == nullptr;
}

void FormPage::Wire() {
    std::vector<QWidget*> stops;
    for (int index : page_.TabOrder) {
        stops.push_back(Control(index));
    }
    TabInOrder(stops);
    for (std::size_t i = 0; i < page_.Controls.size(); ++i) {
        const ControlDescription& control = page_.Controls[i];
        if (control.LabelledBy != NoControl) {
            NameBy(qobject_cast<QLabel*>(Control(control.LabelledBy)), controls_[i],
                   control.Spoken.empty());
        }
        Bind(control, controls_[i]);
    }
    for (const auto& entry : groups_) {
        QButtonGroup* group = entry.second;
        if (!GroupOfFields(entry.first)) {
            // Whenever an option becomes the chosen one, by mouse or by the
            // arrow keys, the session is told.
            connect(group, &QButtonGroup::idToggled, this,
                    [this, choose = FirstOption(entry.first).Choose](int id, bool on) {
                        if (on && !showing()) {
                            Run([&] { choose(session(), id); });
                        }
                    });
            continue;
        }
        connect(group, &QButtonGroup::idToggled, this, [this, group](int id, bool on) {
            if (!on || showing()) {
                return;
            }
            const auto chosen = std::find(controls_.begin(), controls_.end(), group->button(id));
            const FormField* field =
                FieldOf(page_.Controls[static_cast<std::size_t>(chosen - controls_.begin())]);
            session().ws.form.*field->Number = static_cast<int>(field->Slot);
            Edited();
        });
    }
}

void FormPage::Bind(const ControlDescription& control, QWidget* widget) {
    if (control.Kind == ControlKind::Button && control.Command != nullptr) {
        connect(qobject_cast<QPushButton*>(widget), &QPushButton::clicked, this,
                [this, command = control.Command] { Clicked(command); });
        return;
    }
    const FormField* field = FieldOf(control);
    if (field == nullptr) {
        return;
    }
    Session& s = session();
    Form& form = s.ws.form;
    switch (field->Kind) {
    case FieldKind::LineValue:
    case FieldKind::Text:
    case FieldKind::HtmlSetting:
        StoreTyping(this, s, qobject_cast<QLineEdit*>(widget), FieldText(form, *field),
                    showingFlag());
        break;
    case FieldKind::Choice: {
        auto* combo = qobject_cast<QComboBox*>(widget);
        connect(combo, &QComboBox::editTextChanged, this,
                [this, combo, value = FieldText(form, *field)](const QString& text) {
                    if (!showing()) {
                        *value = SingleLineOf(combo->lineEdit(), text, showingFlag());
                        Edited();
                    }
                });
        break;
    }
    case FieldKind::SizeUnit:
        connect(qobject_cast<QComboBox*>(widget), &QComboBox::currentIndexChanged, this,
                [this, &form](int index) {
                    if (!showing()) {
                        form.SizeUnit = index;
                        Edited();
                    }
                });
        break;
    case FieldKind::UserName: {
        auto* box = qobject_cast<QLineEdit*>(widget);
        const int user = static_cast<int>(field->Slot);
        connect(box, &QLineEdit::textChanged, this, [this, box, user](const QString& text) {
            if (showing()) {
                return;
            }
            std::string name = SingleLineOf(box, text, showingFlag());
            Run([&] { SetUserName(session(), user, std::move(name)); });
            SpeakUserNames();
            UserNamed();
        });
        break;
    }
    case FieldKind::CheckBox:
        StoreTicks(this, s, qobject_cast<QCheckBox*>(widget), &(form.*field->Number),
                   showingFlag());
        break;
    default:
        break;
    }
}

void FormPage::Show(const ControlDescription& control, QWidget* widget) {
    const FormField* field = FieldOf(control);
    if (field == nullptr) {
        return;
    }
    const Form& form = session().ws.form;
    switch (field->Kind) {
    case FieldKind::LineValue:
    case FieldKind::Text:
    case FieldKind::HtmlSetting:
    case FieldKind::UserName:
        SetText(qobject_cast<QLineEdit*>(widget), *FieldText(form, *field));
        break;
    case FieldKind::Choice:
        SetChoice(qobject_cast<QComboBox*>(widget), *FieldText(form, *field));
        break;
    case FieldKind::SizeUnit: {
        auto* units = qobject_cast<QComboBox*>(widget);
        units->setCurrentIndex(form.SizeUnit >= 0 && form.SizeUnit < units->count() ? form.SizeUnit
                                                                                    : -1);
        break;
    }
    case FieldKind::CheckBox:
        SetCheck(qobject_cast<QCheckBox*>(widget), form.*field->Number);
        break;
    default:
        break;
    }
}

const ControlDescription& FormPage::FirstOption(const std::string& group) const {
    return *std::find_if(page_.Controls.begin(), page_.Controls.end(),
                         [&](const ControlDescription& c) { return c.Group == group; });
}

void FormPage::ShowOption(const std::string& group) {
    if (!GroupOfFields(group)) {
        SetOption(Group(group), FirstOption(group).Chosen(session()));
        return;
    }
    int chosen = -1;
    for (std::size_t i = 0; i < page_.Controls.size(); ++i) {
        const ControlDescription& c = page_.Controls[i];
        const FormField* field = FieldOf(c);
        if (c.Group == group && field != nullptr &&
            session().ws.form.*field->Number == static_cast<int>(field->Slot)) {
            chosen = Group(group)->id(qobject_cast<QRadioButton*>(controls_[i]));
        }
    }
    SetOption(Group(group), chosen);
}

void FormPage::SpeakUserNames() {
    for (std::size_t i = 0; i < page_.Controls.size(); ++i) {
        const int namer = page_.Controls[i].SpokenBy;
        if (namer != NoControl) {
            Speak(controls_[i], qobject_cast<QLineEdit*>(Control(namer))->text());
        }
    }
}

void FormPage::Refresh(Change what) {
    const Showing quiet(showingFlag());
    const Workspace& ws = session().ws;
    for (std::size_t i = 0; i < page_.Controls.size(); ++i) {
        const ControlDescription& control = page_.Controls[i];
        if (!control.RefreshedBy.Has(what)) {
            continue;
        }
        if (what == Change::Form) {
            Show(control, controls_[i]);
        } else if (what == Change::Emphasis && control.Emphasis != NoControl) {
            SetBold(controls_[i], ws.ItemEmphasis[static_cast<std::size_t>(control.Emphasis)]);
        }
    }
    if (what == Change::Fonts) {
        PaintBoxes(true);
    }
    for (const auto& entry : groups_) {
        const ControlDescription& option = FirstOption(entry.first);
        if (GroupOfFields(entry.first) ? what == Change::Form : option.RefreshedBy.Has(what)) {
            ShowOption(entry.first);
        }
    }
    if (what == Change::Form) {
        SpeakUserNames();
    }
    ShowMore(what);
}

void FormPage::PaintBoxes(bool newFont) {
    for (std::size_t i = 0; i < page_.Controls.size(); ++i) {
        const ControlDescription& c = page_.Controls[i];
        auto* box = qobject_cast<QPlainTextEdit*>(controls_[i]);
        if (box == nullptr || !c.RefreshedBy.Has(Change::Fonts)) {
            continue;
        }
        if (newFont && c.TakesBoxFont) {
            box->setFont(ToQFont(session().BoxFont.Font));
        }
        PaintBox(box, session().BoxFont, c.TakesBoxFont);
    }
}

void FormPage::ThemeChanged() {
    PaintBoxes(false);
}

void FormPage::RefreshAll() {
    for (Change what : {Change::Form, Change::Order, Change::Emphasis, Change::LongText,
                        Change::Preview, Change::Fonts, Change::Templates, Change::Information}) {
        Refresh(what);
    }
}

void FormPage::Edited() const {
    NoteFormEdited(context_.session);
}

} // namespace kelvaro::ui
