#pragma once

// The push buttons of the pages, for whichever toolkit draws them: each
// one's page, caption, object name, what a screen reader says where the
// caption alone would not tell, and the command it runs.

#include "session/session.h"

#include <cstddef>
#include <span>
#include <string_view>

namespace kelvaro {

enum class ButtonId {
    GetToday,
    LoadTemplate,
    SaveTemplate,
    GetPauseNum,
    ResetHtml,
    ChangeFont,
    DefaultFont,
    GetInformation,
    ScanTemplates,
};
inline constexpr std::size_t ButtonCount = 9;

struct ButtonDescription {
    ButtonId Id;
    Page OnPage;
    std::string_view Caption;
    std::string_view Name;
    std::string_view Spoken; // empty: the caption says it
    void (*Command)(Session&);
};

// In ButtonId order.
std::span<const ButtonDescription, ButtonCount> PageButtons();
const ButtonDescription& ButtonOf(ButtonId id);

} // namespace kelvaro
