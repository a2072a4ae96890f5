// The window's edits tell the window what they touched: a drag in the order
// list refreshes the list and the bold names, as the arrow buttons do.

#include "session/edits.h"

#include "model/defaults.h"
#include "support/change_log.h"
#include "support/scripted_host.h"

#include <gtest/gtest.h>

namespace kelvaro {
namespace {

TEST(OrderEdits, ADragMovesTheEntryAndRefreshesListAndEmphasis) {
    test::ScriptedHost host;
    Session s(host, "/nonexistent");
    s.ws = FreshWorkspace();
    test::ChangeLog changes{s};

    MoveEntry(s, 5, 1); // アーカイブ名 to just below the first separator
    EXPECT_EQ(s.ws.form.Order[1].Key, "アーカイブ名");
    EXPECT_EQ(s.ws.form.Order[2].Key, "作者名");
    EXPECT_EQ(s.ws.Selected, 1);
    EXPECT_EQ(changes.Seen, (std::vector<Change>{Change::Order, Change::Emphasis}));

    // The same notices as a press of ▲, so the window treats both alike.
    changes.Seen.clear();
    MoveEntryUp(s);
    EXPECT_EQ(changes.Seen, (std::vector<Change>{Change::Order, Change::Emphasis}));
    EXPECT_EQ(s.ws.form.Order[0].Key, "アーカイブ名");
    EXPECT_TRUE(host.Messages.empty());
}

} // namespace
} // namespace kelvaro
