#pragma once

#include <cstdio>
#include <functional>
#include <string>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace platform_test {

/// Runs a check in a child process that a timeout stops, optionally as an unprivileged user,
/// and hands back what the check answered as text.
class ChildProcess {
public:
    /// The user and group a privileged test drops to, so that permissions apply to it.
    static constexpr uid_t kNobody = 65534;

    /// Whether run(..., true) takes the permissions of an ordinary user: either the tests run
    /// as one, or they run as root and may become one.
    static bool runsUnprivileged() {
        return ::geteuid() != 0 ||
               run([] { return std::string(::geteuid() == kNobody ? "dropped" : "kept"); }, true) ==
                   "dropped";
    }

    /// The text `check` returns in a child process (with `unprivileged`, a child of root becomes
    /// kNobody first); "<threw>" or "<cannot drop privileges>" where it has no answer, and
    /// "<signal N>" where a crash or the timeout (SIGALRM) ended it.
    static std::string run(const std::function<std::string()>& check, bool unprivileged = false,
                           unsigned timeoutSeconds = 20) {
        int channel[2];
        if (::pipe(channel) != 0) {
            return "<no pipe>";
        }
        std::fflush(nullptr);
        const pid_t child = ::fork();
        if (child == 0) {
            ::alarm(timeoutSeconds);
            std::string answer = "<cannot drop privileges>";
            if (!unprivileged || ::geteuid() != 0 || dropPrivileges()) {
                // Nothing may leave the child but its answer: an exception caught by the test
                // framework would run the rest of the suite a second time.
                try {
                    answer = check();
                } catch (...) {
                    answer = "<threw>";
                }
            }
            (void)!::write(channel[1], answer.data(), answer.size());
            ::_exit(0);
        }
        ::close(channel[1]);
        std::string answer;
        char buffer[4096];
        for (ssize_t count; (count = ::read(channel[0], buffer, sizeof buffer)) > 0;) {
            answer.append(buffer, static_cast<std::size_t>(count));
        }
        ::close(channel[0]);
        int status = 0;
        if (child < 0 || ::waitpid(child, &status, 0) != child) {
            return "<no child>";
        }
        return WIFSIGNALED(status) ? "<signal " + std::to_string(WTERMSIG(status)) + ">" : answer;
    }

private:
    static bool dropPrivileges() {
        return ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
    }
};

}  // namespace platform_test
