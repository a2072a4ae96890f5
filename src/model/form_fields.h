#pragma once

// The form file's fields in the order the file holds them, one row each. The
// reader, the writer, the names of the long-text blocks and the check that a
// form can be written exactly all walk this one table, so a field is added by
// adding its row.

#include "model/form.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace kelvaro {

// How a field is held in the file and in the form.
enum class FieldKind {
    Header,      // the warning against editing; written, skipped when read
    Version,     // the program's version; written, skipped when read
    LineValue,   // one line: LineValues[Slot]
    SizeUnit,    // an integer -1..3: SizeUnit
    Choice,      // one line: ChoiceValues[Slot]
    UserName,    // one line: UserNames[Slot], which also renames its order entries
    LongText,    // "#%!" and the block's name, the text's lines, "!%#": LongTexts[Slot]
    Order,       // the entry count, then per entry its check as a flag and its key
    Text,        // one line: the string member Text
    CheckBox,    // an integer 0..2: the int member Number
    OptionFlag,  // True or False: whether the int member Number is Slot
    HtmlSetting, // one line: HtmlSettings[Slot]
};

struct FormField {
    // The field's first line in a file whose long texts are one line each and
    // whose item order is empty; the compiler checks it against the rows above.
    int Line;
    FieldKind Kind;
    std::size_t Slot = 0; // the array slot, or the button an option flag stands for
    std::string Form::*Text = nullptr;
    int Form::*Number = nullptr;
    // The name the user knows a Text or HtmlSetting field by; for a LongText
    // field held by a user item, the item's index into UserNames (else -1).
    std::string_view Name = {};
    int NamedBy = -1;
};

std::span<const FormField> FormFields();

// The line count a field takes in a file whose long texts are one line each
// and whose order is empty.
constexpr int FieldLines(FieldKind kind) {
    return kind == FieldKind::LongText ? 3 : 1;
}

// The string a one-line or long-text field holds; nullptr for the others.
const std::string* FieldText(const Form& form, const FormField& field);
std::string* FieldText(Form& form, const FormField& field);

// The name long-text slot `slot` goes by (see LongTextName).
std::string LongTextBlockName(const Form& form, std::size_t slot);

// Hands every text a form file holds to `visit(field, text)`, in the file's
// order; the order's keys come one by one with the Order field.
template <typename Visit> void ForEachFormText(const Form& form, Visit visit) {
    for (const FormField& field : FormFields()) {
        if (field.Kind == FieldKind::Order) {
            for (const OrderEntry& entry : form.Order) {
                visit(field, std::string_view(entry.Key));
            }
        } else if (const std::string* text = FieldText(form, field)) {
            visit(field, std::string_view(*text));
        }
    }
}

} // namespace kelvaro
