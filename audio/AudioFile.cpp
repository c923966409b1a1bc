#include "AudioFile.h"

#include "FileAccess.h"

#include <QFile>
#include <algorithm>
#include <cmath>
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

// An open sound file: libsndfile reads through a descriptor that we opened (regular files
// only, never blocking on a FIFO) and close ourselves.
struct OpenFile
{
    SNDFILE* sf = nullptr;
    int fd = -1;
    void close()
    {
        if (sf) sf_close(sf);
        if (fd >= 0) ::close(fd);
        sf = nullptr;
        fd = -1;
    }
};

OpenFile openFile(const QString& path, SF_INFO* info, QString* reason)
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
        if (reason) *reason = QStringLiteral("no audio channels");
        f.close();
    }
    return f;
}

AudioInfo toInfo(const SF_INFO& sfi)
{
    AudioInfo info;
    info.sourceFrames = sfi.frames;
    info.sourceRate = sfi.samplerate;
    info.channels = sfi.channels;
    return info;
}

} // namespace

std::optional<AudioInfo> probeAudioFile(const QString& path, QString* reason)
{
    SF_INFO sfi;
    OpenFile f = openFile(path, &sfi, reason);
    if (!f.sf) return std::nullopt;
    f.close();
    return toInfo(sfi);
}

struct Decoder::Impl
{
    OpenFile file;
    SNDFILE* sf = nullptr;
    SRC_STATE* src = nullptr;
    int channels = 0;
    double ratio = 1.0;
    bool sourceDone = false;
    bool done = false;
    std::vector<float> raw;    // interleaved as in the file
    std::vector<float> stereo; // input frames waiting for the resampler
    std::int64_t stereoPos = 0, stereoLen = 0;

    static constexpr std::int64_t kChunk = 4096;

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

    // Reads up to kChunk source frames into `dst` as stereo; returns frames read.
    std::int64_t readStereo(float* dst, std::int64_t frames)
    {
        if (sourceDone) return 0;
        raw.resize(std::size_t(frames * channels));
        const sf_count_t got = sf_readf_float(sf, raw.data(), frames);
        if (got <= 0) {
            sourceDone = true;
            return 0;
        }
        for (sf_count_t i = 0; i < got; ++i) {
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
    d->file = openFile(path, &sfi, nullptr);
    d->sf = d->file.sf;
    if (!d->sf) return false;
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
    if (!d->sf || d->done || frames <= 0) return 0;
    if (!d->src) {
        std::int64_t total = 0;
        while (total < frames) {
            const std::int64_t got =
                d->readStereo(out + 2 * total, std::min(frames - total, Impl::kChunk));
            if (got == 0) break;
            total += got;
        }
        if (total == 0) d->done = true;
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
    return produced;
}

std::int64_t Decoder::skip(std::int64_t frames)
{
    std::vector<float> scratch(std::size_t(Impl::kChunk * 2));
    std::int64_t skipped = 0;
    while (skipped < frames) {
        const std::int64_t got = read(scratch.data(), std::min(frames - skipped, Impl::kChunk));
        if (got == 0) break;
        skipped += got;
    }
    return skipped;
}

} // namespace ozv::audio
