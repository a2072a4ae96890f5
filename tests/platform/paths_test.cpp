#include "platform/paths.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvaro {
namespace {

struct SplitCase {
    std::string Path;
    std::string Parent;
    std::string Name;
};

struct JoinCase {
    std::string Folder;
    std::string Name;
    std::string Joined;
};

#ifdef _WIN32
const std::vector<SplitCase> kSplits = {
    {"C:\\Users\\作者\\ReadMe.txt", "C:\\Users\\作者", "ReadMe.txt"},
    {"C:/Users/作者/ReadMe.txt", "C:/Users/作者", "ReadMe.txt"},
    {"C:\\Forms/mixed\\a.ref", "C:\\Forms/mixed", "a.ref"},
    {"C:\\a.ref", "C:\\", "a.ref"},
    {"C:a.ref", "C:", "a.ref"},
    {"C:\\", "C:\\", ""},
    {"\\\\server\\share\\forms\\a.ref", "\\\\server\\share\\forms", "a.ref"},
    {"\\\\server\\share\\a.ref", "\\\\server\\share\\", "a.ref"},
    {"\\\\?\\C:\\long\\a.ref", "\\\\?\\C:\\long", "a.ref"},
    {"\\\\?\\C:\\a.ref", "\\\\?\\C:\\", "a.ref"},
    {"\\\\?\\UNC\\server\\share\\a.ref", "\\\\?\\UNC\\server\\share\\", "a.ref"},
    {"\\a.ref", "\\", "a.ref"},
    {"forms\\\\a.ref", "forms", "a.ref"},
    {"forms\\", "forms", ""},
    {"a.ref", "", "a.ref"},
};
const std::vector<JoinCase> kJoins = {
    {"C:\\Forms", "a.ref", "C:\\Forms\\a.ref"},
    {"C:\\Forms\\", "a.ref", "C:\\Forms\\a.ref"},
    {"C:/Forms/", "a.ref", "C:/Forms/a.ref"},
    {"C:\\", "a.ref", "C:\\a.ref"},
    {"C:", "a.ref", "C:a.ref"},
    {"", "a.ref", "a.ref"},
};
#else
const std::vector<SplitCase> kSplits = {
    {"/home/作者/ReadMe.txt", "/home/作者", "ReadMe.txt"},
    {"/a.ref", "/", "a.ref"},
    {"//a.ref", "/", "a.ref"},
    {"/", "/", ""},
    {"forms//a.ref", "forms", "a.ref"},
    {"forms/", "forms", ""},
    {"forms\\a.ref", "", "forms\\a.ref"}, // a backslash is part of a POSIX name
    {"a.ref", "", "a.ref"},
};
const std::vector<JoinCase> kJoins = {
    {"/home/作者", "a.ref", "/home/作者/a.ref"},
    {"/home/作者/", "a.ref", "/home/作者/a.ref"},
    {"/", "a.ref", "/a.ref"},
    {"C:\\", "a.ref", "C:\\/a.ref"},
    {"", "a.ref", "a.ref"},
};
#endif

TEST(Paths, SplitsAtTheLastSeparatorAndKeepsRootsWhole) {
    for (const SplitCase& c : kSplits) {
        EXPECT_EQ(ParentFolder(c.Path), c.Parent) << c.Path;
        EXPECT_EQ(FileName(c.Path), c.Name) << c.Path;
    }
}

TEST(Paths, JoinsWithOneSeparator) {
    for (const JoinCase& c : kJoins) {
        EXPECT_EQ(JoinPath(c.Folder, c.Name), c.Joined) << c.Folder << " + " << c.Name;
    }
}

TEST(Paths, JoiningTheSplitPartsNamesTheSameFile) {
    for (const SplitCase& c : kSplits) {
        if (c.Name.empty() || c.Parent.empty()) {
            continue;
        }
        const std::string joined = JoinPath(ParentFolder(c.Path), FileName(c.Path));
        EXPECT_EQ(ParentFolder(joined), c.Parent) << c.Path;
        EXPECT_EQ(FileName(joined), c.Name) << c.Path;
    }
}

TEST(WithTrailingBackslash, AppendsThePlatformsSeparatorOnce) {
    const std::string separator(1, FolderSeparator());
    for (const std::string& folder : {std::string("forms"), std::string("作者")}) {
        EXPECT_EQ(WithTrailingBackslash(folder), folder + separator);
        EXPECT_EQ(WithTrailingBackslash(folder + separator), folder + separator);
    }
    EXPECT_EQ(WithTrailingBackslash(""), separator);
    EXPECT_EQ(WithTrailingBackslash("forms/"), "forms/");
}

} // namespace
} // namespace kelvaro
