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

class WorkerPool
{
public:
    /// Starts `threads` threads (at least one).
    explicit WorkerPool(int threads);
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
