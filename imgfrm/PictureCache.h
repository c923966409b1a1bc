// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// Pictures prepared at the picture window's size on a background pool: ahead of time, so that
// stepping to a neighbouring picture starts its cross-fade at once, and on demand, so that the
// GUI thread never decodes. GUI thread API.

#include "WorkerPool.h"

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace ozv {

class TPictureCache : public QObject
{
    Q_OBJECT
public:
    TPictureCache();

    /// Starts preparing `paths` at `size` in the background; drops every other prepared picture
    /// except `keep`.
    void prefetch(const QStringList& paths, QSize size, const QString& keep = QString());
    /// The prepared picture (waiting for it when it is being prepared), or decodes it now.
    /// Returns a null image and sets `error` when the file cannot be decoded.
    QImage take(const QString& path, QSize size, QString* error);
    using Ready = std::function<void(const QImage& picture, const QString& error)>;
    /// Calls `ready` with the picture (null, with the error, when it cannot be decoded): at
    /// once when it is prepared, else on this thread once it is, its decode going before
    /// every prepared-ahead one.
    void whenReady(const QString& path, QSize size, Ready ready);
    /// Whether `path` at `size` is prepared or being prepared.
    bool contains(const QString& path, QSize size) const;

private:
    /// One picture being prepared: filled in by a worker, waited for on the GUI thread.
    struct Prepared
    {
        std::mutex lock;
        std::condition_variable ready;
        bool done = false;
        QImage image;
        QString error;
        std::vector<Ready> waiters; // called on the GUI thread once done
    };
    /// Hands decoded pictures to their waiters (GUI thread; a worker posts a call to it).
    Q_INVOKABLE void deliver();
    void decode(const QString& path, QSize size, const std::shared_ptr<Prepared>& entry,
                bool first);
    using Key = std::pair<QString, std::pair<int, int>>;
    static Key key(const QString& path, QSize size)
    {
        return {path, {size.width(), size.height()}};
    }
    std::map<Key, std::shared_ptr<Prepared>> m_entries;
    // Decoded pictures with waiters, from the workers to the GUI thread under this lock, so
    // the hand-over is ours to see (and ThreadSanitizer's), not only inside Qt's event queue.
    std::mutex m_deliveredLock;
    std::vector<std::pair<std::shared_ptr<Prepared>, std::vector<Ready>>> m_delivered;
    WorkerPool m_pool; // last: its threads end first
};

} // namespace ozv
