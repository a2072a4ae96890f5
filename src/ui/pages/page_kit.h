#pragma once

// The pieces every page is built from: named controls of the window's look,
// and the two directions between a control and a field of the form.
//
// Every control carries its name as objectName; members of a control array are
// named Name_i (TopicsLineText_0 ... TopicsLineText_10), so tests and tools
// find each control by the name users know.

#include "host/host.h"
#include "session/session.h"

#include <QComboBox>
#include <QString>

#include <string>

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

namespace kelvaro {
struct CatalogueItem;
}

namespace kelvaro::ui {

template <typename W> W* Named(W* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}
QString Indexed(const char* name, int index);
// A caption as a screen reader says it: without its mnemonic marker.
QString WithoutMnemonic(const QString& caption);

QLabel* Label(const QString& caption, const QString& name, QWidget* parent);
QPushButton* Button(const QString& caption, const QString& name, QWidget* parent);
// A one-line box that holds a value of any length a form file can hold.
QLineEdit* LineEdit(const QString& name, QWidget* parent);
QCheckBox* CheckBox(const QString& caption, const QString& name, QWidget* parent);
QRadioButton* Radio(const QString& caption, const QString& name, QWidget* parent);
// A large text box: scroll bars, the box font, no line wrapping so lines read
// as they will stand in the ReadMe.
QPlainTextEdit* TextBox(const QString& name, bool readOnly, QWidget* parent);
QVBoxLayout* PageLayout(QWidget* page);
// `label` names `box`: its mnemonic moves the focus there, and a screen
// reader says the label's caption for the box.
void NameBy(QLabel* label, QWidget* box);

// A user item's name box shows the whole default name ("ユーザー入力可能1"),
// so the items can be told apart before the user names them.
void FitDefaultName(QLineEdit* box, int userIndex);
// What a screen reader calls a user item's name box: which item it names.
QString UserNameBoxName(const CatalogueItem& item);

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

} // namespace kelvaro::ui
