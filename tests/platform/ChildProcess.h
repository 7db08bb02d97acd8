#pragma once

#include <cerrno>
#include <csignal>
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
    /// What run() answers when the check did not finish by itself.
    static constexpr const char* kTimedOut = "<timed out>";
    static constexpr const char* kCrashed = "<crashed>";
    static constexpr const char* kThrew = "<threw>";
    static constexpr const char* kNoUnprivilegedUser = "<cannot drop privileges>";

    /// The user and group a privileged test drops to, so that permissions apply to it.
    static constexpr uid_t kNobody = 65534;

    /// Whether run(..., true) takes the permissions of an ordinary user: either the tests run
    /// as one, or they run as root and may become one.
    static bool runsUnprivileged() { return ::geteuid() != 0 || canDropPrivileges(); }

    /// The text `check` returns in a child process, or one of the k texts above. With
    /// `unprivileged`, a child of root becomes kNobody first.
    static std::string run(const std::function<std::string()>& check, bool unprivileged = false,
                           unsigned timeoutSeconds = 20) {
        int channel[2];
        if (::pipe(channel) != 0) {
            return kCrashed;
        }
        std::fflush(nullptr);
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(channel[0]);
            ::alarm(timeoutSeconds);
            std::string answer = kNoUnprivilegedUser;
            if (!unprivileged || ::geteuid() != 0 || dropPrivileges()) {
                // Nothing may leave the child but its answer: an exception caught by the test
                // framework would run the rest of the suite a second time.
                try {
                    answer = check();
                } catch (...) {
                    answer = kThrew;
                }
            }
            for (std::size_t done = 0; done < answer.size();) {
                const ssize_t written =
                    ::write(channel[1], answer.data() + done, answer.size() - done);
                if (written <= 0) {
                    break;
                }
                done += static_cast<std::size_t>(written);
            }
            ::_exit(0);
        }
        ::close(channel[1]);
        std::string answer;
        char buffer[4096];
        for (ssize_t count; (count = ::read(channel[0], buffer, sizeof buffer)) != 0;) {
            if (count > 0) {
                answer.append(buffer, static_cast<std::size_t>(count));
            } else if (errno != EINTR) {
                break;
            }
        }
        ::close(channel[0]);
        int status = 0;
        if (child < 0 || ::waitpid(child, &status, 0) != child) {
            return kCrashed;
        }
        if (WIFSIGNALED(status)) {
            return WTERMSIG(status) == SIGALRM ? kTimedOut : kCrashed;
        }
        return answer;
    }

private:
    static bool dropPrivileges() {
        return ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
    }

    static bool canDropPrivileges() {
        return run([] { return std::string(::geteuid() == kNobody ? "dropped" : "kept"); }, true) ==
               "dropped";
    }
};

}  // namespace platform_test
