// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// Composes the picture window's cross-fade frames on a thread of its own, so that a frame of a
// large display never holds up the GUI thread (and with it the keys that start sounds). The
// GUI thread asks for a frame and, once it is done, presents it with one copy.

#include <QImage>
#include <QObject>
#include <QSize>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace ozv {

class TFrameComposer : public QObject
{
    Q_OBJECT
public:
    TFrameComposer();
    ~TFrameComposer() override;

    /// Asks for the frame of `start` and `target` at progress `p` (GUI thread). A request not
    /// yet begun is replaced: only the newest frame matters.
    void request(const QImage& start, const QImage& target, double p, QSize size);
    /// Moves the newest finished frame into `frame`, handing back the one it held; false when
    /// none is new (GUI thread).
    bool take(QImage& frame);
    /// Blocks until every frame asked for is composed (tests and benchmarks).
    void waitUntilIdle();

signals:
    /// A finished frame waits to be taken (emitted on the GUI thread).
    void frameReady();

private:
    void run();

    struct Request
    {
        QImage start, target;
        double p = 0;
        QSize size;
    };
    std::mutex m_lock;
    std::condition_variable m_wake, m_idle;
    Request m_next;
    bool m_requested = false, m_busy = false, m_quit = false;
    QImage m_ready; // finished, not yet taken
    bool m_haveReady = false;
    QImage m_back; // the composing thread's own
    std::thread m_thread;
};

} // namespace ozv
