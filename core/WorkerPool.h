// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// A fixed set of background threads working through a queue of jobs in the order given. Jobs not
// yet started can be dropped, and the owner can wait until every job has finished. Jobs and
// everything they capture pass between the threads under this pool's own lock, which keeps the
// hand-off visible to ThreadSanitizer (Qt's own pool synchronises inside Qt, where it cannot look).

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace ozv {

/// Gives the calling thread (alone) the nice value `nice` (higher: yields more).
void lowerThisThreadsPriority(int nice);
/// Makes the calling thread (alone) background work, as decoding pictures and thumbnails is:
/// it runs whenever a core is free and yields to everything else at once.
void makeThisThreadBackground();

class WorkerPool
{
public:
    /// Normal threads, or background ones that the system runs only when nothing of normal
    /// priority (the GUI thread, the sound engine, the display server) wants the processor.
    enum class Priority { Normal, Background };
    /// Starts `threads` threads (at least one).
    explicit WorkerPool(int threads, Priority priority = Priority::Normal);
    /// Drops the queued jobs, waits for the running ones and ends the threads.
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    /// Queues `job`. A job that throws ends quietly; the pool goes on.
    void submit(std::function<void()> job);
    /// Queues `job` before every job that has not started.
    void submitFirst(std::function<void()> job);
    /// Drops the jobs that have not started; returns how many.
    std::size_t clear();
    /// Returns once no job is queued or running.
    void waitForDone();
    int threadCount() const { return int(m_threads.size()); }

private:
    void work();

    std::mutex m_lock;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<std::function<void()>> m_jobs;
    int m_running = 0;
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
};

} // namespace ozv
