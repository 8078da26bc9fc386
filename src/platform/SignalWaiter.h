#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// Hands the stop signals SIGINT and SIGTERM, and SIGUSR1 to a program that asks for it, to a
// thread of their own, so that they never interrupt the program's work.
class TSignalWaiter {
public:
    // Takes the signals (SIGUSR1 only when `user1`) away from the calling thread and every thread
    // it starts later (threads inherit the mask): call it first thing in main.
    static void BlockSignals(bool user1);

    // The callbacks run on the waiter's thread; without `onUser1`, SIGUSR1 is not waited for.
    explicit TSignalWaiter(std::function<void()> onStop = {}, std::function<void()> onUser1 = {});
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
    const std::function<void()> FOnUser1;
    std::mutex FLock;
    std::condition_variable FStopChanged;
    bool FStopped = false;
    std::thread FThread;
};
