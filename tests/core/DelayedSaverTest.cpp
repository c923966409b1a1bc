// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "DelayedSaver.h"

#include <gtest/gtest.h>
#include <vector>

using ozv::DelayedSaver;

namespace {

// A 1 s timer driven by a clock the test owns: it ticks every 1000 ms from the moment it was
// switched on (a running timer keeps its rhythm), and the saver decides what each tick does.
struct SimulatedTimer
{
    DelayedSaver saver;
    bool on = false;
    long long nextTick = 0;
    std::vector<long long> writes;
    bool failWrites = false;

    void change(long long now)
    {
        if (saver.request()) {
            on = true;
            nextTick = now + 1000;
        }
    }
    void runUntil(long long end)
    {
        while (on && nextTick <= end) {
            const long long now = nextTick;
            nextTick += 1000;
            if (saver.tick() == DelayedSaver::Tick::Write) {
                writes.push_back(now);
                if (saver.writeFinished(!failWrites)) on = false;
            }
        }
    }
};

} // namespace

TEST(DelayedSaver, WritesSixTicksAfterAChangeWhenIdle)
{
    SimulatedTimer t;
    t.change(0);
    t.runUntil(20000);
    EXPECT_EQ(t.writes, std::vector<long long>{6000});
    EXPECT_FALSE(t.on);
}

TEST(DelayedSaver, LaterChangesPostponeOneWrite)
{
    // Changes at 0, 3.0 s and 3.7 s: one write, 5 to 6 s after the last change.
    SimulatedTimer t;
    t.change(0);
    t.runUntil(3000);
    t.change(3000);
    t.runUntil(3700);
    t.change(3700);
    t.runUntil(30000);
    ASSERT_EQ(t.writes.size(), 1u);
    EXPECT_GE(t.writes[0] - 3700, 5000);
    EXPECT_LE(t.writes[0] - 3700, 6000);
}

TEST(DelayedSaver, DraggingASliderWritesOnceAfterwards)
{
    SimulatedTimer t;
    for (long long ms = 0; ms <= 2500; ms += 50) {
        t.runUntil(ms);
        t.change(ms);
    }
    t.runUntil(60000);
    ASSERT_EQ(t.writes.size(), 1u);
    EXPECT_GE(t.writes[0] - 2500, 5000);
    EXPECT_LE(t.writes[0] - 2500, 6000);
}

TEST(DelayedSaver, AFailingWriteIsRetriedEveryTickAndReportedRarely)
{
    SimulatedTimer t;
    t.failWrites = true;
    t.change(0);
    t.runUntil(9000);
    EXPECT_EQ(t.writes, (std::vector<long long>{6000, 7000, 8000, 9000}));
    EXPECT_TRUE(t.on);
    EXPECT_TRUE(t.saver.failing());

    DelayedSaver reports;
    EXPECT_TRUE(reports.shouldReport(6000));
    EXPECT_FALSE(reports.shouldReport(7000));
    EXPECT_FALSE(reports.shouldReport(6000 + DelayedSaver::kReportIntervalMs - 1));
    EXPECT_TRUE(reports.shouldReport(6000 + DelayedSaver::kReportIntervalMs));

    t.failWrites = false; // the disk is back: the next tick writes and the timer stops
    t.runUntil(10000);
    EXPECT_EQ(t.writes.back(), 10000);
    EXPECT_FALSE(t.on);
    EXPECT_FALSE(t.saver.failing());
}

TEST(DelayedSaver, AChangeWhileTheFileIsBeingWrittenIsWrittenToo)
{
    DelayedSaver saver;
    saver.request();
    for (int i = 0; i < 5; ++i)
        ASSERT_EQ(saver.tick(), DelayedSaver::Tick::Counting);
    ASSERT_EQ(saver.tick(), DelayedSaver::Tick::Write); // the snapshot is taken
    EXPECT_TRUE(saver.writing());
    EXPECT_EQ(saver.tick(), DelayedSaver::Tick::Counting); // no second write meanwhile
    saver.request();                                       // a slider moves during the write
    EXPECT_FALSE(saver.writeFinished(true));               // what was written is old: keep ticking
    EXPECT_TRUE(saver.running());
    int ticks = 0;
    while (saver.tick() != DelayedSaver::Tick::Write && ticks < 20)
        ++ticks;
    EXPECT_EQ(ticks, 5); // the newer change waits its own six ticks
    EXPECT_TRUE(saver.writeFinished(true));
    EXPECT_FALSE(saver.running());
}
