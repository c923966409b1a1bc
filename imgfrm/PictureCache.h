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

class TPictureCache
{
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
    /// once when it is prepared, else on `context`'s thread once it is, its decode going
    /// before every prepared-ahead one. `context` must own this cache (it outlives the decode).
    void whenReady(const QString& path, QSize size, QObject* context, Ready ready);
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
        std::vector<std::function<void()>> waiters; // run by the worker once done
    };
    void decode(const QString& path, QSize size, const std::shared_ptr<Prepared>& entry,
                bool first);
    using Key = std::pair<QString, std::pair<int, int>>;
    static Key key(const QString& path, QSize size)
    {
        return {path, {size.width(), size.height()}};
    }
    std::map<Key, std::shared_ptr<Prepared>> m_entries;
    WorkerPool m_pool; // last: its threads end first
};

} // namespace ozv
