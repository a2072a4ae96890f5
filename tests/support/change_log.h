#pragma once

// Listens to a session the way the window does and keeps every change notice.

#include "session/session.h"

#include <vector>

namespace kelvaro::test {

struct ChangeLog {
    explicit ChangeLog(Session& s) {
        s.SetChangeListener([this](Change what) { Seen.push_back(what); });
    }
    std::vector<Change> Seen;
};

} // namespace kelvaro::test
