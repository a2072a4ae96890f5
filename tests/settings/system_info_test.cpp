#include "settings/system_info.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/utsname.h>
#endif

#include <vector>

namespace kelvaro {
namespace {

// A record as a query leaves it: the service-pack text padded to the full
// 128-byte field with NULs, and left-over bytes after the terminator.
std::string ServicePackField(std::string_view text, std::string_view leftOver = {}) {
    std::string field(text);
    field += '\0';
    field += leftOver;
    field.resize(128, '\0');
    return field;
}

OsVersionRecord Record(std::uint32_t platform, std::uint32_t major, std::uint32_t minor,
                       std::uint32_t build, std::string_view sp = {}) {
    OsVersionRecord rec;
    rec.PlatformId = platform;
    rec.MajorVersion = major;
    rec.MinorVersion = minor;
    rec.BuildNumber = build;
    rec.ServicePack = ServicePackField(sp);
    return rec;
}

OsVersionRecordEx Extended(const OsVersionRecord& rec, std::uint8_t productType,
                           std::uint16_t suiteMask = 0) {
    OsVersionRecordEx ex;
    static_cast<OsVersionRecord&>(ex) = rec;
    ex.ProductType = productType;
    ex.SuiteMask = suiteMask;
    return ex;
}

struct NameCase {
    const char* label;
    OsVersionRecord standard;
    std::optional<OsVersionRecordEx> extended;
    std::string expected;
};

void ExpectNames(const std::vector<NameCase>& cases) {
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(GetOSName(c.extended, c.standard), c.expected);
    }
}

// A 9x build number carries major and minor in its high half.
constexpr std::uint32_t Build9x(std::uint32_t major, std::uint32_t minor, std::uint32_t low) {
    return (major << 24) | (minor << 16) | low;
}

TEST(LoWord, TakesTheLowHalfAsSigned) {
    EXPECT_EQ(LoWord(0), 0);
    EXPECT_EQ(LoWord(950), 950);
    EXPECT_EQ(LoWord(32767), 32767);
    EXPECT_EQ(LoWord(32768), -32768);
    EXPECT_EQ(LoWord(65535), -1);
    EXPECT_EQ(LoWord(65536), 0);
    EXPECT_EQ(LoWord(0x040A08AEu), 2222);
    EXPECT_EQ(LoWord(0xFFFF7FFFu), 32767);
    EXPECT_EQ(LoWord(0x12348000u), -32768);
}

TEST(GetOSName, Win9xFamily) {
    const OsVersionRecord win98se = Record(1, 4, 10, Build9x(4, 10, 2222), " A");
    ExpectNames({
        {"98 SE example", win98se, Extended(win98se, 0),
         "Windows 98 Second Edition Version 4.10 Build 2222"},
        {"95 example", Record(1, 4, 0, 950), std::nullopt, "Windows 95 Version 4.0 Build 950"},
        {"95 C", Record(1, 4, 0, 1212, "C"), std::nullopt,
         "Windows 95 OSR2.5 Version 4.0 Build 1212"},
        {"95 blank B", Record(1, 4, 0, 1111, " B"), std::nullopt,
         "Windows 95 OSR2/2.1 Version 4.0 Build 1111"},
        {"95 lower-case b", Record(1, 4, 0, 1111, " b "), std::nullopt,
         "Windows 95 OSR2/2.1 Version 4.0 Build 1111"},
        {"95 A", Record(1, 4, 0, 950, "A"), std::nullopt,
         "Windows 95 SP1/OSR1 Version 4.0 Build 950"},
        {"95 letter is the whole text", Record(1, 4, 0, 950, "A B"), std::nullopt,
         "Windows 95 Version 4.0 Build 950"},
        {"98 lower-case a", Record(1, 4, 10, 2222, "a"), std::nullopt,
         "Windows 98 Second Edition Version 4.10 Build 2222"},
        {"98 plain", Record(1, 4, 10, 1998), std::nullopt, "Windows 98 Version 4.10 Build 1998"},
        {"98 ignores C", Record(1, 4, 10, 1998, "C"), std::nullopt,
         "Windows 98 Version 4.10 Build 1998"},
        {"Me ignores letter", Record(1, 4, 90, 3000, "A"), std::nullopt,
         "Windows Me Version 4.90 Build 3000"},
        {"unknown minor", Record(1, 4, 91, 3000), std::nullopt,
         "Windows Me later (Unknown) Version 4.91 Build 3000"},
        {"major not 4", Record(1, 5, 0, 100, "A"), std::nullopt,
         "Windows Me later (Unknown) Version 5.0 Build 100"},
        {"negative build", Record(1, 4, 0, Build9x(4, 0, 40000)), std::nullopt,
         "Windows 95 Version 4.0 Build -25536"},
    });
}

TEST(GetOSName, NtFamilyMajorFive) {
    const OsVersionRecord w2k = Record(2, 5, 0, 2195, "Service Pack 4");
    const OsVersionRecord xp = Record(2, 5, 1, 2600, "Service Pack 1");
    const OsVersionRecord xpNoSp = Record(2, 5, 1, 2600);
    ExpectNames({
        {"2000 workstation", w2k, Extended(w2k, 1),
         "Windows 2000 Professional Version 5.0 Build 2195 (Service Pack 4)"},
        {"2000 server", w2k, Extended(w2k, 3),
         "Windows 2000 Server Version 5.0 Build 2195 (Service Pack 4)"},
        {"2000 domain controller", w2k, Extended(w2k, 2),
         "Windows 2000 Version 5.0 Build 2195 (Service Pack 4)"},
        {"2000 extended failed", w2k, std::nullopt,
         "Windows 2000 Version 5.0 Build 2195 (Service Pack 4)"},
        {"XP professional example", xp, Extended(xp, 1, 0),
         "Windows XP Professional Version 5.1 Build 2600 (Service Pack 1)"},
        {"XP home example", xpNoSp, Extended(xpNoSp, 0, 0x0300),
         "Windows XP Home Edition Version 5.1 Build 2600"},
        {"XP home wins over product type", xpNoSp, Extended(xpNoSp, 1, 0x0200),
         "Windows XP Home Edition Version 5.1 Build 2600"},
        {"XP other suite bits", xpNoSp, Extended(xpNoSp, 1, 0x0100),
         "Windows XP Professional Version 5.1 Build 2600"},
        {"XP server", xpNoSp, Extended(xpNoSp, 3),
         "Windows 2002 .NET Server Version 5.1 Build 2600"},
        {"XP domain controller", xpNoSp, Extended(xpNoSp, 2), "Windows XP Version 5.1 Build 2600"},
        {"XP extended failed", xp, std::nullopt,
         "Windows XP Version 5.1 Build 2600 (Service Pack 1)"},
        {"5.2", Record(2, 5, 2, 3790, "Service Pack 2"), Extended(xp, 3),
         "Windows Whistlar later (Unknown) Version 5.2 Build 3790 (Service Pack 2)"},
        {"6.0 example", Record(2, 6, 0, 6000), std::nullopt,
         "Windows Whistlar later (Unknown) Version 6.0 Build 6000"},
        {"major above 5 ignores editions", Record(2, 10, 0, 19045), Extended(xp, 1, 0x0200),
         "Windows Whistlar later (Unknown) Version 10.0 Build 19045"},
    });
}

TEST(GetOSName, NtFamilyBeforeFive) {
    const OsVersionRecord nt4 = Record(2, 4, 0, 1381, "Service Pack 6");
    const OsVersionRecord nt351 = Record(2, 3, 51, 1057);
    ExpectNames({
        {"NT 4 example, extended failed", nt4, std::nullopt,
         "Windows NT Version 4.00 Version 4.0 Build 1381 (Service Pack 6)"},
        {"NT 4 workstation", nt4, Extended(nt4, 1),
         "Windows NT Version 4.00 Workstation Version 4.0 Build 1381 (Service Pack 6)"},
        {"NT 4 server", nt4, Extended(nt4, 3),
         "Windows NT Version 4.00 Server Version 4.0 Build 1381 (Service Pack 6)"},
        {"NT 4 domain controller", nt4, Extended(nt4, 2),
         "Windows NT Version 4.00 Version 4.0 Build 1381 (Service Pack 6)"},
        {"NT 3.51 two digits", nt351, std::nullopt,
         "Windows NT Version 3.51 Version 3.51 Build 1057"},
        {"one-digit minor padded", Record(2, 3, 5, 807), std::nullopt,
         "Windows NT Version 3.05 Version 3.5 Build 807"},
        {"three-digit minor keeps last two", Record(2, 4, 123, 1), std::nullopt,
         "Windows NT Version 4.23 Version 4.123 Build 1"},
    });
}

TEST(GetOSName, BuildNumberAndServicePackOfTheNtFamily) {
    OsVersionRecord rec = Record(2, 5, 2, 0xFFFFFFFFu);
    rec.ServicePack = ServicePackField("Service Pack 2", "garbage");
    // all 32 bits of the build, and the text only up to its terminator
    EXPECT_EQ(GetOSName(std::nullopt, rec),
              "Windows Whistlar later (Unknown) Version 5.2 Build 4294967295 (Service Pack 2)");

    rec.ServicePack = std::string("\0Service Pack 3", 15);
    EXPECT_EQ(GetOSName(std::nullopt, rec),
              "Windows Whistlar later (Unknown) Version 5.2 Build 4294967295");

    // a field without any NUL is taken whole
    rec.ServicePack = "SP3";
    EXPECT_EQ(GetOSName(std::nullopt, rec),
              "Windows Whistlar later (Unknown) Version 5.2 Build 4294967295 (SP3)");
}

TEST(GetOSName, Win9xLetterIsCutAtTheFirstNul) {
    OsVersionRecord rec = Record(1, 4, 0, 950);
    rec.ServicePack = ServicePackField(" B", "C");
    EXPECT_EQ(GetOSName(std::nullopt, rec), "Windows 95 OSR2/2.1 Version 4.0 Build 950");
    rec.ServicePack = ServicePackField("", "A");
    EXPECT_EQ(GetOSName(std::nullopt, rec), "Windows 95 Version 4.0 Build 950");
}

TEST(GetOSName, FailedQueriesAndUnknownPlatforms) {
    const OsVersionRecord xp = Record(2, 5, 1, 2600);
    EXPECT_EQ(GetOSName(Extended(xp, 1), std::nullopt), "OS情報の取得に失敗");
    EXPECT_EQ(GetOSName(std::nullopt, std::nullopt), "OS情報の取得に失敗");

    EXPECT_EQ(GetOSName(std::nullopt, Record(0, 5, 1, 2600, "SP1")), "");
    EXPECT_EQ(GetOSName(Extended(xp, 1), Record(3, 5, 1, 2600)), "");
    EXPECT_EQ(InformationText(GetOSName(std::nullopt, Record(3, 5, 1, 2600))), "OS : ");
}

TEST(GetOSName, OnlyTheStandardRecordGivesTheVersion) {
    // the extended record contributes its edition fields and nothing else
    const OsVersionRecord xp = Record(2, 5, 1, 2600);
    OsVersionRecordEx ex = Extended(Record(2, 4, 0, 1381, "Service Pack 6"), 1);
    EXPECT_EQ(GetOSName(ex, xp), "Windows XP Professional Version 5.1 Build 2600");
}

TEST(InformationText, PrefixesTheDescription) {
    EXPECT_EQ(InformationText("Windows 95 Version 4.0 Build 950"),
              "OS : Windows 95 Version 4.0 Build 950");
    EXPECT_EQ(InformationText("OS情報の取得に失敗"), "OS : OS情報の取得に失敗");
}

TEST(ParseOsReleasePrettyName, QuotingForms) {
    EXPECT_EQ(ParseOsReleasePrettyName("PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n"),
              "Debian GNU/Linux 12 (bookworm)");
    EXPECT_EQ(ParseOsReleasePrettyName("PRETTY_NAME=Arch\n"), "Arch");
    EXPECT_EQ(ParseOsReleasePrettyName("PRETTY_NAME='Alpine Linux v3.19'"), "Alpine Linux v3.19");
    EXPECT_EQ(ParseOsReleasePrettyName(R"(PRETTY_NAME="My \"Best\" OS \\ \$HOME")"),
              R"(My "Best" OS \ $HOME)");
    // single quotes take backslashes literally
    EXPECT_EQ(ParseOsReleasePrettyName(R"(PRETTY_NAME='a\b')"), R"(a\b)");
    EXPECT_EQ(ParseOsReleasePrettyName("PRETTY_NAME=\"Fedora Linux 39\"\r\n"), "Fedora Linux 39");
    EXPECT_EQ(ParseOsReleasePrettyName("PRETTY_NAME=\"Ubuntu 22.04\"   \n"), "Ubuntu 22.04");
}

TEST(ParseOsReleasePrettyName, FindsTheKeyAmongOthers) {
    const std::string debian = "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n"
                               "NAME=\"Debian GNU/Linux\"\n"
                               "VERSION_ID=\"12\"\n"
                               "ID=debian\n";
    EXPECT_EQ(ParseOsReleasePrettyName(debian), "Debian GNU/Linux 12 (bookworm)");

    const std::string commented = "# PRETTY_NAME=\"Commented Out\"\n"
                                  "\n"
                                  "   \n"
                                  "NAME=Other\n"
                                  "MY_PRETTY_NAME=\"Not This\"\n"
                                  "  PRETTY_NAME=\"Indented\"\n";
    EXPECT_EQ(ParseOsReleasePrettyName(commented), "Indented");

    EXPECT_EQ(ParseOsReleasePrettyName("PRETTY_NAME=First\nPRETTY_NAME=Second\n"), "Second");
}

TEST(ParseOsReleasePrettyName, MissingOrEmpty) {
    EXPECT_EQ(ParseOsReleasePrettyName(""), std::nullopt);
    EXPECT_EQ(ParseOsReleasePrettyName("NAME=\"Debian GNU/Linux\"\nID=debian\n"), std::nullopt);
    EXPECT_EQ(ParseOsReleasePrettyName("#PRETTY_NAME=\"Hidden\"\n"), std::nullopt);
    EXPECT_EQ(ParseOsReleasePrettyName("PRETTY_NAME=\"\"\n"), std::nullopt);
    EXPECT_EQ(ParseOsReleasePrettyName("PRETTY_NAME=\n"), std::nullopt);
    EXPECT_EQ(ParseOsReleasePrettyName("PRETTY_NAME \"Spaced\"\n"), std::nullopt);
}

TEST(ComposeSystemDescription, JoinsWhatCouldBeRead) {
    const KernelInfo kernel{"Linux", "6.1.0-18-amd64", "x86_64"};
    EXPECT_EQ(ComposeSystemDescription("Debian GNU/Linux 12 (bookworm)", kernel),
              "Debian GNU/Linux 12 (bookworm) Linux 6.1.0-18-amd64 x86_64");
    EXPECT_EQ(ComposeSystemDescription(std::nullopt, kernel), "Linux 6.1.0-18-amd64 x86_64");
    EXPECT_EQ(ComposeSystemDescription("Debian GNU/Linux 12 (bookworm)", std::nullopt),
              "Debian GNU/Linux 12 (bookworm)");
    EXPECT_EQ(ComposeSystemDescription(std::nullopt, KernelInfo{"Linux", "", "aarch64"}),
              "Linux aarch64");
    EXPECT_EQ(ComposeSystemDescription(std::nullopt, std::nullopt), "OS情報の取得に失敗");
    EXPECT_EQ(ComposeSystemDescription(std::nullopt, KernelInfo{}), "OS情報の取得に失敗");
}

#ifdef _WIN32
// Every Windows this program runs on is NT 6.0 or later, which the table names
// as a later, unknown version, followed by the real numbers: ones a program
// without a compatibility manifest would not be told by GetVersionEx.
TEST(DescribeRunningSystem, NamesTheRealWindowsVersionThroughTheTable) {
    const std::optional<WindowsVersion> version = QueryWindowsVersion();
    ASSERT_TRUE(version);
    EXPECT_EQ(version->PlatformId, PlatformWinNT);
    EXPECT_GE(version->MajorVersion, 6u);
    const std::string expected =
        "Windows Whistlar later (Unknown) Version " + std::to_string(version->MajorVersion) + "." +
        std::to_string(version->MinorVersion) + " Build " + std::to_string(version->BuildNumber);
    const std::string line = DescribeRunningSystem();
    EXPECT_EQ(line.substr(0, expected.size()), expected) << line;
}
#else
TEST(DescribeRunningSystem, EndsWithWhatUnameReports) {
    utsname names{};
    ASSERT_EQ(uname(&names), 0);
    const std::string tail = std::string(names.sysname) + " " + names.release + " " + names.machine;
    const std::string line = DescribeRunningSystem();
    ASSERT_GE(line.size(), tail.size());
    EXPECT_EQ(line.substr(line.size() - tail.size()), tail);
}
#endif

} // namespace
} // namespace kelvaro
