// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "Mixer.h"

#include <algorithm>
#include <cstring>

namespace ozv::audio {

Mixer::Mixer() : m_queue(kCommandCapacity) {}

Mixer::~Mixer()
{
    MixerCommand c;
    while (m_queue.pop(c))
        delete c.playback;
    for (Voice& v : m_voices)
        if (v.active) delete v.playback;
    while (Playback* p = takeReturned())
        delete p;
}

bool Mixer::push(const MixerCommand& command)
{
    return m_queue.push(command);
}

Playback* Mixer::takeReturned()
{
    Playback* p = nullptr;
    return m_returns.pop(p) ? p : nullptr;
}

void Mixer::handBack(Playback* playback)
{
    // Cannot fail while the GUI thread takes what was returned before each push (the queue
    // holds every playback that can exist then).
    if (playback) m_returns.push(playback);
}

Mixer::Voice* Mixer::voiceOf(const PlayerShared* player)
{
    for (Voice& v : m_voices)
        if (v.active && v.player == player) return &v;
    return nullptr;
}

void Mixer::setTarget(Voice& v, float target, int rampFrames)
{
    v.target = target;
    v.rampLeft = std::max(1, rampFrames);
    v.step = (target - v.gain) / float(v.rampLeft);
}

void Mixer::finish(Voice& v)
{
    if (v.player) {
        v.player->position.store(v.pos, std::memory_order_relaxed);
        v.player->endedGeneration.store(v.generation, std::memory_order_release);
    }
    handBack(v.playback);
    v = Voice{};
}

void Mixer::apply(const MixerCommand& c)
{
    switch (c.type) {
    case MixerCommand::Start: {
        // A playback that is still sounding fades out as a detached tail while the new one starts.
        if (Voice* old = voiceOf(c.player)) {
            old->player = nullptr;
            old->stopping = true;
            setTarget(*old, 0);
        }
        Voice* slot = nullptr;
        for (Voice& v : m_voices)
            if (!v.active) {
                slot = &v;
                break;
            }
        if (!slot) {
            c.player->endedGeneration.store(c.generation, std::memory_order_release);
            handBack(c.playback);
            return;
        }
        Voice& v = *slot;
        v = Voice{};
        v.active = true;
        v.player = c.player;
        v.playback = c.playback;
        v.source = c.playback->source.get();
        v.stream = c.playback->stream.get();
        v.pos = c.startFrame;
        v.headFrames = c.headFrames;
        v.generation = c.generation;
        v.gain = 0;
        setTarget(v, c.gain);
        c.player->position.store(v.pos, std::memory_order_relaxed);
        break;
    }
    case MixerCommand::Stop:
        if (Voice* v = voiceOf(c.player)) {
            v->player = nullptr;
            v->stopping = true;
            setTarget(*v, 0);
        }
        break;
    case MixerCommand::Gain:
        if (Voice* v = voiceOf(c.player)) {
            if (v->stopping) break; // fading out: the fade goes on to its end
            setTarget(*v, c.gain);
        }
        break;
    case MixerCommand::Fade:
        // The voice stays its player's, so the player sees it sound on and then end.
        if (Voice* v = voiceOf(c.player)) {
            v->stopping = true;
            setTarget(*v, 0, std::max(c.rampFrames, kRampFrames));
        }
        break;
    }
}

void Mixer::renderVoice(Voice& v, float* out, int frames)
{
    int done = 0;
    while (done < frames && v.active) {
        const int chunk = std::min(frames - done, kScratchFrames);
        float* src = m_scratch.data();
        int got = 0;
        // The head first, then the streamed rest.
        if (v.pos < v.headFrames) {
            const int n = int(std::min<std::int64_t>(chunk, v.headFrames - v.pos));
            std::memcpy(src, v.source->head.get() + 2 * v.pos, sizeof(float) * 2 * std::size_t(n));
            got = n;
        }
        if (got < chunk && v.pos + got >= v.headFrames) {
            if (v.stream && v.pos + got >= v.stream->firstFrame()) {
                got += int(v.stream->read(src + 2 * got, chunk - got));
            }
        }
        if (got == 0) {
            const bool exhausted = !v.stream || (v.stream->finished() && v.stream->readable() == 0);
            if (exhausted || v.stopping) {
                finish(v);
                return;
            }
            // The stream is late: hold the position and stay silent this round, counted.
            m_lateFrames.fetch_add(std::uint64_t(frames - done), std::memory_order_relaxed);
            return;
        }
        float* o = out + 2 * done;
        for (int i = 0; i < got; ++i) {
            if (v.rampLeft > 0) {
                v.gain += v.step;
                if (--v.rampLeft == 0) v.gain = v.target;
            }
            o[2 * i] += src[2 * i] * v.gain;
            o[2 * i + 1] += src[2 * i + 1] * v.gain;
        }
        v.pos += got;
        done += got;
        if (v.stopping && v.rampLeft == 0) {
            finish(v);
            return;
        }
        if (got < chunk && !v.stream && v.pos >= v.headFrames) {
            finish(v);
            return;
        }
    }
}

void Mixer::takeCommands()
{
    MixerCommand c;
    while (m_queue.pop(c))
        apply(c);
}

void Mixer::process(float* out, int frames)
{
    takeCommands();
    std::memset(out, 0, sizeof(float) * 2 * std::size_t(frames));
    for (Voice& v : m_voices) {
        if (!v.active) continue;
        renderVoice(v, out, frames);
        if (v.active && v.player) v.player->position.store(v.pos, std::memory_order_relaxed);
    }
    // The master never leaves -1..1, whatever the voices summed to (NaN cannot come from
    // cleaned sources, but would be silenced here too).
    for (int i = 0; i < 2 * frames; ++i) {
        const float x = out[i];
        out[i] = x != x ? 0.0f : std::clamp(x, -1.0f, 1.0f);
    }
}

void Mixer::endAll()
{
    takeCommands();
    for (Voice& v : m_voices)
        if (v.active) finish(v);
}

int Mixer::activeVoices() const
{
    return int(
        std::count_if(m_voices.begin(), m_voices.end(), [](const Voice& v) { return v.active; }));
}

} // namespace ozv::audio
