#pragma once

#include <atomic>
#include <functional>
#include <thread>

// Hands SIGUSR1 and the stop signals SIGINT and SIGTERM to callbacks on a thread of its own.
class TSignalWaiter {
public:
    // Takes the signals away from the calling thread and every thread it starts later (threads
    // inherit the mask): call it first thing in main, before any thread starts.
    static void BlockSignals();

    // The callbacks run on the waiter's thread.
    TSignalWaiter(std::function<void()> onUser1, std::function<void()> onStop);
    // Without a stop signal so far, stops the thread as SIGTERM would.
    ~TSignalWaiter();
    TSignalWaiter(const TSignalWaiter&) = delete;
    TSignalWaiter& operator=(const TSignalWaiter&) = delete;

private:
    void Wait();

    std::function<void()> FOnUser1;
    std::function<void()> FOnStop;
    std::atomic<bool> FStopped = false;
    std::thread FThread;
};
