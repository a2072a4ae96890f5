#pragma once

// Paths as the core spells them: UTF-8 text, joined and split here and nowhere
// else, so that code above platform/ never assumes which character separates a
// folder from a name. On POSIX that is "/". On Windows both "\" and "/" are
// understood and "\" is written; a drive ("C:", "C:\") or a share
// ("\\server\share\") at the start is a root, never split.

#include <string>
#include <string_view>

namespace kelvaro {

// The separator written between a folder and a name.
char FolderSeparator();
bool IsFolderSeparator(char c);

// The path with the platform's folder separator at its end, ready for a file
// name; a path that ends in a separator already is returned as it is.
std::string WithTrailingBackslash(const std::string& path);

// `name` inside `folder`; `name` alone when `folder` is empty.
std::string JoinPath(const std::string& folder, std::string_view name);

// The folder a path names its last part in, without a separator at its end
// unless it is a root; "" for a bare name. A path that ends in a separator
// names its last folder: "a/b/" lies in "a/b".
std::string ParentFolder(const std::string& path);

// The last part of a path: what follows its last separator (or its drive), ""
// when it ends in one.
std::string FileName(const std::string& path);

} // namespace kelvaro
