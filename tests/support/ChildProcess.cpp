#include "support/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

} // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& arguments) {
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
        throw std::runtime_error("cannot create a pipe");
    }
    FOutputPipe = pipeEnds[0];
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDERR_FILENO);
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    const int failure = posix_spawn(&FPid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (failure != 0) {
        close(FOutputPipe);
        throw std::runtime_error("cannot start " + arguments[0] + ": " + std::strerror(failure));
    }
}

ChildProcess::~ChildProcess() {
    if (FPid > 0 && !FExited) {
        kill(FPid, SIGKILL);
        waitpid(FPid, nullptr, 0);
    }
    close(FOutputPipe);
}

bool ChildProcess::ReadSome(std::chrono::milliseconds wait) {
    pollfd watched{FOutputPipe, POLLIN, 0};
    if (poll(&watched, 1, static_cast<int>(wait.count())) != 1) {
        return false;
    }
    char buffer[4096];
    const ssize_t count = read(FOutputPipe, buffer, sizeof(buffer));
    if (count <= 0) {
        return false;
    }
    FOutput.append(buffer, static_cast<std::size_t>(count));
    return true;
}

bool ChildProcess::WaitForOutput(const std::string& text, std::chrono::milliseconds wait) {
    const auto until = Clock::now() + wait;
    while (FOutput.find(text) == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
        if (left.count() <= 0 || !ReadSome(left)) {
            return FOutput.find(text) != std::string::npos;
        }
    }
    return true;
}

void ChildProcess::DrainOutput(std::chrono::milliseconds wait) {
    const auto until = Clock::now() + wait;
    for (auto left = wait; left.count() > 0;
         left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now())) {
        if (!ReadSome(left)) {
            // The time is up, or the output has ended and there is nothing more to read.
            std::this_thread::sleep_until(until);
        }
    }
}

void ChildProcess::Signal(int signal) const {
    kill(FPid, signal);
}

std::optional<int> ChildProcess::WaitForExit(std::chrono::milliseconds wait) {
    const auto until = Clock::now() + wait;
    int status = 0;
    while (waitpid(FPid, &status, WNOHANG) == 0) {
        if (Clock::now() >= until) {
            return std::nullopt;
        }
        if (!ReadSome(std::chrono::milliseconds(5))) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    FExited = true;
    while (ReadSome(std::chrono::milliseconds(0))) {
    }
    return WIFEXITED(status) ? std::optional<int>(WEXITSTATUS(status)) : std::nullopt;
}
