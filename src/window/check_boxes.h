#pragma once

// The check boxes of the pages, for whichever toolkit draws them: each one's
// page, caption, object name and the field of the form it shows and stores
// (a CheckBox row of the form-file field table, model/form_fields.h).

#include "model/form.h"
#include "session/session.h"

#include <cstddef>
#include <span>
#include <string_view>

namespace kelvaro {

enum class CheckId { SkipEmptyItems, UseReplacement, ReplaceUserInput, HtmlPauseAsHr };
inline constexpr std::size_t CheckCount = 4;

struct CheckDescription {
    CheckId Id;
    Page OnPage;
    std::string_view Caption;
    std::string_view Name;
    int Form::*Field;
};

// In CheckId order.
std::span<const CheckDescription, CheckCount> PageChecks();
const CheckDescription& CheckOf(CheckId id);

} // namespace kelvaro
