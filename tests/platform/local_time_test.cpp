#include "platform/local_time.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvaro {
namespace {

// Short date formats differ by country ("2026/12/09", "12/9/2026", "09.12.26"),
// but every one of them shows the month and the day as numbers.
TEST(TodayShortDate, ShowsTodaysMonthAndDay) {
    const std::tm before = LocalTimeOf(static_cast<std::int64_t>(std::time(nullptr)));
    const std::string today = TodayShortDate();
    const std::tm after = LocalTimeOf(static_cast<std::int64_t>(std::time(nullptr)));
    if (before.tm_mday != after.tm_mday) {
        GTEST_SKIP() << "the day changed during the test";
    }
    ASSERT_FALSE(today.empty());
    for (const int number : {after.tm_mon + 1, after.tm_mday}) {
        EXPECT_NE(today.find(std::to_string(number)), std::string::npos) << today;
    }
    EXPECT_LT(today.size(), 40u) << today; // a date, not a date and a time
}

TEST(LocalTimeOf, TheEpochIsOnNewYearsDayOrEveEverywhere) {
    const std::tm epoch = LocalTimeOf(0);
    EXPECT_TRUE((epoch.tm_year == 70 && epoch.tm_yday == 0) ||
                (epoch.tm_year == 69 && epoch.tm_yday == 364))
        << epoch.tm_year << " " << epoch.tm_yday;
}

} // namespace
} // namespace kelvaro
