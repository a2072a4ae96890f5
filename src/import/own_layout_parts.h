#pragma once

// What the readers of the program's own layouts share, internal to src/import:
// the brackets around the names, the entries added to the form, the separator
// line and the topics the two HTML pages are read into.

#include "compose/layout_lines.h"
#include "import/import_internal.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace kelvaro::own_layout {

using layout_lines::IdeographicSpace;

struct Brackets {
    std::string Left;
    std::string Right;
    bool operator<(const Brackets& other) const {
        return std::tie(Left, Right) < std::tie(other.Left, other.Right);
    }
};

bool IsFixedSingle(const CatalogueItem& item);
// The fixed single-line item a layout names so: its centred name in the text
// and HTML pages, its key in Markdown.
const CatalogueItem* FixedSingleNamed(std::string_view name, bool byKey);
const CatalogueItem* FixedLongNamed(std::string_view name);
bool IsLinkItem(const CatalogueItem* item);

// The brackets most entries agree on; a few candidates, the likeliest first.
std::vector<Brackets> RankBrackets(const std::map<Brackets, int>& counts);

// Adds the single-line entry to the form: a fixed item by its name, else a user item.
bool AddSingle(ImportedForm& out, const std::string& name, std::string value, bool byKey);
bool AddLong(ImportedForm& out, const std::string& name, std::string text);

// The separator line as characters and count: the shortest piece it repeats.
void SetPauseLine(Form& form, std::string_view line);
bool Repeats(std::string_view line);

bool Take(std::string_view& text, std::string_view prefix);
// "<head>X<tail>" on one line: X.
std::optional<std::string> Between(std::string_view line, std::string_view head,
                                   std::string_view tail);

// A topic written by one of the HTML layouts, and the brackets it shows.
struct Topic {
    std::string Raw; // brackets and name as written
    bool Long = false;
    std::string Value; // a single line's value, a long text's text
    bool Separator = false;
    bool Rule = false;
    bool Credit = false;
};

// The form the page's topics give under the first bracket pair that reads every
// topic as an item; the page's title names the software when no item does.
std::optional<ImportResult> FormFromTopics(const Form& base, const std::vector<Topic>& topics,
                                           ReadMeFormat format, const std::string& title);

// The link the HTML 4.01 page writes for the home page and mail: its value.
std::string Html401LinkValue(const std::string& value, bool mail);
std::string UnescapeHtml5(std::string_view text);

} // namespace kelvaro::own_layout
