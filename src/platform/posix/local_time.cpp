#include "platform/local_time.h"

#include <clocale>
#include <langinfo.h>
#include <locale.h>

namespace kelvaro {

std::tm LocalTimeOf(std::int64_t secondsSinceEpoch) {
    const auto when = static_cast<std::time_t>(secondsSinceEpoch);
    std::tm local{};
    ::localtime_r(&when, &local);
    return local;
}

std::string TodayShortDate() {
    const std::tm today = LocalTimeOf(static_cast<std::int64_t>(std::time(nullptr)));
    // The user's LC_TIME from the environment, without changing the program's
    // own locale, which other threads read.
    locale_t user = ::newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
    if (user == static_cast<locale_t>(nullptr)) {
        user = ::newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(nullptr));
    }
    char text[64] = {};
    const char* format = ::nl_langinfo_l(D_FMT, user);
    const std::size_t length = ::strftime_l(text, sizeof text, format, &today, user);
    ::freelocale(user);
    return std::string(text, length);
}

} // namespace kelvaro
