// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// A bounded single-producer single-consumer queue without locks or allocation after
// construction. push: producer thread only; pop: consumer thread only.

#include <atomic>
#include <cstddef>
#include <memory>

namespace ozv::audio {

template <typename T> class SpscQueue
{
public:
    explicit SpscQueue(std::size_t capacity) : m_size(capacity + 1), m_items(new T[m_size]) {}

    /// Producer thread only. False when the queue is full.
    bool push(const T& item)
    {
        const std::size_t tail = m_tail.load(std::memory_order_relaxed);
        const std::size_t next = (tail + 1) % m_size;
        if (next == m_head.load(std::memory_order_acquire)) return false;
        m_items[tail] = item;
        m_tail.store(next, std::memory_order_release);
        return true;
    }

    /// Consumer thread only. False when the queue is empty.
    bool pop(T& item)
    {
        const std::size_t head = m_head.load(std::memory_order_relaxed);
        if (head == m_tail.load(std::memory_order_acquire)) return false;
        item = m_items[head];
        m_head.store((head + 1) % m_size, std::memory_order_release);
        return true;
    }

private:
    const std::size_t m_size;
    std::unique_ptr<T[]> m_items;
    alignas(64) std::atomic<std::size_t> m_head{0};
    alignas(64) std::atomic<std::size_t> m_tail{0};
};

} // namespace ozv::audio
