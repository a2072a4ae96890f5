#include "support/ordinary_user.h"

#include <exception>
#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kelvaro::test {

std::optional<OrdinaryUser> FindOrdinaryUser() {
    if (geteuid() != 0) {
        return OrdinaryUser{geteuid(), getegid()};
    }
    const passwd* nobody = getpwnam("nobody");
    if (nobody == nullptr || nobody->pw_uid == 0) {
        return std::nullopt;
    }
    return OrdinaryUser{nobody->pw_uid, nobody->pw_gid};
}

namespace {

constexpr int kCouldNotSwitch = 3;

bool BecomeOrdinaryUser(const OrdinaryUser& user) {
    if (geteuid() != 0) {
        return true;
    }
    return setgroups(0, nullptr) == 0 && setgid(user.Gid) == 0 && setuid(user.Uid) == 0 &&
           geteuid() != 0;
}

} // namespace

std::optional<std::string> RunAsOrdinaryUser(const std::function<std::string()>& work) {
    const std::optional<OrdinaryUser> user = FindOrdinaryUser();
    if (!user) {
        return std::nullopt;
    }
    int report[2];
    if (pipe(report) != 0) {
        return std::nullopt;
    }
    const pid_t child = fork();
    if (child < 0) {
        close(report[0]);
        close(report[1]);
        return std::nullopt;
    }
    if (child == 0) {
        close(report[0]);
        if (!BecomeOrdinaryUser(*user)) {
            _exit(kCouldNotSwitch);
        }
        std::string text;
        try {
            text = work();
        } catch (const std::exception& error) {
            text = std::string("escaped: ") + error.what();
        }
        const char* data = text.data();
        std::size_t left = text.size();
        while (left > 0) {
            const ssize_t done = write(report[1], data, left);
            if (done <= 0) {
                break;
            }
            data += done;
            left -= static_cast<std::size_t>(done);
        }
        _exit(0);
    }
    close(report[1]);
    std::string text;
    char buffer[4096];
    ssize_t got = 0;
    while ((got = read(report[0], buffer, sizeof buffer)) > 0) {
        text.append(buffer, static_cast<std::size_t>(got));
    }
    close(report[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status)) {
        return text + "\nthe child process ended abnormally";
    }
    if (WEXITSTATUS(status) == kCouldNotSwitch) {
        return std::nullopt;
    }
    return text;
}

} // namespace kelvaro::test
