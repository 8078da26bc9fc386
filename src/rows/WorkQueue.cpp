#include "rows/WorkQueue.h"

#include <utility>

TWorkQueue::TWorkQueue(TFailure onFailure, std::size_t capacity)
    : FOnFailure(std::move(onFailure)), FCapacity(capacity) {}

bool TWorkQueue::Post(TWork work) {
    {
        std::lock_guard lock(FLock);
        if (FPending.size() >= FCapacity) {
            return false;
        }
        FPending.push_back(std::move(work));
    }
    Notify();
    return true;
}

void TWorkQueue::RequestStop() {
    {
        std::lock_guard lock(FLock);
        FStopRequested = true;
    }
    Notify();
}

bool TWorkQueue::StopRequested() const {
    std::lock_guard lock(FLock);
    return FStopRequested;
}

void TWorkQueue::Notify() {
    FChanged.notify_all();
    if (FOnPosted) {
        FOnPosted();
    }
}

bool TWorkQueue::WaitUntil(std::chrono::steady_clock::time_point deadline) {
    std::unique_lock lock(FLock);
    FChanged.wait_until(lock, deadline, [this] { return !FPending.empty() || FStopRequested; });
    return !FPending.empty();
}

std::size_t TWorkQueue::RunPending() {
    std::deque<TWork> due;
    {
        std::lock_guard lock(FLock);
        due.swap(FPending);
    }
    for (TWork& work : due) {
        try {
            work();
        } catch (const std::exception& failure) {
            if (FOnFailure) {
                FOnFailure(failure);
            }
        }
    }
    return due.size();
}
