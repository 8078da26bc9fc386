#include "platform/SignalWaiter.h"

#include <pthread.h>
#include <signal.h>

namespace {

sigset_t WaitedSignals(const std::vector<int>& others) {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    for (const int signal : others) {
        sigaddset(&signals, signal);
    }
    return signals;
}

std::vector<int> SignalsOf(const TSignalWaiter::THandlers& handlers) {
    std::vector<int> signals;
    for (const auto& [signal, handler] : handlers) {
        signals.push_back(signal);
    }
    return signals;
}

} // namespace

void TSignalWaiter::BlockSignals(const std::vector<int>& others) {
    const sigset_t signals = WaitedSignals(others);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
}

TSignalWaiter::TSignalWaiter(std::function<void()> onStop, THandlers others)
    : FOnStop(std::move(onStop)), FOthers(std::move(others)), FThread([this] { Wait(); }) {}

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
    const sigset_t signals = WaitedSignals(SignalsOf(FOthers));
    for (int signal = 0; signal != SIGINT && signal != SIGTERM;) {
        if (sigwait(&signals, &signal) != 0) {
            signal = 0;
        } else if (const auto handler = FOthers.find(signal); handler != FOthers.end() && handler->second) {
            handler->second();
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
