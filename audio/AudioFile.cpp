// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "AudioFile.h"

#include "FileAccess.h"

#include <QFile>
#include <algorithm>
#include <cmath>
#include <mpg123.h>
#include <mutex>
#include <numeric>
#include <samplerate.h>
#include <sndfile.h>
#include <unistd.h>
#include <vector>

namespace ozv::audio {

std::int64_t AudioInfo::mixFrames() const
{
    if (sourceRate <= 0) return 0;
    return (sourceFrames * kMixRate + sourceRate / 2) / sourceRate;
}

std::int64_t AudioInfo::duration() const
{
    if (sourceRate <= 0) return 0;
    return sourceFrames * kMediaTimeUnitsPerSecond / sourceRate;
}

namespace {

// An open sound file: read through a descriptor that we opened (regular files only, never
// blocking on a FIFO) and close ourselves. libsndfile recognises every format by its content;
// MPEG audio is then decoded by libmpg123 itself, because libsndfile ends it where the length
// in its header says, and that length is wrong for a file written without a Xing/Info header
// (VBR) or for files joined together: they would stop early.
struct OpenFile
{
    SNDFILE* sf = nullptr;
    mpg123_handle* mpeg = nullptr;
    int fd = -1;
    void close()
    {
        if (sf) sf_close(sf);
        if (mpeg) {
            mpg123_close(mpeg);
            mpg123_delete(mpeg);
        }
        if (fd >= 0) ::close(fd);
        sf = nullptr;
        mpeg = nullptr;
        fd = -1;
    }
};

bool isMpeg(const SF_INFO& info)
{
    return (info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_MPEG;
}

// libmpg123 on the file's descriptor, decoding to float at the file's own rate.
mpg123_handle* openMpeg(int fd, int* rate, int* channels)
{
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
    mpg123_handle* h = mpg123_new(nullptr, nullptr);
    if (!h) return nullptr;
    mpg123_param(h, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    mpg123_format_none(h);
    const long* rates = nullptr;
    size_t count = 0;
    mpg123_rates(&rates, &count);
    for (size_t i = 0; i < count; ++i)
        mpg123_format(h, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_FLOAT_32);
    long r = 0;
    int encoding = 0;
    if (::lseek(fd, 0, SEEK_SET) != 0 || mpg123_open_fd(h, fd) != MPG123_OK ||
        mpg123_getformat(h, &r, channels, &encoding) != MPG123_OK ||
        encoding != MPG123_ENC_FLOAT_32) {
        mpg123_delete(h);
        return nullptr;
    }
    *rate = int(r);
    return h;
}

// Opens `path`; with `decode`, MPEG audio is handed to libmpg123 (the header alone does not
// need it).
OpenFile openFile(const QString& path, SF_INFO* info, QString* reason, bool decode)
{
    *info = SF_INFO{};
    OpenFile f;
    f.fd = openRegularFile(path, reason);
    if (f.fd < 0) return f;
    f.sf = sf_open_fd(f.fd, SFM_READ, info, SF_FALSE);
    if (!f.sf) {
        if (reason) *reason = QString::fromLocal8Bit(sf_strerror(nullptr));
        f.close();
        return f;
    }
    if (info->channels <= 0 || info->samplerate <= 0 || info->frames < 0) {
        if (reason) *reason = QStringLiteral("žádné zvukové kanály");
        f.close();
        return f;
    }
    if (decode && isMpeg(*info)) {
        sf_close(f.sf);
        f.sf = nullptr;
        f.mpeg = openMpeg(f.fd, &info->samplerate, &info->channels);
        if (!f.mpeg) {
            if (reason) *reason = QStringLiteral("poškozený soubor MPEG");
            f.close();
        }
    }
    return f;
}

AudioInfo toInfo(const SF_INFO& sfi)
{
    AudioInfo info;
    info.sourceFrames = sfi.frames;
    info.sourceRate = sfi.samplerate;
    info.channels = sfi.channels;
    info.lengthIsEstimate = isMpeg(sfi);
    return info;
}

} // namespace

std::optional<AudioInfo> probeAudioFile(const QString& path, QString* reason)
{
    SF_INFO sfi;
    OpenFile f = openFile(path, &sfi, reason, false);
    if (!f.sf) return std::nullopt;
    f.close();
    return toInfo(sfi);
}

std::optional<std::int64_t> countSourceFrames(const QString& path)
{
    SF_INFO sfi;
    OpenFile f = openFile(path, &sfi, nullptr, true);
    std::optional<std::int64_t> frames;
    // Only MPEG needs counting: other formats state their length exactly.
    if (f.mpeg && mpg123_scan(f.mpeg) == MPG123_OK) {
        const off_t length = mpg123_length(f.mpeg);
        if (length >= 0) frames = std::int64_t(length);
    }
    f.close();
    return frames;
}

struct Decoder::Impl
{
    OpenFile file;
    SRC_STATE* src = nullptr;
    int channels = 0;
    double ratio = 1.0;
    bool sourceDone = false;
    bool done = false;
    std::vector<float> raw;    // interleaved as in the file
    std::vector<float> stereo; // input frames waiting for the resampler
    std::int64_t stereoPos = 0, stereoLen = 0;

    static constexpr std::int64_t kChunk = 4096;
    std::int64_t position = 0; // output frames delivered so far (or sought past)

    bool seekSource(std::int64_t frame);

    ~Impl()
    {
        if (src) src_delete(src);
        file.close();
    }

    // A float file may hold anything. NaN, infinities and values far beyond any real
    // recording (above +24 dBFS) are damage and become silence; the rest is held to full
    // scale. So one damaged file can neither silence nor drown the other sounds.
    static float clean(float x)
    {
        constexpr float kDamaged = 16.0f;
        return std::isfinite(x) && std::fabs(x) <= kDamaged ? std::clamp(x, -1.0f, 1.0f) : 0.0f;
    }

    // Up to `frames` frames from libmpg123 into `raw`, to the end of the audio data.
    std::int64_t readMpeg(std::int64_t frames)
    {
        const std::size_t frameBytes = sizeof(float) * std::size_t(channels);
        auto* bytes = reinterpret_cast<unsigned char*>(raw.data());
        std::size_t have = 0;
        while (have < std::size_t(frames) * frameBytes) {
            std::size_t got = 0;
            const int r =
                mpg123_read(file.mpeg, bytes + have, std::size_t(frames) * frameBytes - have, &got);
            have += got;
            if (r == MPG123_NEW_FORMAT || (r == MPG123_OK && got > 0)) continue;
            break; // the end, or damage: what was decoded is played
        }
        return std::int64_t(have / frameBytes);
    }

    // Reads up to kChunk source frames into `dst` as stereo; returns frames read.
    std::int64_t readStereo(float* dst, std::int64_t frames)
    {
        if (sourceDone) return 0;
        raw.resize(std::size_t(frames * channels));
        const std::int64_t got =
            file.mpeg ? readMpeg(frames) : sf_readf_float(file.sf, raw.data(), frames);
        if (got <= 0) {
            sourceDone = true;
            return 0;
        }
        for (std::int64_t i = 0; i < got; ++i) {
            const float* f = &raw[std::size_t(i * channels)];
            dst[2 * i] = clean(f[0]);
            dst[2 * i + 1] = clean(channels > 1 ? f[1] : f[0]);
        }
        if (got < frames) sourceDone = true;
        return got;
    }
};

Decoder::Decoder() : d(std::make_unique<Impl>()) {}
Decoder::~Decoder() = default;

bool Decoder::open(const QString& path)
{
    d = std::make_unique<Impl>();
    SF_INFO sfi;
    d->file = openFile(path, &sfi, nullptr, true);
    if (!d->file.sf && !d->file.mpeg) return false;
    m_info = toInfo(sfi);
    d->channels = sfi.channels;
    if (sfi.samplerate != kMixRate) {
        int err = 0;
        d->src = src_new(SRC_SINC_FASTEST, kMixChannels, &err);
        if (!d->src) return false;
        d->ratio = double(kMixRate) / sfi.samplerate;
        d->stereo.resize(std::size_t(Impl::kChunk * 2));
    }
    return true;
}

std::int64_t Decoder::read(float* out, std::int64_t frames)
{
    if ((!d->file.sf && !d->file.mpeg) || d->done || frames <= 0) return 0;
    if (!d->src) {
        std::int64_t total = 0;
        while (total < frames) {
            const std::int64_t got =
                d->readStereo(out + 2 * total, std::min(frames - total, Impl::kChunk));
            if (got == 0) break;
            total += got;
        }
        if (total == 0) d->done = true;
        d->position += total;
        return total;
    }
    std::int64_t produced = 0;
    while (produced < frames) {
        if (d->stereoPos == d->stereoLen && !d->sourceDone) {
            d->stereoLen = d->readStereo(d->stereo.data(), Impl::kChunk);
            d->stereoPos = 0;
        }
        SRC_DATA data{};
        data.data_in = d->stereo.data() + 2 * d->stereoPos;
        data.input_frames = long(d->stereoLen - d->stereoPos);
        data.data_out = out + 2 * produced;
        data.output_frames = long(frames - produced);
        data.src_ratio = d->ratio;
        data.end_of_input = d->sourceDone && d->stereoPos == d->stereoLen ? 1 : 0;
        if (src_process(d->src, &data) != 0) {
            d->done = true;
            break;
        }
        d->stereoPos += data.input_frames_used;
        produced += data.output_frames_gen;
        if (data.output_frames_gen == 0 && data.input_frames_used == 0 && data.end_of_input) {
            if (produced == 0) d->done = true;
            break;
        }
    }
    d->position += produced;
    return produced;
}

bool Decoder::Impl::seekSource(std::int64_t frame)
{
    if (file.sf) return sf_seek(file.sf, sf_count_t(frame), SEEK_SET) == sf_count_t(frame);
    // libmpg123 gives silence for a while after a seek this close to the start: decode and
    // drop instead (still far cheaper than resampling it), from the start it was opened at.
    while (frame > 0) {
        raw.resize(std::size_t(kChunk * channels));
        const std::int64_t got = readMpeg(std::min(frame, kChunk));
        if (got == 0) return false;
        frame -= got;
    }
    return true;
}

std::int64_t Decoder::skip(std::int64_t frames)
{
    // A streamed sound starts where its head ends, and many start at once: seek rather than
    // decode what is skipped. At the mixer's rate that is exact. Through the resampler, the
    // file is sought to a source frame that falls on an output frame (a multiple of the
    // rates' common period) a little before the goal, and the resampler runs from there: its
    // filter is filled again by then, so what follows is what decoding from the start gives.
    if (frames > 0 && d->position == 0) {
        if (!d->src) {
            if (d->seekSource(frames)) {
                d->position = frames;
                return frames;
            }
        } else {
            const std::int64_t g =
                std::gcd(std::int64_t(m_info.sourceRate), std::int64_t(kMixRate));
            const std::int64_t sourcePeriod = m_info.sourceRate / g, mixPeriod = kMixRate / g;
            constexpr std::int64_t kWarmUpSourceFrames = 512;
            const std::int64_t goal = frames * m_info.sourceRate / kMixRate - kWarmUpSourceFrames;
            const std::int64_t periods = goal > 0 ? goal / sourcePeriod : 0;
            if (periods > 0 && d->seekSource(periods * sourcePeriod)) {
                src_reset(d->src);
                d->stereoPos = d->stereoLen = 0;
                d->position = periods * mixPeriod;
            }
        }
    }
    std::vector<float> scratch(std::size_t(Impl::kChunk * 2));
    while (d->position < frames) {
        const std::int64_t got = read(scratch.data(), std::min(frames - d->position, Impl::kChunk));
        if (got == 0) break;
    }
    return d->position;
}

} // namespace ozv::audio
