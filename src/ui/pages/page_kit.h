#pragma once

// The pieces every page is built from: named controls of the window's look,
// and the two directions between a control and a field of the form.
//
// Every control carries its name as objectName; members of a control array are
// named Name_i (TopicsLineText_0 ... TopicsLineText_10), so tests and tools
// find each control by the name users know.

#include "host/host.h"
#include "session/session.h"
#include "window/pages.h"

#include <QComboBox>
#include <QString>

#include <string>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QVBoxLayout;
class QWidget;

namespace kelvaro::ui {

template <typename W> W* Named(W* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}
QString Indexed(const char* name, int index);
// A caption as a screen reader says it: without its mnemonic marker.
QString WithoutMnemonic(const QString& caption);

// What a screen reader says for `control`. An editable choice box's own text
// box, which takes the keyboard, says the same.
void Speak(QWidget* control, const QString& spoken);

// A control as its page's description gives it, made into `parent`: its
// widget, object name and what a screen reader says for it. A button, check
// box or option says its caption without its mnemonic, or its own words where
// the caption alone would not tell; a box says its own words. What a label
// says for the box it names comes with the page's wiring (NameBy).
QWidget* MakeControl(const ControlDescription& control, QWidget* parent);

// A page's margins and spacing around a column of rows.
QVBoxLayout* PageLayout(QWidget* page);

// `label` names `box`: its mnemonic moves the focus there, and, unless the box
// has words of its own, a screen reader says the label's caption for the box.
void NameBy(QLabel* label, QWidget* box, bool saysCaption);

// Tab visits `stops` one after the other, in the order they are read, not
// in the order they happened to be made.
void TabInOrder(const std::vector<QWidget*>& stops);

// A choice box: wide enough for the placeholder, and its suggestion list
// opens as wide as its longest suggestion, wider than the box if need be, so
// long entries that differ only at their end can be told apart.
class SuggestionBox : public QComboBox {
public:
    explicit SuggestionBox(QWidget* parent);
    void showPopup() override;
};

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

void SetText(QLineEdit* box, const std::string& text);
// 0 unchecked, 1 checked, 2 the third state a form file may hold.
void SetCheck(QCheckBox* box, int value);
// Selects option `id` of an exclusive group, or none when the value is outside it.
void SetOption(QButtonGroup* group, int id);
void SetBold(QWidget* widget, bool bold);
// The colours of a large text box, from the theme and the user's pick (the
// information box keeps the theme's text colour).
void PaintBox(QPlainTextEdit* box, const FontChoice& font, bool followsPick);

// The one-line value of a box's text; a line break in it becomes a blank in
// the box as well.
std::string SingleLineOf(QLineEdit* box, const QString& text, bool& showing);

// Keeps `field` as the user types into `box` (a plain field: it runs nothing).
// `context` ends the connection when it goes.
void StoreTyping(QObject* context, Session& s, QLineEdit* box, std::string* field, bool& showing);
// Keeps `field` as the user ticks `box` (0, 1, or 2 for the third state).
void StoreTicks(QObject* context, Session& s, QCheckBox* box, int* field, bool& showing);
// Shows a choice box's value: its list position follows the text.
void SetChoice(QComboBox* combo, const std::string& text);

} // namespace kelvaro::ui
