#pragma once

// The one-line operating-system description that the "情報取得" button on the
// options page writes into its box. Nothing else reads that text: it is not part
// of the form and never reaches any output.
//
// The naming rules belong to Windows version records. GetOSName is a pure
// function over records handed in, fixed so that a given record is always named
// the same way. DescribeRunningSystem names the system we really run on: on
// Windows through GetOSName from the real version records, elsewhere from
// os-release and uname().

#include "platform/system_facts.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvaro {

// The text shown whenever the system cannot be described at all.
inline constexpr std::string_view OsInfoFailedText = "OS情報の取得に失敗";

// Platform ids of the version record.
inline constexpr std::uint32_t PlatformWin9x = 1;
inline constexpr std::uint32_t PlatformWinNT = 2;

// Product types of the extended record.
inline constexpr std::uint8_t ProductWorkstation = 1;
inline constexpr std::uint8_t ProductDomainController = 2;
inline constexpr std::uint8_t ProductServer = 3;

// The suite-mask bit that marks a Home edition.
inline constexpr std::uint16_t SuitePersonal = 0x0200;

// The standard version record. A query zero-fills it first, so a field the
// query did not fill reads 0.
struct OsVersionRecord {
    std::uint32_t MajorVersion = 0;
    std::uint32_t MinorVersion = 0;
    std::uint32_t BuildNumber = 0;
    std::uint32_t PlatformId = 0;
    // The raw 128-byte field as read: a NUL-terminated text followed by whatever
    // the rest of the field holds, NULs included.
    std::string ServicePack;
};

// The extended record: the same fields, plus the two that name an edition.
struct OsVersionRecordEx : OsVersionRecord {
    std::uint16_t SuiteMask = 0;
    std::uint8_t ProductType = 0;
};

// The low 16 bits of value as a signed 16-bit number (bit 15 set gives a negative
// result). The 9x family keeps other data in the high half of its build number.
std::int16_t LoWord(std::uint32_t value);

// The description for the two records. extended is nullopt when the extended query
// failed (its edition fields then read 0 and the NT 4 editions are not named);
// standard is nullopt when the standard query failed, which gives OsInfoFailedText.
// An unknown platform id gives the empty string.
std::string GetOSName(const std::optional<OsVersionRecordEx>& extended,
                      const std::optional<OsVersionRecord>& standard);

// PRETTY_NAME from the text of an os-release file: blank lines and "#" comments
// are skipped, a value may be double-quoted (with backslash escapes), single-quoted
// (literal) or bare. nullopt when the key is missing or its value is empty.
std::optional<std::string> ParseOsReleasePrettyName(std::string_view content);

// One line from the parts that could be read: the distribution's name, then the
// kernel's name, release and machine, joined by single blanks; empty parts are
// left out. OsInfoFailedText when there is nothing to show.
std::string ComposeSystemDescription(const std::optional<std::string>& prettyName,
                                     const std::optional<KernelInfo>& kernel);

// Both records as Windows fills them from its real version: the standard one
// holds the same fields as the extended one but the edition's two.
OsVersionRecordEx RecordsOf(const WindowsVersion& version);

// The description of the running system: on Windows GetOSName over its real
// version records; elsewhere read from /etc/os-release (or /usr/lib/os-release
// when that is missing) and uname().
std::string DescribeRunningSystem();

// The whole text of the information box for a description.
std::string InformationText(const std::string& osName);

} // namespace kelvaro
