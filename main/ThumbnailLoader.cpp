// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "ThumbnailLoader.h"

#include "PictureButton.h"
#include "Thumbnail.h"

#include <QCoreApplication>
#include <QThread>
#include <cmath>

namespace ozv {

TThumbnailLoader::TThumbnailLoader(std::atomic<int>& counter, QObject* parent)
    : QObject(parent), FThreads(counter),
      m_pool(std::max(2, QThread::idealThreadCount()), WorkerPool::Priority::Background)
{}

TThumbnailLoader::~TThumbnailLoader()
{
    m_pool.clear();
    m_pool.waitForDone();
}

void TThumbnailLoader::load(TPictureButton* button)
{
    FThreads.fetch_add(1);
    button->setEnabled(false);
    const QSize fit(int(std::ceil(double(button->Image()->width()))),
                    int(std::ceil(double(button->Image()->height()))));
    // The worker only carries the guarded pointer back; it is looked at on the GUI thread alone.
    m_pool.submit(
        [this, target = QPointer<TPictureButton>(button), path = button->TagString, fit]() mutable {
            Finished done{std::move(target), QImage()};
            try {
                done.thumbnail = decodeThumbnail(path, fit);
            } catch (...) {
                // out of memory while decoding: the picture counts as undecodable
            }
            {
                std::lock_guard lock(m_finishedLock);
                m_finished.push_back(std::move(done));
            }
            QMetaObject::invokeMethod(this, "applyFinished", Qt::QueuedConnection);
        });
}

void TThumbnailLoader::applyFinished()
{
    std::vector<Finished> finished;
    {
        std::lock_guard lock(m_finishedLock);
        finished.swap(m_finished);
    }
    for (Finished& f : finished) {
        if (f.button) {
            if (f.thumbnail.isNull()) {
                delete f.button.data(); // the picture drops out of the list, with its badge
            } else {
                f.button->Image()->setImage(f.thumbnail);
                f.button->setEnabled(true);
            }
        }
        FThreads.fetch_sub(1);
    }
    if (!finished.empty()) emit applied();
}

void TThumbnailLoader::cancelPending()
{
    FThreads.fetch_sub(int(m_pool.clear()));
}

void TThumbnailLoader::waitForDone()
{
    m_pool.waitForDone();
    QCoreApplication::sendPostedEvents(this);
}

} // namespace ozv
