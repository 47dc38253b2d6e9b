#include "support/ManualScheduler.h"

#include "platform/dispatch/Dispatch.h"
#include "platform/dispatch/QtScheduler.h"
#include "platform/dispatch/SerialQueue.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#if defined(Q_OS_LINUX)
#include <pthread.h>
#include <sched.h>
#endif

#include <atomic>
#include <latch>
#include <mutex>
#include <semaphore>
#include <thread>
#include <vector>

using namespace std::chrono_literals;
using lexi::dispatch::SerialQueue;

TEST(SerialQueueTest, RunsBlocksOneAtATimeInSubmissionOrder)
{
    std::vector<int> order;
    std::atomic<int> running = 0;
    bool overlapped = false;
    {
        SerialQueue queue("test.order");
        for (int i = 0; i < 200; ++i) {
            queue.async([&, i] {
                overlapped |= ++running > 1;
                order.push_back(i);
                --running;
            });
        }
    }
    ASSERT_EQ(order.size(), 200u);
    for (int i = 0; i < 200; ++i)
        EXPECT_EQ(order[std::size_t(i)], i);
    EXPECT_FALSE(overlapped);
}

TEST(SerialQueueTest, SyncWaitsAndRunsInlineOnItsOwnQueue)
{
    SerialQueue queue("test.sync");
    int value = 0;
    queue.async([&] { value = 1; });
    queue.sync([&] { value *= 10; });
    EXPECT_EQ(value, 10);

    bool ranInline = false;
    queue.sync([&] {
        EXPECT_TRUE(queue.isCurrent());
        queue.sync([&] { ranInline = true; });
    });
    EXPECT_TRUE(ranInline);
    EXPECT_FALSE(queue.isCurrent());
}

TEST(SerialQueueTest, KnowsItsLabelAndSurvivesAThrowingBlock)
{
    SerialQueue queue("test.label");
    queue.async([] { throw std::runtime_error("boom"); });
    std::string label;
    queue.sync([&] { label = SerialQueue::currentLabel(); });
    EXPECT_EQ(label, "test.label");
    EXPECT_THROW(queue.sync([] { throw std::runtime_error("to the caller"); }), std::runtime_error);
}

TEST(SerialQueueTest, DelayedBlocksReachTheQueueOnlyWhileItLives)
{
    lexi::test::FakeClock clock;
    lexi::test::ManualScheduler scheduler(clock);
    std::atomic<int> runs = 0;
    lexi::dispatch::DelayedBlock outlivingTheQueue;
    {
        auto queue = std::make_unique<SerialQueue>("test.after");
        auto first = queue->after(scheduler, 5s, [&] { ++runs; });
        scheduler.advance(4s);
        queue->sync([] {});
        EXPECT_EQ(runs, 0);
        scheduler.advance(1s);
        queue->sync([] {});
        EXPECT_EQ(runs, 1);

        outlivingTheQueue = queue->after(scheduler, 5s, [&] { ++runs; });
    }
    scheduler.advance(10s);
    EXPECT_EQ(runs, 1);
}

TEST(SerialQueueTest, ACancelAfterTheHandOverStillStopsTheBlock)
{
    lexi::test::FakeClock clock;
    lexi::test::ManualScheduler scheduler(clock);
    SerialQueue queue("test.cancel");
    std::binary_semaphore busy(0);
    queue.async([&] { busy.acquire(); });
    bool ran = false;
    auto delayed = queue.after(scheduler, 1s, [&] { ran = true; });
    scheduler.advance(1s); // handed to the queue, which is still busy
    delayed.cancel();
    busy.release();
    queue.sync([] {});
    EXPECT_FALSE(ran);
}

TEST(SchedulerTest, DelayedBlocksRunOnceUnlessCancelled)
{
    lexi::test::FakeClock clock;
    lexi::test::ManualScheduler scheduler(clock);
    int fired = 0;
    auto kept = scheduler.after(200ms, [&] { ++fired; });
    auto cancelled = scheduler.after(200ms, [&] { fired += 100; });
    EXPECT_TRUE(kept.isPending());
    cancelled.cancel();
    EXPECT_FALSE(cancelled.isPending());

    scheduler.advance(199ms);
    EXPECT_EQ(fired, 0);
    scheduler.advance(1ms);
    EXPECT_EQ(fired, 1);
    EXPECT_FALSE(kept.isPending());
    scheduler.advance(1h);
    EXPECT_EQ(fired, 1);
}

TEST(SchedulerTest, DroppingOrReplacingAHandleCancelsItsBlock)
{
    lexi::test::FakeClock clock;
    lexi::test::ManualScheduler scheduler(clock);
    std::vector<int> fired;
    {
        auto dropped = scheduler.after(1s, [&] { fired.push_back(1); });
    }
    auto replaced = scheduler.after(1s, [&] { fired.push_back(2); });
    replaced = scheduler.after(1s, [&] { fired.push_back(3); });
    auto moved = std::move(replaced);
    auto repeating = scheduler.every(1s, [&] { fired.push_back(4); });
    repeating = {};
    scheduler.advance(5s);
    EXPECT_EQ(fired, (std::vector<int>{3})) << "only the handle that is still held runs";
    EXPECT_FALSE(moved.isPending());
}

TEST(SchedulerTest, RepeatingBlocksRunEveryIntervalUntilCancelled)
{
    lexi::test::FakeClock clock;
    lexi::test::ManualScheduler scheduler(clock);
    std::vector<double> times;
    const double start = clock.now().secondsSinceReferenceDate();
    auto timer = scheduler.every(60s, [&] { times.push_back(clock.now().secondsSinceReferenceDate() - start); });
    scheduler.advance(185s);
    EXPECT_EQ(times, (std::vector<double>{60, 120, 180}));
    timer.cancel();
    scheduler.advance(1h);
    EXPECT_EQ(times.size(), 3u);
    EXPECT_EQ(scheduler.pendingCount(), 0u);
}

TEST(QtSchedulerTest, FiresOnTheMainThreadAlsoWhenArmedFromAnother)
{
    lexi::dispatch::QtScheduler scheduler;
    std::atomic<bool> fired = false;
    bool onMainThread = false;
    lexi::dispatch::DelayedBlock delayed;
    std::thread([&] {
        delayed = scheduler.after(1ms, [&] {
            onMainThread = lexi::dispatch::isMainThread();
            fired = true;
        });
    }).join();
    QElapsedTimer patience;
    patience.start();
    while (!fired && patience.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_TRUE(fired);
    EXPECT_TRUE(onMainThread);
}

TEST(QtSchedulerTest, ADelayInThePastFiresAtOnce)
{
    lexi::dispatch::QtScheduler scheduler;
    int fired = 0;
    auto once = scheduler.after(-5s, [&] { ++fired; });
    auto repeating = scheduler.every(-1s, [&] { ++fired; });
    QElapsedTimer patience;
    patience.start();
    while (fired < 3 && patience.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    repeating.cancel();
    EXPECT_GE(fired, 3);
}

TEST(DispatchTest, GlobalAndMainQueuesRunTheirBlocks)
{
    std::latch ranInPool(1);
    bool poolWasMain = true;
    lexi::dispatch::globalAsync([&] {
        poolWasMain = lexi::dispatch::isMainThread();
        ranInPool.count_down();
    });
    ranInPool.wait();
    EXPECT_FALSE(poolWasMain);

    bool ranOnMain = false;
    std::thread([&] { lexi::dispatch::mainAsync([&] { ranOnMain = lexi::dispatch::isMainThread(); }); }).join();
    QCoreApplication::processEvents();
    EXPECT_TRUE(ranOnMain);
}

#if defined(Q_OS_LINUX)
// Background blocks run on idle-class threads, which give their processor up to any other thread
// that wakes on it: on every pool thread, the first block included.
TEST(DispatchTest, GlobalBlocksRunOnIdleThreads)
{
    constexpr int blockCount = 16;
    std::latch allRunning(blockCount);
    std::mutex mutex;
    std::vector<int> policies;
    for (int block = 0; block < blockCount; ++block) {
        lexi::dispatch::globalAsync([&] {
            int policy = -1;
            sched_param parameters{};
            pthread_getschedparam(pthread_self(), &policy, &parameters);
            {
                const std::lock_guard lock(mutex);
                policies.push_back(policy);
            }
            allRunning.count_down();
        });
    }
    allRunning.wait();
    ASSERT_EQ(policies.size(), std::size_t(blockCount));
    for (const int policy : policies)
        EXPECT_EQ(policy, SCHED_IDLE);
}
#endif
