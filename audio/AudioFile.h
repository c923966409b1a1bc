// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// Reading sound files (WAV, MP3 and whatever else libsndfile reads) as stereo float frames
// at the mixer's rate. Not for the audio callback: these do file I/O and allocate.

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

namespace ozv::audio {

constexpr int kMixRate = 48000;
constexpr int kMixChannels = 2;
constexpr std::int64_t kMediaTimeUnitsPerSecond = 10'000'000; // 100 ns

struct AudioInfo
{
    std::int64_t sourceFrames = 0;
    int sourceRate = 0;
    int channels = 0;
    /// The header's length may be wrong (MPEG without a Xing/Info header, or files joined
    /// together): the exact one is counted in the background (countSourceFrames).
    bool lengthIsEstimate = false;
    /// Length at the mixer's rate.
    std::int64_t mixFrames() const;
    /// Length in 100-ns units.
    std::int64_t duration() const;
};

/// Reads the header of a sound file. Fails (nullopt, with a reason) for a file that is
/// missing, not audio, damaged in its header, or has no channels. Any thread.
std::optional<AudioInfo> probeAudioFile(const QString& path, QString* reason = nullptr);

/// The exact length in source frames of a file whose header may not say it (MPEG: counted
/// through the whole file, which takes a while for a long one); nullopt for formats whose
/// header is exact, or when the file cannot be read. Any thread.
std::optional<std::int64_t> countSourceFrames(const QString& path);

/// Decodes a file from its start as interleaved stereo float at kMixRate. One thread at a time.
class Decoder
{
public:
    Decoder();
    ~Decoder();
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    bool open(const QString& path);
    const AudioInfo& info() const { return m_info; }
    /// Up to `frames` frames into `out` (2 floats per frame); 0 once the file is exhausted.
    std::int64_t read(float* out, std::int64_t frames);
    /// Right after open: moves on to output frame `frames` (seeking where the file allows),
    /// so that read() goes on from there as if everything before had been read; returns the
    /// frame reached (less at the end of the file).
    std::int64_t skip(std::int64_t frames);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
    AudioInfo m_info;
};

} // namespace ozv::audio
