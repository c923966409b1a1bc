// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "WorkerPool.h"

#if defined(__linux__)
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

#include <QThread>
#include <QThreadPool>

#include <algorithm>

namespace ozv {

void makeThisThreadBackground()
{
#if defined(__linux__)
    // Runs only on a core that nothing else wants: a decode never delays a key or the sound.
    sched_param none{};
    if (sched_setscheduler(0, SCHED_IDLE, &none) != 0) lowerThisThreadsPriority(19);
#endif
}

void lowerThisThreadsPriority(int nice)
{
#if defined(__linux__)
    // On Linux a nice value belongs to the thread: this one alone gives way.
    setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), nice);
#else
    (void)nice;
#endif
}

WorkerPool::WorkerPool(int threads, Priority priority)
{
    if (priority == Priority::Background) {
        // Qt splits a large scale, conversion or paint across its own pool, whose threads are
        // started by whichever thread first needs one and would inherit a background thread's
        // idle policy. The GUI thread's paints wait on those same helpers: started from here
        // they would make it wait behind everything else. They are started at normal priority.
        QThreadPool::globalInstance()->setThreadPriority(QThread::NormalPriority);
    }
    const int count = std::max(1, threads);
    m_threads.reserve(size_t(count));
    for (int i = 0; i < count; ++i)
        m_threads.emplace_back([this, priority] {
            if (priority == Priority::Background) makeThisThreadBackground();
            work();
        });
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
