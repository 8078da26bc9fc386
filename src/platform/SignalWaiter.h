#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

// Hands the stop signals SIGINT and SIGTERM, and the other signals a program asks for (SIGUSR1,
// SIGHUP), to a thread of their own, so that they never interrupt the program's work.
class TSignalWaiter {
public:
    // What to do on each signal other than the stop signals.
    using THandlers = std::map<int, std::function<void()>>;

    // Takes the stop signals and `others` away from the calling thread and every thread it starts
    // later (threads inherit the mask): call it first thing in main.
    static void BlockSignals(const std::vector<int>& others = {});

    // The callbacks run on the waiter's thread; a signal without a handler is not waited for.
    explicit TSignalWaiter(std::function<void()> onStop = {}, THandlers others = {});
    // Without a stop signal so far, stops the thread as SIGTERM would.
    ~TSignalWaiter();
    TSignalWaiter(const TSignalWaiter&) = delete;
    TSignalWaiter& operator=(const TSignalWaiter&) = delete;

    // True once a stop signal has come; waits at most `wait` for one.
    bool WaitForStop(std::chrono::milliseconds wait);
    void WaitForStop();

private:
    void Wait();

    const std::function<void()> FOnStop;
    const THandlers FOthers;
    std::mutex FLock;
    std::condition_variable FStopChanged;
    bool FStopped = false;
    std::thread FThread;
};
