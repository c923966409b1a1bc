// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// The ring of decoded frames that the streaming thread keeps filled for one playing voice.
// Producer: the streaming thread. Consumer: the mixer. No locks, no allocation after creation.

#include <QString>
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>

namespace ozv::audio {

class StreamBuffer
{
public:
    StreamBuffer(QString path, std::int64_t firstFrame, std::int64_t capacityFrames)
        : m_path(std::move(path)), m_firstFrame(firstFrame), m_capacity(capacityFrames),
          m_data(new float[std::size_t(capacityFrames * 2)])
    {}

    const QString& path() const { return m_path; }
    /// The frame of the file (at the mixer's rate) that the ring starts with.
    std::int64_t firstFrame() const { return m_firstFrame; }

    // Producer side.
    std::int64_t writable() const
    {
        return m_capacity -
               (m_written.load(std::memory_order_relaxed) - m_read.load(std::memory_order_acquire));
    }
    void write(const float* frames, std::int64_t count)
    {
        std::int64_t w = m_written.load(std::memory_order_relaxed);
        for (std::int64_t i = 0; i < count; ++i, ++w) {
            const std::int64_t slot = w % m_capacity;
            m_data[std::size_t(2 * slot)] = frames[2 * i];
            m_data[std::size_t(2 * slot + 1)] = frames[2 * i + 1];
        }
        m_written.store(w, std::memory_order_release);
    }
    void markFinished() { m_finished.store(true, std::memory_order_release); }

    // Consumer side.
    std::int64_t readable() const
    {
        return m_written.load(std::memory_order_acquire) - m_read.load(std::memory_order_relaxed);
    }
    /// Copies up to `count` frames into `out`; returns how many.
    std::int64_t read(float* out, std::int64_t count)
    {
        const std::int64_t n = std::min(count, readable());
        std::int64_t r = m_read.load(std::memory_order_relaxed);
        for (std::int64_t i = 0; i < n; ++i, ++r) {
            const std::int64_t slot = r % m_capacity;
            out[2 * i] = m_data[std::size_t(2 * slot)];
            out[2 * i + 1] = m_data[std::size_t(2 * slot + 1)];
        }
        m_read.store(r, std::memory_order_release);
        return n;
    }
    /// True once the producer has written the last frame of the file.
    bool finished() const { return m_finished.load(std::memory_order_acquire); }

    /// Set by the owner when no voice needs the ring any more; the producer then stops.
    std::atomic<bool> cancelled{false};

private:
    const QString m_path;
    const std::int64_t m_firstFrame;
    const std::int64_t m_capacity;
    std::unique_ptr<float[]> m_data;
    alignas(64) std::atomic<std::int64_t> m_written{0};
    alignas(64) std::atomic<std::int64_t> m_read{0};
    std::atomic<bool> m_finished{false};
};

} // namespace ozv::audio
