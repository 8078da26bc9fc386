#include "log/SimpleThread.h"

#include <gtest/gtest.h>

#include <pthread.h>
#include <time.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

using namespace std::chrono;

TEST(SimpleThread, ThreadTimeAcceptsOnlySixTo64999) {
    TSimpleThread thread([] { return false; });
    EXPECT_EQ(thread.ThreadTime(), 50);
    EXPECT_FALSE(thread.SuspendedLight());
    const struct {
        std::uint16_t set;
        std::uint16_t expected;
    } cases[] = {{5, 50}, {65000, 50}, {0, 50}, {6, 6}, {64999, 64999}, {65535, 64999}};
    for (const auto& c : cases) {
        thread.SetThreadTime(c.set);
        EXPECT_EQ(thread.ThreadTime(), c.expected) << "set " << c.set;
    }
}

TEST(SimpleThread, RunMethodAnsweringFalseEndsTheThreadWithoutSleeping) {
    std::atomic<int> calls{0};
    TSimpleThread thread([&] {
        ++calls;
        return false;
    });
    thread.SetThreadTime(64999);
    const auto start = steady_clock::now();
    thread.Start();
    thread.WaitFor();
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(thread.Terminated());
    EXPECT_LT(steady_clock::now() - start, seconds(30)) << "no 65 s pause after the last call";
}

TEST(SimpleThread, TerminateWakesTheThreadFromItsPause) {
    std::atomic<int> calls{0};
    auto thread = std::make_unique<TSimpleThread>([&] {
        ++calls;
        return true;
    });
    thread->SetThreadTime(64999);
    thread->Start();
    while (calls == 0) {
        std::this_thread::yield();
    }
    const auto start = steady_clock::now();
    thread.reset();
    EXPECT_LT(steady_clock::now() - start, seconds(30));
    EXPECT_EQ(calls, 1);
}

TEST(SimpleThread, SuspendedThreadDoesNotCallTheRunMethod) {
    std::atomic<int> calls{0};
    TSimpleThread thread([&] {
        ++calls;
        return true;
    });
    thread.SetThreadTime(6);
    thread.SetSuspendedLight(true);
    thread.Start();
    std::this_thread::sleep_for(milliseconds(60));
    EXPECT_EQ(calls, 0);
    thread.SetSuspendedLight(false);
    while (calls < 3) {
        std::this_thread::yield();
    }
    thread.Terminate();
    thread.WaitFor();
    EXPECT_TRUE(thread.Finished());
}

TEST(SimpleThread, ResumingWakesTheThreadFromItsPause) {
    std::atomic<int> calls{0};
    TSimpleThread thread([&] {
        ++calls;
        return true;
    });
    thread.SetThreadTime(64999);
    thread.SetSuspendedLight(true);
    thread.Start();
    std::this_thread::sleep_for(milliseconds(20));
    const auto start = steady_clock::now();
    thread.SetSuspendedLight(false);
    while (calls == 0 && steady_clock::now() - start < seconds(30)) {
        std::this_thread::yield();
    }
    EXPECT_EQ(calls, 1) << "called at once, not after two 65 s pauses";
    thread.Terminate();
    thread.WaitFor();
}

std::chrono::nanoseconds ProcessorTime(clockid_t clock) {
    timespec used{};
    clock_gettime(clock, &used);
    return seconds(used.tv_sec) + nanoseconds(used.tv_nsec);
}

// Resumed and suspended again before it got to run: the thread must sleep, not spin on the
// resume it never took up. The run method holds the thread while the state is toggled.
TEST(SimpleThread, QuickResumeAndSuspendLeavesTheSuspendedThreadAsleep) {
    std::mutex lock;
    std::condition_variable changed;
    bool inside = false;
    bool release = false;
    clockid_t clock{};
    TSimpleThread thread([&] {
        std::unique_lock guard(lock);
        pthread_getcpuclockid(pthread_self(), &clock);
        inside = true;
        changed.notify_all();
        changed.wait(guard, [&] { return release; });
        return true;
    });
    thread.Start();
    {
        std::unique_lock guard(lock);
        changed.wait(guard, [&] { return inside; });
    }
    thread.SetSuspendedLight(true);
    thread.SetSuspendedLight(false);
    thread.SetSuspendedLight(true);
    {
        std::lock_guard guard(lock);
        release = true;
    }
    changed.notify_all();
    std::this_thread::sleep_for(milliseconds(50));
    const auto before = ProcessorTime(clock);
    std::this_thread::sleep_for(milliseconds(300));
    EXPECT_LT(ProcessorTime(clock) - before, milliseconds(30));
}

} // namespace
