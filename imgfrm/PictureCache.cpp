#include "PictureCache.h"

#include "FileAccess.h"
#include "Thumbnail.h"

namespace ozv {

TPictureCache::TPictureCache() : m_pool(2) {}

void TPictureCache::prefetch(const QStringList& paths, QSize size, const QString& keep)
{
    std::map<Key, std::shared_ptr<Prepared>> kept;
    auto keepEntry = [&](const Key& k) {
        auto it = m_entries.find(k);
        if (it != m_entries.end()) kept.insert(m_entries.extract(it));
    };
    if (!keep.isEmpty()) keepEntry(key(keep, size));
    for (const QString& path : paths) {
        const Key k = key(path, size);
        keepEntry(k);
        if (kept.count(k)) continue;
        auto entry = std::make_shared<Prepared>();
        kept.emplace(k, entry);
        // A picture dropped before its turn is not decoded at all; one dropped while decoding
        // finishes unused.
        m_pool.submit([path, size, weak = std::weak_ptr<Prepared>(entry)] {
            const std::shared_ptr<Prepared> p = weak.lock();
            if (!p) return;
            QString error;
            QImage image;
            try {
                image = decodeFitted(path, size, &error);
            } catch (...) {
                error = QStringLiteral("Obrázek \"%1\" nelze načíst: nedostatek paměti.")
                            .arg(readableName(path));
            }
            {
                std::lock_guard lock(p->lock);
                p->image = std::move(image);
                p->error = std::move(error);
                p->done = true;
            }
            p->ready.notify_all();
        });
    }
    m_entries.swap(kept); // what is left in `kept` now is dropped
}

bool TPictureCache::contains(const QString& path, QSize size) const
{
    return m_entries.count(key(path, size)) > 0;
}

QImage TPictureCache::take(const QString& path, QSize size, QString* error)
{
    auto it = m_entries.find(key(path, size));
    if (it != m_entries.end()) {
        Prepared& p = *it->second;
        std::unique_lock lock(p.lock);
        p.ready.wait(lock, [&p] { return p.done; });
        if (error) *error = p.error;
        return p.image;
    }
    return decodeFitted(path, size, error);
}

} // namespace ozv
