#pragma once

// Runs corehost (through the emulator in the ILP32 build) as a user does: `input` on its standard
// input, its output through files so that nothing can block on a full pipe, and an alarm that
// ends a process that hangs.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace corehost_test {

/// What a corehost process left behind.
struct Process {
    int status = -1;  // the exit status, or 128 + the signal that ended it
    std::string out;
    std::string err;
    long maxResidentKb = 0;
};

inline std::string slurp(const std::filesystem::path& path) {
    std::stringstream content;
    content << std::ifstream(path, std::ios::binary).rdbuf();
    return content.str();
}

inline Process corehost(const std::vector<std::string>& arguments, const std::string& input = "") {
    std::vector<std::string> command;
    std::istringstream emulator(COREHOST_EMULATOR);
    for (std::string word; emulator >> word;) {
        command.push_back(word);
    }
    command.push_back(COREHOST_BINARY);
    command.insert(command.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : command) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    const std::string base =
        (std::filesystem::temp_directory_path() / ("corehost-io-" + std::to_string(getpid())))
            .string();
    const std::string files[3] = {base + ".in", base + ".out", base + ".err"};
    std::ofstream(files[0], std::ios::binary) << input;
    const pid_t pid = fork();
    if (pid == 0) {
        for (int fd = 0; fd < 3; ++fd) {
            dup2(open(files[fd].c_str(), fd == 0 ? O_RDONLY : O_WRONLY | O_CREAT | O_TRUNC, 0600),
                 fd);
        }
        alarm(300);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    Process run{WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), slurp(files[1]),
                slurp(files[2]), usage.ru_maxrss};
    for (const std::string& file : files) {
        std::filesystem::remove(file);
    }
    return run;
}

}  // namespace corehost_test
