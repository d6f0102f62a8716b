// SPDX-License-Identifier: GPL-2.0-or-later
#include "program_runner.h"

#include <cstdlib>
#include <sstream>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::vector<std::string> CommandLine(const std::vector<std::string>& arguments) {
    std::vector<std::string> command;
    if (const char* wrapper = std::getenv("VELDRIN_TEST_WRAPPER")) {
        std::istringstream words(wrapper);
        for (std::string word; words >> word;) command.push_back(word);
    }
    command.push_back(VELDRIN_PROGRAM);
    command.insert(command.end(), arguments.begin(), arguments.end());
    return command;
}

// Reads both pipes until both close, so that neither can fill up and stall the program.
void Drain(int outFd, int errFd, ProgramResult* result) {
    pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
    std::string* sinks[2] = {&result->out, &result->err};
    int open = outFd >= 0 ? 2 : 1;
    if (outFd < 0) fds[0].fd = -1;
    char buffer[65536];
    while (open > 0) {
        if (poll(fds, 2, -1) < 0) break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) continue;
            const ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
            if (got > 0) {
                sinks[i]->append(buffer, static_cast<size_t>(got));
            } else {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
}

}  // namespace

ProgramResult RunProgram(const std::vector<std::string>& arguments, const std::string& stdoutPath,
                         uint64_t dataLimit) {
    const std::vector<std::string> command = CommandLine(arguments);
    std::vector<char*> argv;
    for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);

    int outPipe[2] = {-1, -1};
    int errPipe[2];
    if ((stdoutPath.empty() && pipe(outPipe) != 0) || pipe(errPipe) != 0) return {};
    const pid_t child = fork();
    if (child == 0) {
        if (stdoutPath.empty()) {
            dup2(outPipe[1], STDOUT_FILENO);
        } else {
            const int fd = open(stdoutPath.c_str(), O_WRONLY);
            dup2(fd, STDOUT_FILENO);
        }
        dup2(errPipe[1], STDERR_FILENO);
        const int devNull = open("/dev/null", O_RDONLY);
        dup2(devNull, STDIN_FILENO);
        if (dataLimit != 0) {
            const rlimit limit = {static_cast<rlim_t>(dataLimit), static_cast<rlim_t>(dataLimit)};
            if (setrlimit(RLIMIT_DATA, &limit) != 0) _exit(126);
        }
        execvp(argv[0], argv.data());
        _exit(127);
    }
    if (stdoutPath.empty()) close(outPipe[1]);
    close(errPipe[1]);
    ProgramResult result;
    Drain(outPipe[0], errPipe[0], &result);
    int status = 0;
    waitpid(child, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}
