#pragma once

// The window's eight pages as data, for whichever toolkit draws them: every
// control's kind, caption, object name, what a screen reader says, the label
// that names it, its place in the page's grid, the field of the form it shows
// and stores, the command it runs, the changes that refresh it, and the order
// Tab visits the controls in. Built once from the item catalogue; a toolkit
// makes one control per entry and takes every word it shows from here.

#include "session/session.h"

#include <cstddef>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

namespace kelvaro {

enum class ControlKind {
    Label,       // a caption; names the control it labels, or heads a group
    Frame,       // a captioned frame around other controls
    LineBox,     // a one-line box
    ChoiceBox,   // an editable box with suggestions
    ListBox,     // a list-only choice (the size's unit)
    CheckBox,    // a check box, of a form field or of a command
    Option,      // one option of a group; the group has one of them chosen
    Button,      // a push button that runs a command
    TextEditor,  // the long-text editor: several lines, held typing, undo
    TextViewer,  // a read-only box of several lines
    OrderList,   // the item order: check, bold emphasis, reorder
    TemplateList // the template viewer's list
};

// Where a control stands in its page's grid. The rows and columns are the
// page's own; a toolkit lays them out in its units.
struct GridPlace {
    int Row = 0;
    int Column = 0;
    int RowSpan = 1;
    int ColumnSpan = 1;
};

// The changes a control is shown anew on, as a set of Change.
struct ChangeSet {
    unsigned Bits = 0;
    constexpr ChangeSet() = default;
    constexpr ChangeSet(std::initializer_list<Change> changes) {
        for (Change c : changes) {
            Bits |= 1U << static_cast<unsigned>(c);
        }
    }
    constexpr bool Has(Change c) const { return (Bits & (1U << static_cast<unsigned>(c))) != 0; }
};

inline constexpr int NoControl = -1;

struct ControlDescription {
    ControlKind Kind = ControlKind::Label;
    // With its mnemonic as "&X" where it has one; empty for a box.
    std::string Caption{};
    // The object name tests and tools find it by (TopicsLineText_3).
    std::string Name{};
    // What a screen reader says where neither the caption nor a label tells
    // it; empty otherwise.
    std::string Spoken{};
    // The index, in its page's Controls, of the label that names this control
    // (its mnemonic moves the focus here), or of the frame it stands in.
    int LabelledBy = NoControl;
    int InFrame = NoControl;
    GridPlace Place{};
    // Takes the height (or width) the page has left over.
    bool FillsHeight = false;
    bool FillsWidth = false;
    // The row of FormFields() this control shows and stores; NoControl when
    // it shows no field of its own.
    int FieldRow = NoControl;
    // The option group an Option belongs to (options of one group share it).
    std::string Group{};
    // What a Button (or a command check box) runs.
    void (*Command)(Session&) = nullptr;
    ChangeSet RefreshedBy{};
    // The index of the box whose text a screen reader says for this control:
    // a user item's value and option are called what the user named the item.
    int SpokenBy = NoControl;
    // The item (its EmphasisIndex in the catalogue) whose bold flag draws
    // this control bold; NoControl for a control emphasis leaves alone.
    int Emphasis = NoControl;
    // A large box drawn in the font and text colour the user picks for the
    // boxes; the other large boxes keep the theme's.
    bool TakesBoxFont = false;
    // For an option of a group no form field stores (the long-text item, the
    // preview mode, the emphasis): what choosing the group's option `index`
    // (its place among the group's options) runs, and which one the session
    // has chosen (-1: none).
    void (*Choose)(Session&, int index) = nullptr;
    int (*Chosen)(const Session&) = nullptr;
};

struct PageDescription {
    Page Which = Page::Lines;
    std::vector<ControlDescription> Controls;
    // Indices into Controls, in the order Tab visits them.
    std::vector<int> TabOrder;
    int Rows = 0;
    int Columns = 0;
};

// In tab order; built once from the catalogue.
std::span<const PageDescription, PageCount> WindowPages();
const PageDescription& PageOf(Page page);

} // namespace kelvaro
