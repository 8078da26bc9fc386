#pragma once

#include <chrono>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

// When a file is opened, by any process, as inotify reports it: a program's reads of the file
// seen from outside. Fails with std::runtime_error when the file cannot be watched.
class TFileOpenings {
public:
    explicit TFileOpenings(const std::filesystem::path& file);
    ~TFileOpenings();
    TFileOpenings(const TFileOpenings&) = delete;
    TFileOpenings& operator=(const TFileOpenings&) = delete;

    std::vector<std::chrono::steady_clock::time_point> Times() const;

private:
    void Watch();

    int FNotify = -1;
    int FStopEvent = -1;
    mutable std::mutex FLock;
    std::vector<std::chrono::steady_clock::time_point> FTimes;
    std::thread FWatcher;
};
