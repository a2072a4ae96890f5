#pragma once

// The pieces every page is built from: named controls of the window's look,
// made from the pages' description.
//
// Every control carries its name as objectName; members of a control array are
// named Name_i (TopicsLineText_0 ... TopicsLineText_10), so tests and tools
// find each control by the name users know.

#include "window/pages.h"

#include <QString>

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
// says for the box it names comes with the page's wiring.
QWidget* MakeControl(const ControlDescription& control, QWidget* parent);

// A page's margins and spacing around a column of rows.
QVBoxLayout* PageLayout(QWidget* page);

} // namespace kelvaro::ui
