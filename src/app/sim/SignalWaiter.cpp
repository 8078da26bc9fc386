#include "SignalWaiter.h"

#include <pthread.h>
#include <signal.h>

namespace {

sigset_t WaitedSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGUSR1);
    return signals;
}

} // namespace

void TSignalWaiter::BlockSignals() {
    const sigset_t signals = WaitedSignals();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
}

TSignalWaiter::TSignalWaiter(std::function<void()> onUser1, std::function<void()> onStop)
    : FOnUser1(std::move(onUser1)), FOnStop(std::move(onStop)), FThread([this] { Wait(); }) {}

TSignalWaiter::~TSignalWaiter() {
    if (!FStopped) {
        pthread_kill(FThread.native_handle(), SIGTERM);
    }
    FThread.join();
}

void TSignalWaiter::Wait() {
    const sigset_t signals = WaitedSignals();
    int signal = 0;
    while (sigwait(&signals, &signal) != 0 || signal == SIGUSR1) {
        if (signal == SIGUSR1) {
            FOnUser1();
        }
    }
    FStopped = true;
    FOnStop();
}
