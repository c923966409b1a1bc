// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "AudioEngine.h"
#include "FeedOrder.h"

#include <utility>

#include <SDL.h>
#include <chrono>

namespace ozv::audio {

using namespace std::chrono_literals;

AudioEngine::AudioEngine(Mode mode) : m_mode(mode)
{
    if (m_mode == Mode::Device) {
        // The program handles SIGINT and SIGTERM itself; SDL must not swallow them.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        m_sdlReady = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
        if (m_sdlReady) openDevice();
    }
    m_loader = std::thread([this] { loaderLoop(); });
    m_streamer = std::thread([this] { streamerLoop(); });
    if (m_mode == Mode::Device) m_watch = std::thread([this] { watchLoop(); });
}

AudioEngine::~AudioEngine()
{
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_all();
    if (m_watch.joinable()) m_watch.join();
    m_loader.join();
    m_streamer.join();
    if (m_mode == Mode::Device) {
        closeDevice();
        if (m_sdlReady) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    // No consumer runs now: what was never sent is freed here, the rest by the mixer.
    for (MixerCommand& c : m_unsent)
        delete c.playback;
}

bool AudioEngine::openDevice()
{
    SDL_AudioSpec want{};
    want.freq = kMixRate;
    want.format = AUDIO_F32SYS;
    want.channels = kMixChannels;
    want.samples = kPeriodFrames;
    want.callback = &AudioEngine::deviceCallback;
    want.userdata = this;
    SDL_AudioSpec have{};
    const std::string name = outputDevice();
    // No changes allowed: SDL converts to whatever the device really runs at.
    const SDL_AudioDeviceID dev =
        SDL_OpenAudioDevice(name.empty() ? nullptr : name.c_str(), 0, &want, &have, 0);
    if (dev == 0) return false;
    m_device = dev;
    m_deviceOpen = true;
    SDL_PauseAudioDevice(dev, 0);
    return true;
}

void AudioEngine::closeDevice()
{
    if (m_device) {
        SDL_CloseAudioDevice(m_device); // waits for a running callback to return
        m_device = 0;
    }
    m_deviceOpen = false;
}

void AudioEngine::deviceCallback(void* self, unsigned char* stream, int len)
{
    auto* engine = static_cast<AudioEngine*>(self);
    engine->m_mixer.process(reinterpret_cast<float*>(stream),
                            len / int(sizeof(float) * kMixChannels));
}

void AudioEngine::setOutputDevice(const std::string& name)
{
    {
        std::lock_guard lock(m_deviceLock);
        if (name == m_wantedDevice) return;
        m_wantedDevice = name;
        m_deviceChanged = true;
    }
    m_wake.notify_all();
}

std::string AudioEngine::outputDevice() const
{
    std::lock_guard lock(m_deviceLock);
    return m_wantedDevice;
}

std::vector<std::string> AudioEngine::outputDevices() const
{
    std::lock_guard lock(m_deviceLock);
    return m_deviceNames;
}

void AudioEngine::watchLoop()
{
    auto lastAttempt = std::chrono::steady_clock::now() - 1s;
    auto lastListing = lastAttempt;
    std::unique_lock lock(m_mutex);
    while (!m_quit) {
        lock.unlock();
        const auto now = std::chrono::steady_clock::now();
        if (m_sdlReady && now - lastListing >= 1s) {
            // The devices as they come and go (the operator's list follows them).
            lastListing = now;
            std::vector<std::string> names;
            const int count = SDL_GetNumAudioDevices(0);
            for (int i = 0; i < count; ++i)
                if (const char* n = SDL_GetAudioDeviceName(i, 0)) names.emplace_back(n);
            std::lock_guard devices(m_deviceLock);
            m_deviceNames = std::move(names);
        }
        bool changed = false;
        {
            std::lock_guard devices(m_deviceLock);
            changed = std::exchange(m_deviceChanged, false);
        }
        if (changed && m_deviceOpen) {
            closeDevice(); // the new output opens on this pass
            m_mixer.endAll();
            lastAttempt = now - 1s;
        }
        if (m_deviceOpen) {
            if (m_simulatedLoss.exchange(false) ||
                SDL_GetAudioDeviceStatus(m_device) == SDL_AUDIO_STOPPED) {
                // The device is gone: what was playing ends as if stopped.
                closeDevice();
                m_mixer.endAll();
                lastAttempt = std::chrono::steady_clock::now();
            }
        } else {
            // No device runs the mixer: take the commands and end every voice.
            m_mixer.endAll();
            if (now - lastAttempt >= 1s) {
                lastAttempt = now;
                if (!m_sdlReady) m_sdlReady = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
                if (m_sdlReady) openDevice();
            }
        }
        lock.lock();
        m_wake.wait_for(lock, 50ms, [this] {
            std::lock_guard devices(m_deviceLock);
            return m_quit || m_deviceChanged;
        });
    }
}

std::shared_ptr<SoundSource> AudioEngine::openSource(const QString& path, QString* reason)
{
    const std::optional<AudioInfo> info = probeAudioFile(path, reason);
    if (!info) return nullptr;
    auto source = std::make_shared<SoundSource>();
    source->path = path;
    source->info = *info;
    {
        std::lock_guard lock(m_mutex);
        m_headJobs.push_back(source);
    }
    m_wake.notify_all();
    return source;
}

void AudioEngine::loaderLoop()
{
    std::vector<float> buffer;
    std::unique_lock lock(m_mutex);
    while (true) {
        m_wake.wait(lock, [this] { return m_quit || !m_headJobs.empty() || !m_countJobs.empty(); });
        if (m_quit) return;
        if (m_headJobs.empty()) {
            std::shared_ptr<SoundSource> source = std::move(m_countJobs.front());
            m_countJobs.pop_front();
            m_loaderBusy = true;
            lock.unlock();
            if (!source->abandoned.load()) {
                const std::optional<std::int64_t> frames = countSourceFrames(source->path);
                source->countedFrames.store(frames ? *frames : source->info.sourceFrames,
                                            std::memory_order_release);
            }
            source.reset();
            lock.lock();
            m_loaderBusy = false;
            m_idleChanged.notify_all();
            continue;
        }
        std::shared_ptr<SoundSource> source = std::move(m_headJobs.front());
        m_headJobs.pop_front();
        m_loaderBusy = true;
        lock.unlock();

        if (!source->abandoned.load()) {
            Decoder decoder;
            if (decoder.open(source->path)) {
                buffer.resize(std::size_t(kHeadFrames * kMixChannels));
                std::int64_t got = 0;
                while (got < kHeadFrames) {
                    const std::int64_t n = decoder.read(buffer.data() + 2 * got, kHeadFrames - got);
                    if (n == 0) break;
                    got += n;
                }
                if (got > 0) {
                    float more[kMixChannels];
                    source->headIsWhole = got < kHeadFrames || decoder.read(more, 1) == 0;
                    source->head.reset(new float[std::size_t(got * kMixChannels)]);
                    std::copy(buffer.begin(), buffer.begin() + got * kMixChannels,
                              source->head.get());
                    source->headFrames.store(got, std::memory_order_release);
                }
            }
        }
        source->headDone.store(true, std::memory_order_release);

        lock.lock();
        if (source->info.lengthIsEstimate && !source->abandoned.load())
            m_countJobs.push_back(std::move(source));
        source.reset();
        m_loaderBusy = false;
        m_idleChanged.notify_all();
    }
}

void AudioEngine::start(const std::shared_ptr<PlayerShared>& player,
                        const std::shared_ptr<SoundSource>& source, std::int64_t startFrame,
                        float gain, std::uint32_t generation,
                        std::shared_ptr<StreamBuffer>* streamHolder)
{
    const std::int64_t headFrames = source->headReady();
    std::shared_ptr<StreamBuffer> stream;
    if (!(headFrames > 0 && source->headIsWhole)) {
        stream = std::make_shared<StreamBuffer>(source->path, std::max(startFrame, headFrames),
                                                kStreamFrames);
        {
            std::lock_guard lock(m_mutex);
            m_newStreams.push_back(stream);
        }
        m_wake.notify_all();
    }
    // The ring of the previous playback is no longer filled; a tail still fading out on it
    // keeps it (through its playback) until the mixer hands it back.
    if (*streamHolder) (*streamHolder)->cancelled = true;
    *streamHolder = stream;
    MixerCommand c;
    c.type = MixerCommand::Start;
    c.player = player.get();
    c.playback = new Playback{player, source, std::move(stream)};
    c.startFrame = startFrame;
    c.headFrames = headFrames;
    c.gain = gain;
    c.generation = generation;
    ++m_playbacksOut;
    send(c);
}

void AudioEngine::stop(PlayerShared* player)
{
    MixerCommand c;
    c.type = MixerCommand::Stop;
    c.player = player;
    send(c);
}

void AudioEngine::fadeOut(PlayerShared* player, int frames)
{
    MixerCommand c;
    c.type = MixerCommand::Fade;
    c.player = player;
    c.rampFrames = frames;
    send(c);
}

void AudioEngine::setGain(PlayerShared* player, float gain)
{
    MixerCommand c;
    c.type = MixerCommand::Gain;
    c.player = player;
    c.gain = gain;
    send(c);
}

void AudioEngine::send(const MixerCommand& command)
{
    service();
    if (m_unsent.empty() && m_mixer.push(command)) return;
    m_unsent.push_back(command); // in order, after the ones still waiting
}

void AudioEngine::service()
{
    while (Playback* p = m_mixer.takeReturned()) {
        delete p;
        --m_playbacksOut;
    }
    while (!m_unsent.empty() && m_mixer.push(m_unsent.front()))
        m_unsent.pop_front();
}

void AudioEngine::streamerLoop()
{
    // Every ring gets a capped chunk per turn, the emptiest first and a just-started sound
    // before all, so that many sounds started at once are all fed before their heads run out
    // instead of one ring being filled whole while the others starve.
    constexpr std::int64_t kChunkFrames = 4096, kMinWrite = 1024;
    struct Job
    {
        std::shared_ptr<StreamBuffer> buffer;
        std::unique_ptr<Decoder> decoder;
        std::int64_t readable = 0; // measured once per turn, for the order
    };
    std::vector<Job> jobs;
    std::vector<float> chunk(std::size_t(kChunkFrames * kMixChannels));
    std::unique_lock lock(m_mutex);
    while (!m_quit) {
        m_streamerBusy = true;
        bool fed = true;
        while (fed && !m_quit) {
            // New rings go first, as they come (also between turns).
            std::vector<Job> fresh;
            for (auto& b : m_newStreams)
                fresh.push_back(Job{std::move(b), nullptr});
            m_newStreams.clear();
            jobs.insert(jobs.begin(), std::make_move_iterator(fresh.begin()),
                        std::make_move_iterator(fresh.end()));
            lock.unlock();

            std::erase_if(jobs, [](const Job& job) { return job.buffer->cancelled.load(); });
            orderForFeeding(jobs, [](const Job& job) { return job.buffer->readable(); });
            fed = false;
            std::erase_if(jobs, [&](Job& job) {
                StreamBuffer& buf = *job.buffer;
                if (!job.decoder) {
                    job.decoder = std::make_unique<Decoder>();
                    if (!job.decoder->open(buf.path())) {
                        buf.markFinished(); // vanished or damaged since opening: ends after the
                                            // head
                        return true;
                    }
                    job.decoder->skip(buf.firstFrame());
                }
                if (buf.writable() < kMinWrite) return false;
                const std::int64_t n =
                    job.decoder->read(chunk.data(), std::min(buf.writable(), kChunkFrames));
                if (n == 0) {
                    buf.markFinished();
                    return true;
                }
                buf.write(chunk.data(), n);
                fed = true;
                return false;
            });
            lock.lock();
        }
        m_streamerBusy = !m_newStreams.empty();
        ++m_streamerPasses;
        m_idleChanged.notify_all();
        m_wake.wait_for(lock, 5ms,
                        [this] { return m_quit || m_streamerKick || !m_newStreams.empty(); });
        m_streamerKick = false;
    }
}

void AudioEngine::render(float* out, int frames)
{
    m_mixer.process(out, frames);
    service();
}

bool AudioEngine::waitUntilIdle(int timeoutMs)
{
    std::unique_lock lock(m_mutex);
    const std::uint64_t passes = m_streamerPasses;
    m_streamerKick = true;
    m_wake.notify_all();
    return m_idleChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        return m_headJobs.empty() && m_countJobs.empty() && !m_loaderBusy && m_newStreams.empty() &&
               !m_streamerBusy && m_streamerPasses >= passes + 2;
    });
}

} // namespace ozv::audio
