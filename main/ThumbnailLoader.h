// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// Thumbnails decoded in the background on a bounded pool, at reduced size where the format
// allows. Each request is counted from the moment it is made until its result has been applied
// on the GUI thread (the window does not close while any is counted). Results for a button that
// no longer exists (the list was rebuilt) are dropped.

#include "WorkerPool.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <atomic>
#include <mutex>
#include <vector>

namespace ozv {
class TPictureButton;

class TThumbnailLoader : public QObject
{
    Q_OBJECT
public:
    explicit TThumbnailLoader(std::atomic<int>& counter, QObject* parent = nullptr);
    ~TThumbnailLoader() override;

    /// Disables `button` and decodes its picture's thumbnail; when done, the thumbnail is put
    /// into its Image and the button enabled, or the button is freed when decoding failed.
    void load(TPictureButton* button);
    /// Drops every decode that has not started (the list is rebuilt, or the window closes):
    /// they are no longer counted, and what comes next starts at once.
    void cancelPending();
    int workerCount() const { return m_pool.threadCount(); }
    /// Waits for every queued decode (tests, shutdown).
    void waitForDone();

signals:
    /// Thumbnails were applied (one signal for all that arrived together).
    void applied();

private:
    struct Finished
    {
        QPointer<TPictureButton> button;
        QImage thumbnail;
    };
    /// Applies every finished thumbnail (GUI thread; the workers post a call to it).
    Q_INVOKABLE void applyFinished();

    std::atomic<int>& FThreads;
    std::mutex m_finishedLock;
    std::vector<Finished> m_finished;
    WorkerPool m_pool; // last: its threads end before the members they use
};

} // namespace ozv
