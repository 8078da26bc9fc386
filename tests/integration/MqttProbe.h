#pragma once

#include "log/DLogObject.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace mqtttest {

// Collects lines from other threads (log messages, incoming messages) and waits for them.
class TLines {
public:
    void Add(std::string line) {
        {
            std::lock_guard lock(FLock);
            FLines.push_back(std::move(line));
        }
        FChanged.notify_all();
    }
    TDLogMessage Log() {
        return
            [this](const std::string& source, const std::string& message) { Add(source + ": " + message); };
    }
    // How many lines hold `text`.
    std::size_t Count(const std::string& text) const {
        std::lock_guard lock(FLock);
        return static_cast<std::size_t>(
            std::count_if(FLines.begin(), FLines.end(),
                          [&](const std::string& line) { return line.find(text) != std::string::npos; }));
    }
    // Waits until `count` lines hold `text`.
    bool WaitFor(const std::string& text, std::size_t count = 1,
                 std::chrono::milliseconds wait = std::chrono::seconds(10)) const {
        std::unique_lock lock(FLock);
        return FChanged.wait_for(lock, wait, [&] {
            return static_cast<std::size_t>(
                       std::count_if(FLines.begin(), FLines.end(), [&](const std::string& line) {
                           return line.find(text) != std::string::npos;
                       })) >= count;
        });
    }
    std::string All() const {
        std::lock_guard lock(FLock);
        std::string all;
        for (const std::string& line : FLines) {
            all += line + "\n";
        }
        return all;
    }

private:
    mutable std::mutex FLock;
    mutable std::condition_variable FChanged;
    std::vector<std::string> FLines;
};

} // namespace mqtttest
