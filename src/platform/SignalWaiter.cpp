#include "platform/SignalWaiter.h"

#include <pthread.h>
#include <signal.h>

namespace {

sigset_t WaitedSignals(bool user1) {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    if (user1) {
        sigaddset(&signals, SIGUSR1);
    }
    return signals;
}

} // namespace

void TSignalWaiter::BlockSignals(bool user1) {
    const sigset_t signals = WaitedSignals(user1);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
}

TSignalWaiter::TSignalWaiter(std::function<void()> onStop, std::function<void()> onUser1)
    : FOnStop(std::move(onStop)), FOnUser1(std::move(onUser1)), FThread([this] { Wait(); }) {}

TSignalWaiter::~TSignalWaiter() {
    if (!WaitForStop(std::chrono::milliseconds(0))) {
        pthread_kill(FThread.native_handle(), SIGTERM);
    }
    FThread.join();
}

bool TSignalWaiter::WaitForStop(std::chrono::milliseconds wait) {
    std::unique_lock lock(FLock);
    return FStopChanged.wait_for(lock, wait, [this] { return FStopped; });
}

void TSignalWaiter::WaitForStop() {
    std::unique_lock lock(FLock);
    FStopChanged.wait(lock, [this] { return FStopped; });
}

void TSignalWaiter::Wait() {
    const sigset_t signals = WaitedSignals(static_cast<bool>(FOnUser1));
    int signal = 0;
    while (sigwait(&signals, &signal) != 0 || signal == SIGUSR1) {
        if (signal == SIGUSR1) {
            FOnUser1();
        }
    }
    {
        std::lock_guard lock(FLock);
        FStopped = true;
    }
    FStopChanged.notify_all();
    if (FOnStop) {
        FOnStop();
    }
}
