// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// The sound engine: one output stream for the whole program (SDL audio), the mixer, a loader
// thread that decodes the head of every opened file ahead, a streaming thread that keeps every
// playing voice fed, and a watch thread that survives the loss of the output device and opens
// a device again as soon as one is there. Without a device the engine can be driven offline
// (render()), which is how tests hear what would be played.

#include "Mixer.h"
#include "SoundSource.h"
#include "StreamBuffer.h"

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace ozv::audio {

class AudioEngine
{
public:
    enum class Mode { Device, Offline };

    /// Device mode opens the system's default output (SDL; SDL_AUDIODRIVER picks the driver).
    /// Offline mode opens nothing: render() drives the mixer.
    explicit AudioEngine(Mode mode);
    ~AudioEngine();
    AudioEngine(const AudioEngine&) = delete;
    AudioEngine& operator=(const AudioEngine&) = delete;

    Mode mode() const { return m_mode; }
    /// Whether an output device is open now (any thread).
    bool deviceOpen() const { return m_deviceOpen.load(); }
    /// The output the engine opens: a name the sound library reports, or empty for the
    /// system's default. A change closes the open device (what plays ends, as when a device
    /// is lost) and opens the new one; while it cannot be opened the engine keeps trying.
    void setOutputDevice(const std::string& name);
    std::string outputDevice() const;
    /// The output devices the sound library reports, looked up again every second; empty
    /// before the first look and in offline mode (any thread).
    std::vector<std::string> outputDevices() const;

    // GUI thread -------------------------------------------------------------------------
    /// Reads the header of `path` and queues its head for decoding. Null when the file cannot
    /// be played (`reason` says why).
    std::shared_ptr<SoundSource> openSource(const QString& path, QString* reason = nullptr);
    /// Starts (or restarts) playback of `source` for `player` at `startFrame`. The ring it
    /// streams from (none when the head holds the whole sound) is left in `*streamHolder`; a
    /// ring already there is let go.
    void start(const std::shared_ptr<PlayerShared>& player,
               const std::shared_ptr<SoundSource>& source, std::int64_t startFrame, float gain,
               std::uint32_t generation, std::shared_ptr<StreamBuffer>* streamHolder);
    void stop(PlayerShared* player);
    /// Ramps the player's voice down to silence over `frames`, then ends it.
    void fadeOut(PlayerShared* player, int frames);
    void setGain(PlayerShared* player, float gain);
    /// Frees what the mixer has handed back and sends the commands that found its queue full.
    /// Called by every command; the board's timer calls it too.
    void service();
    /// Playbacks given to the mixer and not yet handed back and freed (tests).
    int playbacksHeld() const { return m_playbacksOut; }
    /// Frames played as silence because a stream was late (any thread; see Mixer).
    std::uint64_t lateFrames() const { return m_mixer.lateFrames(); }

    // Offline mode, one thread -----------------------------------------------------------
    /// Mixes `frames` frames into `out` as the device callback would.
    void render(float* out, int frames);
    /// Waits until every queued head is decoded and every stream is filled or finished.
    bool waitUntilIdle(int timeoutMs = 5000);

    /// Behaves as if the output device had been unplugged (for tests of the recovery).
    void simulateDeviceLoss() { m_simulatedLoss = true; }

    /// Frames the device asks for per callback.
    static constexpr int kPeriodFrames = 256;
    static constexpr std::int64_t kStreamFrames = 32768;

private:
    void loaderLoop();
    void streamerLoop();
    void watchLoop();
    bool openDevice();
    void closeDevice();
    void send(const MixerCommand& command);
    static void deviceCallback(void* self, unsigned char* stream, int len);

    const Mode m_mode;
    Mixer m_mixer;

    std::mutex m_mutex; // guards the job lists below and the idle bookkeeping
    std::condition_variable m_wake;
    std::condition_variable m_idleChanged;
    std::deque<std::shared_ptr<SoundSource>> m_headJobs;
    // Lengths to count through the file: only once no head waits, so heads stay prompt.
    std::deque<std::shared_ptr<SoundSource>> m_countJobs;
    std::vector<std::shared_ptr<StreamBuffer>> m_newStreams;
    bool m_loaderBusy = false;
    bool m_streamerBusy = false;
    std::uint64_t m_streamerPasses = 0;
    bool m_streamerKick = false; // someone waits for a fresh pass
    bool m_quit = false;

    // GUI thread: commands that found the mixer's queue full, sent first the next time, so
    // none is lost; and the count of playbacks out with the mixer.
    std::deque<MixerCommand> m_unsent;
    int m_playbacksOut = 0;

    mutable std::mutex m_deviceLock; // guards the three below
    std::string m_wantedDevice;
    bool m_deviceChanged = false;
    std::vector<std::string> m_deviceNames;

    std::uint32_t m_device = 0;
    std::atomic<bool> m_deviceOpen{false};
    std::atomic<bool> m_simulatedLoss{false};
    bool m_sdlReady = false;

    std::thread m_loader, m_streamer, m_watch;
};

} // namespace ozv::audio
