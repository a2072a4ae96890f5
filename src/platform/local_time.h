#pragma once

// Dates and times as the user's own system writes them.

#include <cstdint>
#include <ctime>
#include <string>

namespace kelvaro {

// The calendar time of `secondsSinceEpoch` in the local time zone.
std::tm LocalTimeOf(std::int64_t secondsSinceEpoch);

// Today's date in the user's short date format (on Windows the format the
// user chose in the region settings; elsewhere that of the LC_TIME locale).
std::string TodayShortDate();

} // namespace kelvaro
