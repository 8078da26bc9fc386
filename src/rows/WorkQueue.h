#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>

// Work handed from any thread (the HTTP API, the MQTT bridge, signals, the displays' connections)
// to the thread that drives the session, which runs it between its ticks. Posting wakes the
// driver at once. The queue is bounded, so that no caller outside can make it grow without end,
// and a stop request always gets through, however full it is.
class TWorkQueue {
public:
    using TWork = std::function<void()>;
    // Called with the failure of a work item; the items after it still run.
    using TFailure = std::function<void(const std::exception& failure)>;

    static constexpr std::size_t DefaultCapacity = 1024;

    explicit TWorkQueue(TFailure onFailure = {}, std::size_t capacity = DefaultCapacity);

    // Queues the work; false, and the work dropped, when the queue is full.
    bool Post(TWork work);
    // The driver is to end. Wakes it like a post.
    void RequestStop();
    bool StopRequested() const;

    // Called on the posting thread after each post or stop request, so that a toolkit's event loop
    // can schedule RunPending on its own thread. Set it before anyone posts.
    void SetOnPosted(std::function<void()> onPosted) { FOnPosted = std::move(onPosted); }

    // Waits until work is pending, a stop is requested or `deadline` has passed; true when work is
    // pending.
    bool WaitUntil(std::chrono::steady_clock::time_point deadline);
    // Runs the work pending now, in order, on the calling thread; what is posted meanwhile waits
    // for the next call. Answers how many items ran.
    std::size_t RunPending();

private:
    void Notify();

    const TFailure FOnFailure;
    const std::size_t FCapacity;
    std::function<void()> FOnPosted;
    mutable std::mutex FLock;
    std::condition_variable FChanged;
    std::deque<TWork> FPending;
    bool FStopRequested = false;
};
