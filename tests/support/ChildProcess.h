#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

// A program started by a test or benchmark, its standard output and error caught in one pipe.
// Killed when the object goes, if it still runs. Fails with std::runtime_error when it cannot start.
class ChildProcess {
public:
    explicit ChildProcess(const std::vector<std::string>& arguments);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Reads the output until it holds `text` (true), it ends or `wait` has passed.
    bool WaitForOutput(const std::string& text, std::chrono::milliseconds wait);
    const std::string& Output() const { return FOutput; }
    // Keeps reading the output for `wait`, so that the program never blocks on a full pipe.
    void DrainOutput(std::chrono::milliseconds wait);

    pid_t Pid() const { return FPid; }
    void Signal(int signal) const;
    // The exit status, when the program ended normally within `wait`.
    std::optional<int> WaitForExit(std::chrono::milliseconds wait);

private:
    bool ReadSome(std::chrono::milliseconds wait);

    pid_t FPid = -1;
    int FOutputPipe = -1;
    bool FExited = false;
    std::string FOutput;
};
