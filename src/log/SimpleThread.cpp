#include "log/SimpleThread.h"

#include <chrono>

TSimpleThread::TSimpleThread(TSimpleExecute run) : runmethod(std::move(run)) {}

TSimpleThread::~TSimpleThread() {
    Terminate();
    WaitFor();
}

void TSimpleThread::Start() {
    if (!FThread.joinable()) {
        FThread = std::thread([this] { Execute(); });
    }
}

void TSimpleThread::Terminate() {
    {
        std::lock_guard lock(FWakeLock);
        FTerminated.store(true);
    }
    FWake.notify_all();
}

void TSimpleThread::WaitFor() {
    if (FThread.joinable() && FThread.get_id() != std::this_thread::get_id()) {
        FThread.join();
    }
}

void TSimpleThread::SetThreadTime(std::uint16_t milliseconds) {
    if (milliseconds > 5 && milliseconds < 65000) {
        FThreadTime.store(milliseconds);
    }
}

// A suspend withdraws a resume the thread has not taken up yet; otherwise the suspended thread
// would find it on every pause and never sleep.
void TSimpleThread::SetSuspendedLight(bool suspended) {
    bool resumed = false;
    {
        std::lock_guard lock(FWakeLock);
        resumed = FSuspended.exchange(suspended) && !suspended;
        FResumed = resumed || (FResumed && !suspended);
    }
    if (resumed) {
        FWake.notify_all();
    }
}

void TSimpleThread::Execute() {
    while (!FTerminated.load()) {
        {
            std::unique_lock lock(FWakeLock);
            FWake.wait(lock, [this] { return FTerminated.load() || !FSuspended.load(); });
            if (FTerminated.load()) {
                break;
            }
            FResumed = false;
        }
        if (!runmethod()) {
            break;
        }
        Sleep(FThreadTime.load());
    }
    FTerminated.store(true);
    FFinished.store(true);
}

void TSimpleThread::Sleep(std::uint16_t milliseconds) {
    std::unique_lock lock(FWakeLock);
    FWake.wait_for(lock, std::chrono::milliseconds(milliseconds),
                   [this] { return FTerminated.load() || FResumed; });
}
