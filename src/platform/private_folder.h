#pragma once

// Folders for the files the program names itself (the browser page, write-ahead
// files, temporary files). Another user who can write such a folder could plant
// a link or a file of his own under a name the program is about to use, so the
// program works only in folders that the user owns and nobody else may write.

#include <string>

namespace kelvaro {

// Makes `path` a private folder: missing folders on the way, and the folder
// itself, are created with mode 0700. A folder that is already there is accepted
// only when it is a folder (a link to one counts when the user owns the link),
// owned by this user and not writable by group or others. Anything else is a
// RuntimeError naming the folder, with a cause that says what is wrong with it.
void MakePrivateFolder(const std::string& path);

// The user's home folder: HOME, or the password database's entry for this user
// when HOME is unset or empty; "" when neither knows one.
std::string HomeFolder();

} // namespace kelvaro
