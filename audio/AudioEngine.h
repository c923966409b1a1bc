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

    // GUI thread -------------------------------------------------------------------------
    /// Reads the header of `path` and queues its head for decoding. Null when the file cannot
    /// be played (`reason` says why).
    std::shared_ptr<SoundSource> openSource(const QString& path, QString* reason = nullptr);
    /// Starts (or restarts) playback of `source` for `player` at `startFrame`.
    void start(PlayerShared* player, const std::shared_ptr<SoundSource>& source,
               std::int64_t startFrame, float gain, std::uint32_t generation,
               std::shared_ptr<StreamBuffer>* streamHolder);
    void stop(PlayerShared* player);
    void setGain(PlayerShared* player, float gain);
    /// Keeps `object` alive until the mixer can no longer reach it, then frees it.
    void retire(std::shared_ptr<void> object);

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
    void collectGarbage();
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

    struct Retired
    {
        std::shared_ptr<void> object;
        std::uint64_t afterCommand;
        std::uint64_t seenAtCycle;
    };
    std::vector<Retired> m_retired; // GUI thread

    std::uint32_t m_device = 0;
    std::atomic<bool> m_deviceOpen{false};
    std::atomic<bool> m_simulatedLoss{false};
    bool m_sdlReady = false;

    std::thread m_loader, m_streamer, m_watch;
};

} // namespace ozv::audio
