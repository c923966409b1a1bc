// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "PictureCache.h"

#include "FileAccess.h"
#include "Thumbnail.h"

#include <QMetaObject>

namespace ozv {

TPictureCache::TPictureCache() : m_pool(2, WorkerPool::Priority::Background) {}

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
        decode(path, size, entry, false);
    }
    m_entries.swap(kept); // what is left in `kept` now is dropped
}

void TPictureCache::decode(const QString& path, QSize size, const std::shared_ptr<Prepared>& entry,
                           bool first)
{
    // A picture dropped before its turn is not decoded at all; one dropped while decoding
    // finishes unused.
    auto job = [this, path, size, weak = std::weak_ptr<Prepared>(entry)] {
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
        std::vector<Ready> waiters;
        {
            std::lock_guard lock(p->lock);
            p->image = std::move(image);
            p->error = std::move(error);
            p->done = true;
            waiters.swap(p->waiters);
        }
        p->ready.notify_all();
        if (waiters.empty()) return;
        {
            std::lock_guard lock(m_deliveredLock);
            m_delivered.emplace_back(p, std::move(waiters));
        }
        QMetaObject::invokeMethod(this, "deliver", Qt::QueuedConnection);
    };
    if (first)
        m_pool.submitFirst(std::move(job));
    else
        m_pool.submit(std::move(job));
}

void TPictureCache::whenReady(const QString& path, QSize size, Ready ready)
{
    const Key k = key(path, size);
    auto it = m_entries.find(k);
    if (it == m_entries.end()) {
        it = m_entries.emplace(k, std::make_shared<Prepared>()).first;
        decode(path, size, it->second, true);
    }
    Prepared& p = *it->second;
    {
        std::lock_guard lock(p.lock);
        if (!p.done) {
            p.waiters.push_back(std::move(ready));
            return;
        }
    }
    ready(p.image, p.error);
}

void TPictureCache::deliver()
{
    std::vector<std::pair<std::shared_ptr<Prepared>, std::vector<Ready>>> delivered;
    {
        std::lock_guard lock(m_deliveredLock);
        delivered.swap(m_delivered);
    }
    for (auto& [entry, waiters] : delivered)
        for (Ready& ready : waiters)
            ready(entry->image, entry->error);
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
