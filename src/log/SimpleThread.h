#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

// A polling thread: calls its run method over and over with a pause of ThreadTime
// milliseconds, and can be paused (SuspendedLight) without stopping; paused, it sleeps until it
// is resumed or terminated, without waking in between. A terminate request wakes it from its
// pause at once, and so does resuming it.
class TSimpleThread {
public:
    // The run method answers true to keep going, false to end the thread.
    using TSimpleExecute = std::function<bool()>;

    explicit TSimpleThread(TSimpleExecute run);
    // Terminates the thread and waits for it.
    ~TSimpleThread();
    TSimpleThread(const TSimpleThread&) = delete;
    TSimpleThread& operator=(const TSimpleThread&) = delete;

    void Start();
    void Terminate();
    void WaitFor();
    bool Terminated() const { return FTerminated.load(); }
    // True once the thread body has returned.
    bool Finished() const { return FFinished.load(); }

    bool SuspendedLight() const { return FSuspended.load(); }
    void SetSuspendedLight(bool suspended);

    std::uint16_t ThreadTime() const { return FThreadTime.load(); }
    // Accepts 6 to 64999; any other value is ignored.
    void SetThreadTime(std::uint16_t milliseconds);

private:
    void Execute();
    void Sleep(std::uint16_t milliseconds);

    std::atomic<bool> FSuspended{false};
    std::atomic<std::uint16_t> FThreadTime{50};
    TSimpleExecute runmethod;

    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FFinished{false};
    std::mutex FWakeLock;
    std::condition_variable FWake;
    // Set when the thread is resumed, until it next calls the run method or is suspended again;
    // guarded by FWakeLock.
    bool FResumed = false;
    std::thread FThread;
};
