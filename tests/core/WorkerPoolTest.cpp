// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
// The background pool behind thumbnails and prepared pictures: every job runs once, on up to
// the given number of threads at a time; dropped jobs never run and free what they hold; a job
// that throws does not take a thread with it; the pool never ends under a running job.

#include "WorkerPool.h"

#include <QThreadPool>
#include <gtest/gtest.h>

#if defined(__linux__)
#include <sched.h>
#endif

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <memory>
#include <mutex>
#include <thread>

using ozv::WorkerPool;
using namespace std::chrono_literals;

namespace {

/// A gate the test opens; jobs wait at it (for at most 10 s, so a fault cannot hang the suite).
struct Gate
{
    std::mutex lock;
    std::condition_variable changed;
    bool open = false;
    int waiting = 0;

    void pass()
    {
        std::unique_lock l(lock);
        ++waiting;
        changed.notify_all();
        changed.wait_for(l, 10s, [this] { return open; });
    }
    bool waitForWaiting(int n)
    {
        std::unique_lock l(lock);
        return changed.wait_for(l, 10s, [&] { return waiting >= n; });
    }
    void openUp()
    {
        std::lock_guard l(lock);
        open = true;
        changed.notify_all();
    }
};

} // namespace

TEST(WorkerPool, EveryJobRunsOnceOnAllThreadsAtOnce)
{
    for (int threads : {1, 2, 4}) {
        WorkerPool pool(threads);
        EXPECT_EQ(pool.threadCount(), threads);
        Gate gate;
        std::atomic<int> runs{0}, busy{0}, mostBusy{0};
        const int jobs = 50;
        for (int i = 0; i < jobs; ++i)
            pool.submit([&] {
                const int now = ++busy;
                for (int seen = mostBusy;
                     now > seen && !mostBusy.compare_exchange_weak(seen, now);) {
                }
                if (runs++ < threads) gate.pass(); // the first jobs hold every thread at once
                --busy;
            });
        ASSERT_TRUE(gate.waitForWaiting(threads)) << threads;
        gate.openUp();
        pool.waitForDone();
        EXPECT_EQ(runs, jobs) << threads;
        EXPECT_EQ(mostBusy, threads) << threads;
    }
    EXPECT_EQ(WorkerPool(0).threadCount(), 1);
}

TEST(WorkerPool, ClearDropsQueuedJobsAndWhatTheyHold)
{
    WorkerPool pool(1);
    Gate gate;
    std::atomic<int> runs{0};
    pool.submit([&] {
        gate.pass();
        ++runs;
    });
    ASSERT_TRUE(gate.waitForWaiting(1));
    auto held = std::make_shared<int>(7);
    for (int i = 0; i < 5; ++i)
        pool.submit([&runs, held] { ++runs; });
    EXPECT_EQ(held.use_count(), 6);
    pool.clear();
    EXPECT_EQ(held.use_count(), 1); // freed at once, not when the pool ends
    gate.openUp();
    pool.waitForDone();
    EXPECT_EQ(runs, 1); // the running job finished; the queued ones never ran

    pool.submit([&] { ++runs; }); // the pool works on after a clear
    pool.waitForDone();
    EXPECT_EQ(runs, 2);
}

TEST(WorkerPool, AThrowingJobLeavesThePoolWorking)
{
    WorkerPool pool(1);
    std::atomic<int> runs{0};
    pool.submit([] { throw std::bad_alloc(); });
    pool.submit([&] { ++runs; });
    pool.waitForDone();
    EXPECT_EQ(runs, 1);
}

TEST(WorkerPool, EndingWaitsForTheRunningJobAndDropsTheRest)
{
    Gate gate;
    std::atomic<int> runs{0};
    std::atomic<bool> finished{false};
    {
        WorkerPool pool(1);
        pool.submit([&] {
            gate.pass(); // held until the queued jobs below are dropped
            finished = true;
        });
        ASSERT_TRUE(gate.waitForWaiting(1));
        std::shared_ptr<int> held(new int(0), [&gate](int* p) {
            delete p;
            gate.openUp();
        });
        for (int i = 0; i < 3; ++i)
            pool.submit([&runs, held] { ++runs; });
        held.reset();
    } // the pool ends while its first job waits: it drops the rest and waits for that one
    EXPECT_TRUE(finished);
    EXPECT_EQ(runs, 0);
}

#if defined(__linux__)
// The GUI thread's large paints are split across Qt's helper threads and wait for them. A helper
// first needed by a background decode must not inherit that decode's idle policy, or the paint
// waits behind everything else on the machine.
TEST(WorkerPool, QtHelperThreadsStartedFromABackgroundJobRunAtNormalPriority)
{
    QThreadPool* qt = QThreadPool::globalInstance();
    const int expiry = qt->expiryTimeout();
    // End the helpers earlier tests left, so that the job below has to start a new one.
    qt->setExpiryTimeout(0);
    for (int i = 0; i < qt->maxThreadCount(); ++i)
        qt->start([] {});
    qt->waitForDone();
    std::this_thread::sleep_for(200ms);

    std::promise<std::pair<int, int>> policies;
    {
        WorkerPool pool(1, WorkerPool::Priority::Background);
        pool.submit([&] {
            std::atomic<int> helper{-1};
            QThreadPool::globalInstance()->start([&] { helper = sched_getscheduler(0); });
            QThreadPool::globalInstance()->waitForDone();
            policies.set_value({sched_getscheduler(0), helper.load()});
        });
        auto result = policies.get_future();
        ASSERT_EQ(result.wait_for(10s), std::future_status::ready);
        const auto [job, helper] = result.get();
        qt->setExpiryTimeout(expiry);
        if (job != SCHED_IDLE) GTEST_SKIP() << "the idle policy is refused here";
        EXPECT_EQ(helper, SCHED_OTHER);
    }
}
#endif
