// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// One opened sound file: its header and the head of its audio, decoded ahead in the background
// so that a press starts sound at once. The head is written once by the loader and then only
// read (by the mixer and the streaming thread).

#include "AudioFile.h"

#include <atomic>
#include <memory>

namespace ozv::audio {

/// Frames of every file decoded ahead (about 170 ms at 48 kHz): 64 KiB per opened sound.
constexpr std::int64_t kHeadFrames = 8192;

struct SoundSource
{
    QString path;
    AudioInfo info;

    /// The decoded head; valid once headReady() is above 0.
    std::unique_ptr<float[]> head;
    /// The head holds the whole file (no streaming needed).
    bool headIsWhole = false;
    /// Frames of `head` that are ready; published last (release) by the loader.
    std::atomic<std::int64_t> headFrames{0};
    /// The loader has finished with this source (head ready, or decoding failed).
    std::atomic<bool> headDone{false};
    /// The owner no longer needs the head; the loader may skip it.
    std::atomic<bool> abandoned{false};
    /// The length in source frames as counted through the file, for a file whose header may
    /// be wrong (info.lengthIsEstimate); -1 until the loader has counted it.
    std::atomic<std::int64_t> countedFrames{-1};

    std::int64_t headReady() const { return headFrames.load(std::memory_order_acquire); }
};

} // namespace ozv::audio
