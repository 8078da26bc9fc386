#include "rows/WorkQueue.h"

#include "rows/DisplaySession.h"
#include "support/ConfigurationDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

using std::chrono::steady_clock;

// Far enough that a test which waits it out has failed, not passed slowly.
constexpr auto Never = std::chrono::seconds(30);

TEST(WorkQueueTest, RunsWorkOfManyThreadsInTheirOrderOnTheDrivingThread) {
    TWorkQueue queue;
    const auto driver = std::this_thread::get_id();
    std::vector<std::vector<int>> seen(4);
    bool allOnDriver = true;
    std::vector<std::thread> posters;
    for (int poster = 0; poster < 4; ++poster) {
        posters.emplace_back([&, poster] {
            for (int item = 0; item < 100; ++item) {
                ASSERT_TRUE(queue.Post([&, poster, item] {
                    allOnDriver = allOnDriver && std::this_thread::get_id() == driver;
                    seen[poster].push_back(item);
                }));
            }
        });
    }
    std::size_t ran = 0;
    while (ran < 400 && queue.WaitUntil(steady_clock::now() + Never)) {
        ran += queue.RunPending();
    }
    for (std::thread& poster : posters) {
        poster.join();
    }
    EXPECT_EQ(ran, 400u);
    EXPECT_TRUE(allOnDriver);
    for (const std::vector<int>& items : seen) {
        ASSERT_EQ(items.size(), 100u);
        EXPECT_TRUE(std::is_sorted(items.begin(), items.end()));
    }
}

TEST(WorkQueueTest, IsBoundedButAStopAlwaysGetsThrough) {
    TWorkQueue queue({}, 2);
    EXPECT_TRUE(queue.Post([] {}));
    EXPECT_TRUE(queue.Post([] {}));
    EXPECT_FALSE(queue.Post([] {})) << "a full queue refuses";
    std::thread stopper([&] { queue.RequestStop(); });
    stopper.join();
    EXPECT_TRUE(queue.StopRequested());
    EXPECT_EQ(queue.RunPending(), 2u);
    EXPECT_TRUE(queue.Post([] {})) << "room again once drained";
}

TEST(WorkQueueTest, WakesTheWaiterAtOnceAndTellsTheToolkit) {
    TWorkQueue queue;
    int wakeups = 0;
    queue.SetOnPosted([&] { ++wakeups; });
    std::thread poster([&] { queue.Post([] {}); });
    EXPECT_TRUE(queue.WaitUntil(steady_clock::now() + Never));
    poster.join();
    EXPECT_EQ(wakeups, 1);

    std::thread stopper([&] { queue.RequestStop(); });
    EXPECT_TRUE(queue.WaitUntil(steady_clock::now() + Never)) << "the earlier work is still pending";
    stopper.join();
    queue.RunPending();
    EXPECT_FALSE(queue.WaitUntil(steady_clock::now() + Never)) << "a stop ends the wait without work";
}

TEST(WorkQueueTest, AFailingItemIsReportedAndTheRestStillRun) {
    std::vector<std::string> failures;
    TWorkQueue queue([&](const std::exception& failure) { failures.push_back(failure.what()); });
    bool laterRan = false;
    queue.Post([] { throw std::runtime_error("no such display"); });
    queue.Post([&] { laterRan = true; });
    EXPECT_EQ(queue.RunPending(), 2u);
    EXPECT_EQ(failures, std::vector<std::string>{"no such display"});
    EXPECT_TRUE(laterRan);
}

TEST(WorkQueueTest, TheSessionRunsPostedWorkBetweenItsTicksUntilStopped) {
    ConfigurationDir config;
    config.Write();
    TDisplaySession session(config.Path(), {});
    session.Start();
    std::thread::id ranOn;
    std::thread poster([&] {
        session.Work().Post([&] {
            ranOn = std::this_thread::get_id();
            session.Work().RequestStop();
        });
    });
    session.RunTicks();
    poster.join();
    EXPECT_EQ(ranOn, std::this_thread::get_id());
}

} // namespace
