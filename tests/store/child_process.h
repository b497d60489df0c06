#pragma once
// Running part of a test in a child process of its own: a copy of the game killed or
// running beside this one, or a player without root's privileges.
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "registry_db.h"

namespace karvelo::test {

inline constexpr char kSeparator = '\x1E';

struct Child {
    pid_t pid = -1;
    int fd = -1;
};

// Runs body in a child process, as an unprivileged user when asked and the tests
// run as root (root writes through any read-only permission).
inline Child StartChild(const std::function<std::string()>& body, bool dropPrivileges) {
    CloseUserRegistry();  // the child must not share our connection
    int out[2];
    if (::pipe(out) != 0) return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(out[0]);
        if (dropPrivileges && ::geteuid() == 0 &&
            (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(3);
        const std::string report = body();
        size_t done = 0;
        while (done < report.size()) {
            const ssize_t n = ::write(out[1], report.data() + done, report.size() - done);
            if (n <= 0) ::_exit(4);
            done += static_cast<size_t>(n);
        }
        ::_exit(0);
    }
    ::close(out[1]);
    return {pid, out[0]};
}

// Everything the child reported, once it has ended.
inline std::string FinishChild(const Child& child) {
    if (child.pid < 0) return "no child";
    std::string report;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(child.fd, buffer, sizeof buffer)) > 0)
        report.append(buffer, static_cast<size_t>(n));
    ::close(child.fd);
    int status = 0;
    ::waitpid(child.pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "child failed";
    return report;
}

inline std::string InChild(const std::function<std::string()>& body, bool dropPrivileges) {
    return FinishChild(StartChild(body, dropPrivileges));
}

inline std::string Joined(const std::vector<std::string>& texts) {
    std::string out;
    for (const auto& t : texts) out += t + kSeparator;
    return out;
}

}  // namespace karvelo::test
