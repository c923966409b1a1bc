// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// The mixer: every playing sound is a voice summed into one stereo float stream. Commands come
// from the GUI thread through a lock-free queue, and what the mixer no longer uses goes back
// through another; each voice reports its position and its end through atomics of its player.
// Every gain change, start and stop is ramped so that nothing clicks. process() takes no lock,
// allocates and frees nothing and touches no file.

#include "SoundSource.h"
#include "SpscQueue.h"
#include "StreamBuffer.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

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

/// Everything one playback needs while the mixer plays it: the player it reports to, the sound
/// with its decoded head, and the ring it streams the rest from. Made on the GUI thread for
/// each start and given to the mixer with the start command; the mixer hands it back through
/// its return queue once no voice uses it any more, and only then is it freed. So nothing the
/// audio callback may still read is ever freed under it, and the callback frees nothing.
struct Playback
{
    std::shared_ptr<PlayerShared> player;
    std::shared_ptr<SoundSource> source;
    std::shared_ptr<StreamBuffer> stream; // none: the head holds the whole sound
};

struct MixerCommand
{
    /// Fade: down to silence over `rampFrames`, then the playback ends as if its sound had.
    enum Type : std::uint8_t { Start, Stop, Gain, Fade };
    Type type = Start;
    PlayerShared* player = nullptr; // whose voice
    Playback* playback = nullptr;   // Start: the mixer's until handed back
    std::int64_t startFrame = 0;
    std::int64_t headFrames = 0; // frames of the head usable by this playback
    float gain = 1.0f;
    std::uint32_t generation = 0;
    std::int32_t rampFrames = 0; // Fade
};

class Mixer
{
public:
    /// Commands the GUI thread may have queued before the consumer takes them.
    static constexpr std::size_t kCommandCapacity = 4096;

    Mixer();
    /// Frees what the mixer still holds. No consumer may run any more.
    ~Mixer();

    /// GUI thread only. False when the queue is full (the command is not taken).
    bool push(const MixerCommand& command);
    /// GUI thread only: the next playback the mixer has finished with, or null. Taking every
    /// returned playback before each push keeps the return queue from filling.
    Playback* takeReturned();

    /// The consumer: the audio callback, or whoever drives the mixer while no device runs.
    /// Mixes `frames` stereo frames into `out` (overwriting it).
    void process(float* out, int frames);
    /// The consumer, while no device runs: takes all commands and ends every voice as if its
    /// sound had ended, so players report "stopped".
    void endAll();
    /// Voices sounding now (consumer thread, or tests).
    int activeVoices() const;
    /// Frames that a voice could not play because its stream was late (silence instead of the
    /// sound): 0 in a healthy run. Any thread.
    std::uint64_t lateFrames() const { return m_lateFrames.load(std::memory_order_relaxed); }

private:
    struct Voice
    {
        bool active = false;
        PlayerShared* player = nullptr; // reported to; none once detached (stopping, replaced)
        Playback* playback = nullptr;
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
    void setTarget(Voice& v, float target, int rampFrames = kRampFrames);
    void finish(Voice& v);
    void handBack(Playback* playback);
    Voice* voiceOf(const PlayerShared* player);
    void renderVoice(Voice& v, float* out, int frames);

    SpscQueue<MixerCommand> m_queue;
    // Consumer to GUI thread. Room for every playback that can exist between two takes: those
    // queued as commands and those playing.
    SpscQueue<Playback*> m_returns{kCommandCapacity + kMaxVoices};
    std::atomic<std::uint64_t> m_lateFrames{0};
    std::array<Voice, kMaxVoices> m_voices;
    static constexpr int kScratchFrames = 1024;
    std::array<float, kScratchFrames * 2> m_scratch{};
};

} // namespace ozv::audio
