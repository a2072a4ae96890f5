#include "settings/system_info.h"
#include "platform/text.h"

#include <fstream>
#include <iterator>

namespace kelvaro {

namespace {

// The service-pack field is a C string in a fixed-size buffer: what follows the
// first NUL is left-over memory, not text.
std::string CutAtNul(const std::string& field) {
    return field.substr(0, field.find('\0'));
}

// Trims blanks only (not tabs or newlines), the way the 9x edition letter was
// always compared.
std::string TrimBlanks(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string Win9xName(const OsVersionRecord& rec, const std::string& sp) {
    if (rec.MajorVersion != 4) {
        return "Windows Me later (Unknown)";
    }
    const std::string letter = AsciiUppered(TrimBlanks(sp));
    switch (rec.MinorVersion) {
    case 0:
        if (letter == "C") {
            return "Windows 95 OSR2.5";
        }
        if (letter == "B") {
            return "Windows 95 OSR2/2.1";
        }
        if (letter == "A") {
            return "Windows 95 SP1/OSR1";
        }
        return "Windows 95";
    case 10:
        return letter == "A" ? "Windows 98 Second Edition" : "Windows 98";
    case 90:
        return "Windows Me";
    default:
        return "Windows Me later (Unknown)";
    }
}

std::string WinNtName(const OsVersionRecord& rec, bool extendedKnown, std::uint16_t suiteMask,
                      std::uint8_t productType) {
    const std::uint32_t major = rec.MajorVersion;
    const std::uint32_t minor = rec.MinorVersion;
    if (major > 5) {
        return "Windows Whistlar later (Unknown)";
    }
    if (major == 5) {
        // The edition tests of the 5.x rows run even after a failed extended query;
        // its fields then read 0 and no edition matches.
        if (minor == 0) {
            if (productType == ProductWorkstation) {
                return "Windows 2000 Professional";
            }
            if (productType == ProductServer) {
                return "Windows 2000 Server";
            }
            return "Windows 2000";
        }
        if (minor == 1) {
            if ((suiteMask & SuitePersonal) != 0) {
                return "Windows XP Home Edition";
            }
            if (productType == ProductWorkstation) {
                return "Windows XP Professional";
            }
            if (productType == ProductServer) {
                return "Windows 2002 .NET Server";
            }
            return "Windows XP";
        }
        return "Windows Whistlar later (Unknown)";
    }
    // NT 3.x and 4.x name themselves with a two-digit minor number ("4.00",
    // "3.51"): the last two characters of "00" + minor.
    const std::string padded = "00" + std::to_string(minor);
    std::string name =
        "Windows NT Version " + std::to_string(major) + "." + padded.substr(padded.size() - 2);
    if (extendedKnown) {
        if (productType == ProductWorkstation) {
            name += " Workstation";
        } else if (productType == ProductServer) {
            name += " Server";
        }
    }
    return name;
}

std::string VersionSuffix(std::uint32_t major, std::uint32_t minor, const std::string& build) {
    return " Version " + std::to_string(major) + "." + std::to_string(minor) + " Build " + build;
}

std::optional<std::string> ReadWholeFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Unquotes an os-release value the way a shell would for the forms that file
// uses: double quotes with backslash escapes, single quotes taken literally, or a
// bare word with backslash escapes. Anything after a closing quote is ignored.
std::string UnquoteValue(std::string_view raw) {
    std::string out;
    if (!raw.empty() && raw.front() == '\'') {
        raw.remove_prefix(1);
        return std::string(raw.substr(0, raw.find('\'')));
    }
    const bool doubleQuoted = !raw.empty() && raw.front() == '"';
    if (doubleQuoted) {
        raw.remove_prefix(1);
    }
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '\\' && i + 1 < raw.size()) {
            out += raw[++i];
        } else if (doubleQuoted && c == '"') {
            break;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

std::int16_t LoWord(std::uint32_t value) {
    const std::int32_t low = static_cast<std::int32_t>(value & 0xFFFFu);
    return static_cast<std::int16_t>((low & 0x8000) != 0 ? low - 65536 : low);
}

std::string GetOSName(const std::optional<OsVersionRecordEx>& extended,
                      const std::optional<OsVersionRecord>& standard) {
    const bool extendedKnown = extended.has_value();
    const std::uint16_t suiteMask = extendedKnown ? extended->SuiteMask : 0;
    const std::uint8_t productType = extendedKnown ? extended->ProductType : 0;

    if (!standard) {
        return std::string(OsInfoFailedText);
    }
    const OsVersionRecord& rec = *standard;
    const std::string sp = CutAtNul(rec.ServicePack);

    if (rec.PlatformId == PlatformWin9x) {
        // The 9x family keeps its version in the high half of the build number, and
        // its service-pack text is an edition letter, not something to print.
        return Win9xName(rec, sp) + VersionSuffix(rec.MajorVersion, rec.MinorVersion,
                                                  std::to_string(LoWord(rec.BuildNumber)));
    }
    if (rec.PlatformId == PlatformWinNT) {
        std::string result =
            WinNtName(rec, extendedKnown, suiteMask, productType) +
            VersionSuffix(rec.MajorVersion, rec.MinorVersion, std::to_string(rec.BuildNumber));
        if (!sp.empty()) {
            result += " (" + sp + ")";
        }
        return result;
    }
    return {};
}

std::optional<std::string> ParseOsReleasePrettyName(std::string_view content) {
    constexpr std::string_view key = "PRETTY_NAME=";
    std::optional<std::string> found;
    ForEachLineEndedByLf(content, [&](std::string_view line) {
        const auto start = line.find_first_not_of(" \t");
        if (start == std::string_view::npos) {
            return;
        }
        line.remove_prefix(start);
        if (line.front() == '#' || !line.starts_with(key)) {
            return;
        }
        line.remove_prefix(key.size());
        const auto last = line.find_last_not_of(" \t");
        line = last == std::string_view::npos ? std::string_view{} : line.substr(0, last + 1);
        // A later assignment overrides an earlier one, as when the file is sourced.
        found = UnquoteValue(line);
    });
    if (found && found->empty()) {
        return std::nullopt;
    }
    return found;
}

std::string ComposeSystemDescription(const std::optional<std::string>& prettyName,
                                     const std::optional<KernelInfo>& kernel) {
    std::string line;
    const auto append = [&line](const std::string& part) {
        if (part.empty()) {
            return;
        }
        if (!line.empty()) {
            line += ' ';
        }
        line += part;
    };
    if (prettyName) {
        append(*prettyName);
    }
    if (kernel) {
        append(kernel->SysName);
        append(kernel->Release);
        append(kernel->Machine);
    }
    if (line.empty()) {
        return std::string(OsInfoFailedText);
    }
    return line;
}

OsVersionRecordEx RecordsOf(const WindowsVersion& version) {
    OsVersionRecordEx record;
    record.MajorVersion = version.MajorVersion;
    record.MinorVersion = version.MinorVersion;
    record.BuildNumber = version.BuildNumber;
    record.PlatformId = version.PlatformId;
    record.ServicePack = version.ServicePack;
    record.SuiteMask = version.SuiteMask;
    record.ProductType = version.ProductType;
    return record;
}

std::string DescribeRunningSystem() {
    if (const std::optional<WindowsVersion> version = QueryWindowsVersion()) {
        const OsVersionRecordEx records = RecordsOf(*version);
        return GetOSName(records, static_cast<const OsVersionRecord&>(records));
    }
    std::optional<std::string> osRelease = ReadWholeFile("/etc/os-release");
    if (!osRelease) {
        osRelease = ReadWholeFile("/usr/lib/os-release");
    }
    std::optional<std::string> prettyName;
    if (osRelease) {
        prettyName = ParseOsReleasePrettyName(*osRelease);
    }

    return ComposeSystemDescription(prettyName, QueryKernelInfo());
}

std::string InformationText(const std::string& osName) {
    return "OS : " + osName;
}

} // namespace kelvaro
