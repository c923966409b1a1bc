#pragma once
// The mixer: every playing sound is a voice summed into one stereo float stream. Commands come
// from the GUI thread through a lock-free queue; each voice reports its position and its end
// through atomics of its player. Every gain change, start and stop is ramped so that nothing
// clicks. process() takes no lock, allocates nothing and touches no file.

#include "SoundSource.h"
#include "SpscQueue.h"
#include "StreamBuffer.h"

#include <array>
#include <atomic>
#include <cstdint>

namespace ozv::audio {

/// Frames over which every gain change, start and stop is ramped (5 ms at 48 kHz).
constexpr int kRampFrames = 240;
constexpr int kMaxVoices = 256;

/// What a player and the mixer share. Written by the mixer, read by the player's thread.
struct PlayerShared
{
    /// Frames played of the current playback.
    std::atomic<std::int64_t> position{0};
    /// Generation of the last playback that reached its end (or was ended by device loss).
    std::atomic<std::uint32_t> endedGeneration{0};
};

struct MixerCommand
{
    enum Type : std::uint8_t { Start, Stop, Gain };
    Type type = Start;
    PlayerShared* player = nullptr;
    SoundSource* source = nullptr;
    StreamBuffer* stream = nullptr; // frames from stream->firstFrame() on; none: head only
    std::int64_t startFrame = 0;
    std::int64_t headFrames = 0; // frames of the head usable by this playback
    float gain = 1.0f;
    std::uint32_t generation = 0;
};

class Mixer
{
public:
    Mixer();

    /// GUI thread only. False when the queue is full (the command is dropped).
    bool push(MixerCommand command);
    /// Commands the consumer has taken so far (any thread).
    std::uint64_t consumed() const { return m_consumed.load(std::memory_order_acquire); }
    std::uint64_t pushed() const { return m_pushed; }
    /// Rounds of process() or endAll() so far (any thread).
    std::uint64_t cycles() const { return m_cycles.load(std::memory_order_acquire); }

    /// The consumer: the audio callback, or whoever drives the mixer while no device runs.
    /// Mixes `frames` stereo frames into `out` (overwriting it).
    void process(float* out, int frames);
    /// The consumer, while no device runs: takes all commands and ends every voice as if its
    /// sound had ended, so players report "stopped".
    void endAll();
    /// Voices sounding now (consumer thread, or tests).
    int activeVoices() const;

private:
    struct Voice
    {
        bool active = false;
        PlayerShared* player = nullptr; // none once detached (stopping, or replaced)
        SoundSource* source = nullptr;
        StreamBuffer* stream = nullptr;
        std::int64_t pos = 0;
        std::int64_t headFrames = 0;
        std::uint32_t generation = 0;
        float gain = 0, target = 0, step = 0;
        int rampLeft = 0;
        bool stopping = false;
    };

    void takeCommands();
    void apply(const MixerCommand& c);
    void setTarget(Voice& v, float target);
    void finish(Voice& v);
    Voice* voiceOf(const PlayerShared* player);
    void renderVoice(Voice& v, float* out, int frames);

    SpscQueue<MixerCommand> m_queue;
    std::uint64_t m_pushed = 0; // GUI thread
    std::atomic<std::uint64_t> m_consumed{0};
    std::atomic<std::uint64_t> m_cycles{0};
    std::array<Voice, kMaxVoices> m_voices;
    static constexpr int kScratchFrames = 1024;
    std::array<float, kScratchFrames * 2> m_scratch{};
};

} // namespace ozv::audio
