#include "platform/local_time.h"

#include "platform/win32/wide.h"

#include <windows.h>

namespace kelvaro {

std::tm LocalTimeOf(std::int64_t secondsSinceEpoch) {
    const auto when = static_cast<std::time_t>(secondsSinceEpoch);
    std::tm local{};
    ::localtime_s(&local, &when);
    return local;
}

std::string TodayShortDate() {
    // The user's own locale and short date format; nullptr is today.
    wchar_t text[80] = {};
    const int length = ::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr,
                                         text, static_cast<int>(std::size(text)), nullptr);
    if (length <= 1) {
        return {};
    }
    return win32::Utf8FromWide(std::wstring_view(text, static_cast<std::size_t>(length - 1)));
}

} // namespace kelvaro
