#include "platform/ServiceNotifier.h"

#include "support/NotifySocket.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

TEST(ServiceNotifierTest, TellsSystemdReadyStoppingAndPingsTheWatchdogAtHalfItsInterval) {
    NotifySocket systemd(10s);
    TServiceNotifier notifier;
    notifier.Ready();
    EXPECT_EQ(systemd.Receive(), "READY=1");

    const auto start = TServiceNotifier::TClock::now();
    notifier.Alive(start);
    EXPECT_EQ(systemd.Receive(), "WATCHDOG=1");
    notifier.Alive(start + 4999ms);
    notifier.Alive(start + 5s);
    EXPECT_EQ(systemd.Receive(), "WATCHDOG=1");
    notifier.Alive(start + 9s);
    notifier.Stopping();
    EXPECT_EQ(systemd.Receive(), "STOPPING=1") << "no ping within half an interval of the last";
}

TEST(ServiceNotifierTest, WithoutAWatchdogSendsNoPings) {
    NotifySocket systemd;
    TServiceNotifier notifier;
    notifier.Alive();
    notifier.Ready();
    EXPECT_EQ(systemd.Receive(), "READY=1");
}

} // namespace
