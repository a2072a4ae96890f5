// Whether the form holds unsaved work is a comparison with the form last
// opened, saved or made new, so an edit undone leaves nothing unsaved.

#include "session/unsaved.h"

#include "model/defaults.h"
#include "model/form.h"
#include "session/edits.h"
#include "support/scripted_host.h"

#include <gtest/gtest.h>

#include <functional>

namespace kelvaro {
namespace {

struct EditCase {
    const char* What;
    std::function<void(Session&)> Edit;
    std::function<void(Session&)> Undo;
};

TEST(UnsavedChanges, EveryPartOfTheFormCountsAndAnUndoneEditLeavesNothing) {
    const EditCase cases[] = {
        {"a typed value", [](Session& s) { s.ws.form.LineValues[LineSlot::Author] += "x"; },
         [](Session& s) { s.ws.form.LineValues[LineSlot::Author].pop_back(); }},
        {"the editor's text, not yet in its slot", [](Session& s) { s.ws.EditorText += "x"; },
         [](Session& s) { s.ws.EditorText.pop_back(); }},
        {"a check of the item order", [](Session& s) { s.ws.form.Order[2].Checked ^= true; },
         [](Session& s) { s.ws.form.Order[2].Checked ^= true; }},
        {"the order itself", [](Session& s) { MoveEntry(s, 5, 1); },
         [](Session& s) { MoveEntry(s, 1, 5); }},
        {"a setting", [](Session& s) { s.ws.form.HtmlPauseAsHr ^= 1; },
         [](Session& s) { s.ws.form.HtmlPauseAsHr ^= 1; }},
    };
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.What);
        test::ScriptedHost host;
        Session s(host, "/nonexistent");
        s.ws = FreshWorkspace();
        MarkFormClean(s);
        ASSERT_FALSE(HasUnsavedChanges(s));
        c.Edit(s);
        NoteFormEdited(s);
        EXPECT_TRUE(HasUnsavedChanges(s));
        c.Undo(s);
        NoteFormEdited(s);
        EXPECT_FALSE(HasUnsavedChanges(s));
    }
}

} // namespace
} // namespace kelvaro
