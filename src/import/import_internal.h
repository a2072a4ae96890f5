#pragma once

// The pieces of the importer, internal to src/import: the form the entries of a
// ReadMe are gathered into, the readers of the program's own layouts and the
// reader by headings.

#include "import/readme_import.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvaro {

// Gathers the entries of a ReadMe, in the ReadMe's order, into a form: each
// entry checked in the order, its value in its item; Finish() puts every other
// item unchecked after them.
class ImportedForm {
public:
    ImportedForm();

    // A fixed item by its key; false when the item holds another value already.
    bool SetSingle(const CatalogueItem& item, std::string value, std::string_view heading);
    bool SetLong(const CatalogueItem& item, std::string text, std::string_view heading);
    // A user item by its name; false when both of its kind are taken by other names.
    bool SetUserSingle(const std::string& name, std::string value, std::string_view heading);
    bool SetUserLong(const std::string& name, std::string text, std::string_view heading);
    void AddSeparator();
    void AddCredit();
    bool Holds(const CatalogueItem& item) const;
    bool HoldsSoftwareName() const { return softwareName_; }

    // The catch-all: the last user long text, which gets `text` at its end.
    void AppendCatchAll(const std::string& heading, const std::string& text);

    Form& form() { return form_; }
    ImportReport& report() { return report_; }
    ImportResult Finish();

private:
    void Check(const std::string& key, const std::string& text, std::string_view heading,
               std::string item);
    int UserSlot(int first, const std::string& name, const std::string& value, bool long_);
    bool SetUserItem(const std::string& name, std::string value, std::string_view heading,
                     bool isLong);
    void NoteCatchAllLine(std::string line);

    Form form_;
    ImportReport report_;
    std::vector<bool> filled_; // by catalogue position
    std::array<bool, UserNameCount> userTaken_{};
    bool softwareName_ = false;
    bool catchAllInOrder_ = false;
    bool catchAllUsed_ = false;
};

// The readers of the program's own layouts: nullopt when the text is not one
// (or holds one of the limits readme_import.h names). `text` is the decoded
// file without its last line end.
std::optional<ImportResult> ReadOwnText(std::string_view text);
std::optional<ImportResult> ReadOwnHtml(std::string_view text);
std::optional<ImportResult> ReadOwnMarkdown(std::string_view text);
std::optional<ImportResult> ReadOwnHtml5(std::string_view text);

// The reader by headings, for any text. `kind` is how the text is marked up.
ImportResult ReadByHeadings(std::string_view text, ReadMeFormat kind);

// The bytes of a file to import (import_bytes.cpp).
bool IsPureAscii(std::string_view text);
// A text file holds no NUL and few other controls; binary data holds many.
bool LooksLikeText(std::string_view bytes);
// Bytes that are UTF-8 but for a few broken ones; `broken` counts those pieces.
bool MostlyUtf8(std::string_view bytes, std::size_t& broken);
// The text with each broken piece of UTF-8 as U+FFFD; `broken` counts them.
std::string WithReplacements(std::string_view bytes, std::size_t& broken);

// The credit line the program writes.
std::string CreditText();

} // namespace kelvaro
