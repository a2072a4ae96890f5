#include "model/assists.h"

#include "model/defaults.h"

#include <gtest/gtest.h>

namespace kelvaro {
namespace {

TEST(GetPauseNum, CountFitsSeventyEightBytes) {
    struct Case {
        const char* chars;
        const char* count;
    };
    const Case cases[] = {
        {"*", "78"},     {"＝", "39"},   {"【", "39"}, {"-=", "39"},
        {"*-*-*", "15"}, {"【】", "19"}, {"ｱ", "78"},
    };
    for (const auto& c : cases) {
        Workspace ws = FreshWorkspace();
        ws.form.PauseCount = "typed";
        ws.form.PauseChars = c.chars;
        GetPauseNum(ws);
        EXPECT_EQ(ws.form.PauseCount, c.count) << c.chars;
    }
    Workspace ws = FreshWorkspace();
    ws.form.PauseChars = std::string(79, '-');
    GetPauseNum(ws);
    EXPECT_EQ(ws.form.PauseCount, "0");
    ws.form.PauseChars.clear();
    ws.form.PauseCount = "12";
    GetPauseNum(ws);
    EXPECT_EQ(ws.form.PauseCount, "12"); // no width to divide by: the count stays
}

} // namespace
} // namespace kelvaro
