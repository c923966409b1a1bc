// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "FrameComposer.h"

#include "CrossFade.h"
#include "WorkerPool.h"

#include <QMetaObject>
#include <pthread.h>

namespace ozv {

namespace {
constexpr int kFrameNice = 5;
}

TFrameComposer::TFrameComposer()
{
    m_thread = std::thread([this] {
        pthread_setname_np(pthread_self(), "ozv-frames");
        // Frames give way to the keys and the sound (a late frame is a dropped frame; a late
        // key is a late cue), yet go before the background decodes.
        lowerThisThreadsPriority(kFrameNice);
        run();
    });
}

TFrameComposer::~TFrameComposer()
{
    {
        std::lock_guard lock(m_lock);
        m_quit = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void TFrameComposer::request(const QImage& start, const QImage& target, double p, QSize size)
{
    {
        std::lock_guard lock(m_lock);
        m_next = Request{start, target, p, size};
        m_requested = true;
    }
    m_wake.notify_one();
}

bool TFrameComposer::take(QImage& frame)
{
    std::lock_guard lock(m_lock);
    if (!m_haveReady) return false;
    std::swap(frame, m_ready);
    m_haveReady = false;
    return true;
}

void TFrameComposer::waitUntilIdle()
{
    std::unique_lock lock(m_lock);
    m_idle.wait(lock, [this] { return !m_requested && !m_busy; });
}

void TFrameComposer::run()
{
    std::unique_lock lock(m_lock);
    for (;;) {
        m_wake.wait(lock, [this] { return m_quit || m_requested; });
        if (m_quit) return;
        Request job = std::move(m_next);
        m_next = Request{};
        m_requested = false;
        m_busy = true;
        lock.unlock();
        composeCrossFade(job.start, job.target, job.p, job.size, m_back);
        job = Request{}; // the pictures are released here, not by the next request
        lock.lock();
        std::swap(m_back, m_ready);
        m_haveReady = true;
        m_busy = false;
        if (!m_requested) m_idle.notify_all();
        QMetaObject::invokeMethod(this, &TFrameComposer::frameReady, Qt::QueuedConnection);
    }
}

} // namespace ozv
