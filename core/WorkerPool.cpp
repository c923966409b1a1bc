#include "WorkerPool.h"

#include <algorithm>

namespace ozv {

WorkerPool::WorkerPool(int threads)
{
    const int count = std::max(1, threads);
    m_threads.reserve(size_t(count));
    for (int i = 0; i < count; ++i)
        m_threads.emplace_back([this] { work(); });
}

WorkerPool::~WorkerPool()
{
    {
        std::lock_guard lock(m_lock);
        m_jobs.clear();
        m_stopping = true;
    }
    m_wake.notify_all();
    for (std::thread& t : m_threads)
        t.join();
}

void WorkerPool::submit(std::function<void()> job)
{
    {
        std::lock_guard lock(m_lock);
        m_jobs.push_back(std::move(job));
    }
    m_wake.notify_one();
}

void WorkerPool::submitFirst(std::function<void()> job)
{
    {
        std::lock_guard lock(m_lock);
        m_jobs.push_front(std::move(job));
    }
    m_wake.notify_one();
}

std::size_t WorkerPool::clear()
{
    std::deque<std::function<void()>> dropped;
    {
        std::lock_guard lock(m_lock);
        dropped.swap(m_jobs);
        if (m_running == 0) m_idle.notify_all();
    }
    // `dropped` goes here, outside the lock: what the jobs captured may take a while to free.
    return dropped.size();
}

void WorkerPool::waitForDone()
{
    std::unique_lock lock(m_lock);
    m_idle.wait(lock, [this] { return m_jobs.empty() && m_running == 0; });
}

void WorkerPool::work()
{
    std::unique_lock lock(m_lock);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
        if (m_stopping) return;
        std::function<void()> job = std::move(m_jobs.front());
        m_jobs.pop_front();
        ++m_running;
        lock.unlock();
        try {
            job();
        } catch (...) {
            // A job reports its own failures; one that escapes must not end the program.
        }
        job = nullptr; // what it captured is freed before the pool counts it as done
        lock.lock();
        --m_running;
        if (m_running == 0 && m_jobs.empty()) m_idle.notify_all();
    }
}

} // namespace ozv
