#include "support/lock_holder.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kelvaro::test {

LockHolder::LockHolder(const std::string& path, int operation) {
    int ready[2];
    int release[2];
    if (pipe(ready) != 0) {
        return;
    }
    if (pipe(release) != 0) {
        close(ready[0]);
        close(ready[1]);
        return;
    }
    child_ = fork();
    if (child_ == 0) {
        close(ready[0]);
        close(release[1]);
        int fd = open(path.c_str(), O_RDONLY);
        char ok = fd >= 0 && flock(fd, operation) == 0 ? '1' : '0';
        (void)!write(ready[1], &ok, 1);
        (void)!read(release[0], &ok, 1);
        _exit(0);
    }
    close(ready[1]);
    close(release[0]);
    release_ = release[1];
    char ok = '0';
    locked_ = child_ > 0 && read(ready[0], &ok, 1) == 1 && ok == '1';
    close(ready[0]);
}

LockHolder::~LockHolder() {
    if (release_ >= 0) {
        close(release_);
    }
    if (child_ > 0) {
        waitpid(child_, nullptr, 0);
    }
}

} // namespace kelvaro::test
