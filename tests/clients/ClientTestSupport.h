#pragma once

#include "datasources/DisplayDataSourceBase.h"
#include "log/DLogObject.h"
#include "platform/Clock.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace clienttest {

// Polls `condition` until it holds or 10 s have passed; answers whether it held.
inline bool WaitUntil(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

// Collects the messages a log object hands to its handler, from any thread.
class TLogRecorder {
public:
    TDLogMessage Handler() {
        return [this](const std::string& source, const std::string& msg) {
            std::lock_guard lock(FLock);
            FSources.push_back(source);
            FMessages.push_back(msg);
        };
    }
    std::vector<std::string> Messages() const {
        std::lock_guard lock(FLock);
        return FMessages;
    }
    std::vector<std::string> Sources() const {
        std::lock_guard lock(FLock);
        return FSources;
    }
    std::size_t Count(const std::string& msg) const {
        std::lock_guard lock(FLock);
        return static_cast<std::size_t>(std::count(FMessages.begin(), FMessages.end(), msg));
    }
    bool WaitFor(const std::string& msg, std::size_t times = 1) const {
        return WaitUntil([&] { return Count(msg) >= times; });
    }

private:
    mutable std::mutex FLock;
    std::vector<std::string> FSources;
    std::vector<std::string> FMessages;
};

// A data source whose value the test sets.
class TTestSource : public TDisplayDataSourceBase {
public:
    TTestSource(const std::string& name, const std::vector<std::string>& lines,
                std::int64_t timeoutMsec = 1000)
        : TDisplayDataSourceBase("TTestSource", name) {
        SetLines(lines);
        SetTimeoutMsec(timeoutMsec);
    }
    void SetLines(const std::vector<std::string>& lines) {
        Value.Clear();
        for (const auto& line : lines) {
            Value.Add(line);
        }
    }
};

// A data source whose value text is exactly the given text, without a line break after it.
class TExactSource : public TTestSource {
public:
    TExactSource(const std::string& name, const std::string& text) : TTestSource(name, {text}) {
        Value.SetLineBreak("");
    }
};

} // namespace clienttest
