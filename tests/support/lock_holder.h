#pragma once

// Another process holds a flock on a file until this object goes: the way a
// second program (an editor, a second Kelvaro) keeps a file the tests write.

#include <sys/file.h>
#include <sys/types.h>

#include <string>

namespace kelvaro::test {

class LockHolder {
public:
    // `operation` is LOCK_EX or LOCK_SH. Locked() says whether the child got it.
    explicit LockHolder(const std::string& path, int operation = LOCK_EX);
    ~LockHolder();
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    bool Locked() const { return locked_; }

private:
    pid_t child_ = -1;
    int release_ = -1;
    bool locked_ = false;
};

} // namespace kelvaro::test
