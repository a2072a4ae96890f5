#pragma once

// Runs part of a test as a user without root's powers, for what only such a
// user meets: a folder it may not write, a sticky folder it does not own. Tests
// often run as root, whom no folder mode stops.

#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>

namespace kelvaro::test {

struct OrdinaryUser {
    uid_t Uid = 0;
    gid_t Gid = 0;
};

// The user the work runs as: "nobody" when this process is root, this process's
// own user otherwise.
std::optional<OrdinaryUser> FindOrdinaryUser();

// Runs `work` in a child process as that user and returns what it returned: a
// report of what went wrong, "" when nothing did. nullopt when the child could
// not become that user. Nothing the child does touches this process's state.
std::optional<std::string> RunAsOrdinaryUser(const std::function<std::string()>& work);

} // namespace kelvaro::test
