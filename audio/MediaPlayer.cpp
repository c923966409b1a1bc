// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "MediaPlayer.h"

#include "AudioEngine.h"
#include "AudioFile.h"

#include <algorithm>

namespace ozv::audio {

TMediaPlayer::TMediaPlayer(AudioEngine& engine, QObject* parent)
    : QObject(parent), m_engine(engine), m_shared(std::make_shared<PlayerShared>())
{
    setObjectName(QStringLiteral("MediaPlayer"));
}

TMediaPlayer::~TMediaPlayer()
{
    // What the mixer still plays stays alive through its playback until it is handed back.
    if (m_playing) m_engine.stop(m_shared.get());
    if (m_source) m_source->abandoned = true;
    if (m_stream) m_stream->cancelled = true;
}

void TMediaPlayer::setFileName(const QString& path)
{
    QString reason;
    std::shared_ptr<SoundSource> source = m_engine.openSource(path, &reason);
    if (!source)
        throw MediaOpenError(
            QStringLiteral("Zvuk \"%1\" nelze přehrát: %2").arg(path, reason).toStdString());
    Stop();
    if (m_source) m_source->abandoned = true;
    m_source = std::move(source);
    m_fileName = path;
    m_startFrame = 0;
}

void TMediaPlayer::Play()
{
    if (!m_source) return;
    ++m_generation;
    m_playing = true;
    m_fadingOut = false;
    m_shared->position.store(m_startFrame, std::memory_order_relaxed);
    m_engine.start(m_shared, m_source, m_startFrame, m_volume, m_generation, &m_stream);
}

void TMediaPlayer::Stop()
{
    if (!m_playing) return;
    m_startFrame = m_shared->position.load(std::memory_order_relaxed);
    m_playing = false;
    m_fadingOut = false;
    m_engine.stop(m_shared.get());
    // A stopped sound holds no file, decoder or ring: a new start streams afresh, and its
    // decoded head keeps that start instant.
    if (m_stream) {
        m_stream->cancelled = true;
        m_stream.reset();
    }
}

void TMediaPlayer::FadeOut(int ms)
{
    if (State() != TMediaState::Playing || m_fadingOut) return;
    m_fadingOut = true;
    m_engine.fadeOut(m_shared.get(), int(std::int64_t(ms) * kMixRate / 1000));
}

bool TMediaPlayer::ready() const
{
    return m_source && m_source->headDone.load(std::memory_order_acquire);
}

TMediaPlayer::TMediaState TMediaPlayer::State() const
{
    if (!m_source) return TMediaState::Unavailable;
    if (m_playing && m_shared->endedGeneration.load(std::memory_order_acquire) != m_generation)
        return TMediaState::Playing;
    return TMediaState::Stopped;
}

qint64 TMediaPlayer::Duration() const
{
    if (!m_source) return 0;
    AudioInfo info = m_source->info;
    const std::int64_t counted = m_source->countedFrames.load(std::memory_order_acquire);
    if (counted >= 0) info.sourceFrames = counted;
    // Until the file is counted its header may say too little: while it plays it is at least
    // as long as what has been heard, so nothing ends it before its audio does.
    if (counted < 0 && info.lengthIsEstimate && State() == TMediaState::Playing)
        return std::max<qint64>(info.duration(), playedTime() + 1);
    return info.duration();
}

qint64 TMediaPlayer::playedTime() const
{
    const std::int64_t frames =
        m_playing ? m_shared->position.load(std::memory_order_relaxed) : m_startFrame;
    return frames * kMediaTimeUnitsPerSecond / kMixRate;
}

qint64 TMediaPlayer::CurrentTime() const
{
    if (!m_source) return 0;
    if (State() == TMediaState::Stopped && m_playing)
        return Duration(); // the playback ran to its end
    return std::min<qint64>(playedTime(), Duration());
}

void TMediaPlayer::setCurrentTime(qint64 time)
{
    m_startFrame = std::max<qint64>(0, time) * kMixRate / kMediaTimeUnitsPerSecond;
    if (State() == TMediaState::Playing)
        Play();
    else if (m_playing)
        m_playing = false;
}

void TMediaPlayer::setVolume(float volume)
{
    m_volume = std::clamp(volume, 0.0f, 1.0f);
    if (State() == TMediaState::Playing) m_engine.setGain(m_shared.get(), m_volume);
}

} // namespace ozv::audio
