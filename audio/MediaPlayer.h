// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// The media player of one sound button: open a file, play from the current position, stop,
// position and duration in 100-ns units, state, volume 0.0 to 1.0. GUI thread only.

#include <QObject>
#include <QString>
#include <memory>
#include <stdexcept>

namespace ozv::audio {

class AudioEngine;
struct PlayerShared;
struct SoundSource;
class StreamBuffer;

/// Thrown by TMediaPlayer::setFileName for a file that cannot be played.
class MediaOpenError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class TMediaPlayer : public QObject
{
    Q_OBJECT
public:
    enum class TMediaState { Unavailable, Playing, Stopped };

    TMediaPlayer(AudioEngine& engine, QObject* parent = nullptr);
    ~TMediaPlayer() override;

    /// Opens `path` (header only; its head is decoded in the background). Throws
    /// MediaOpenError when the file is missing, not audio, damaged or has no channels.
    void setFileName(const QString& path);
    QString fileName() const { return m_fileName; }

    void Play();
    void Stop();
    /// Fades the playing sound down to silence over `ms` milliseconds; it then ends as if it
    /// had played to its end (State() turns Stopped). Stop() during the fade cuts it.
    void FadeOut(int ms);
    /// Fading out after FadeOut(), until it ends or is stopped or started again.
    bool fadingOut() const { return m_fadingOut && State() == TMediaState::Playing; }
    /// Position and duration in 100-ns units.
    qint64 CurrentTime() const;
    void setCurrentTime(qint64 time);
    qint64 Duration() const;
    TMediaState State() const;
    /// The head of the sound is decoded (or could not be): a start now is instant.
    bool ready() const;
    float Volume() const { return m_volume; }
    void setVolume(float volume);

private:
    qint64 playedTime() const;

    AudioEngine& m_engine;
    QString m_fileName;
    std::shared_ptr<SoundSource> m_source;
    std::shared_ptr<PlayerShared> m_shared;
    std::shared_ptr<StreamBuffer> m_stream;
    std::uint32_t m_generation = 0;
    bool m_playing = false;
    bool m_fadingOut = false;
    qint64 m_startFrame = 0;
    float m_volume = 1.0f;
};

} // namespace ozv::audio
