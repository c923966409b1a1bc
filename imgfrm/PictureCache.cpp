#include "PictureCache.h"

#include "Thumbnail.h"

#include <QtConcurrent>

namespace ozv {

TPictureCache::TPictureCache()
{
    m_pool.setMaxThreadCount(2);
}

TPictureCache::~TPictureCache()
{
    m_pool.clear();
    m_pool.waitForDone();
}

void TPictureCache::prefetch(const QStringList& paths, QSize size, const QString& keep)
{
    std::map<Key, QFuture<Prepared>> kept;
    auto keepEntry = [&](const Key& k) {
        auto it = m_entries.find(k);
        if (it != m_entries.end()) kept.insert(m_entries.extract(it));
    };
    if (!keep.isEmpty()) keepEntry(key(keep, size));
    for (const QString& path : paths) {
        const Key k = key(path, size);
        keepEntry(k);
        if (!kept.count(k))
            kept.emplace(k, QtConcurrent::run(&m_pool, [path, size] {
                             Prepared p;
                             p.image = decodeFitted(path, size, &p.error);
                             return p;
                         }));
    }
    m_entries.swap(
        kept); // what is left in `kept` now is dropped (a running decode finishes unused)
}

bool TPictureCache::contains(const QString& path, QSize size) const
{
    return m_entries.count(key(path, size)) > 0;
}

QImage TPictureCache::take(const QString& path, QSize size, QString* error)
{
    auto it = m_entries.find(key(path, size));
    if (it != m_entries.end()) {
        const Prepared p = it->second.result();
        if (error) *error = p.error;
        return p.image;
    }
    return decodeFitted(path, size, error);
}

} // namespace ozv
