#pragma once

#include "session/session.h"

namespace kelvaro {

// The user clicked a tab (also the one already shown): that page is shown, and
// showing the preview page refreshes the preview.
void SelectPage(Session& s, Page page);

} // namespace kelvaro
