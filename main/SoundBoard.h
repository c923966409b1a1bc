// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// The sound board: builds one sound button per playable audio file, keeps the hot-key table
// and the list of players under the Playback timer, starts, stops and fades sounds, stores
// slider and "Fade" changes, and resets volumes. GUI thread only.

#include "FlowLayout.h"
#include "SoundButton.h"

#include <QList>
#include <QMap>
#include <QPointer>
#include <QTimer>
#include <functional>

namespace ozv {
class IniStore;
namespace audio {
class AudioEngine;
class TMediaPlayer;
} // namespace audio

class TSoundBoard : public QObject
{
    Q_OBJECT
public:
    static constexpr int kPlaybackInterval = 200;
    static constexpr int kFadeSteps = 20;
    /// How long the operator's stop-all fades every sound out.
    static constexpr int kStopAllFadeMs = 1000;

    /// Whether the badges also show what the number-row keys type on a Czech keyboard:
    /// where the keyboard's language is Czech (tests set it).
    bool czechKeys;

    TSoundBoard(TFlowLayout* board, IniStore& settings, audio::AudioEngine& engine,
                std::function<void()> saveSettings, KeyDownHandler keyDown,
                QObject* parent = nullptr);

    /// Stops every sound and rebuilds the board from `folder` (normalised; may be empty).
    void rebuild(const QString& folder);

    void SoundButtonClick(TSoundButton* button);
    void PlaybackTimer();
    void StopAllSounds();
    /// The operator's stop-all: the first press fades every playing sound out over
    /// kStopAllFadeMs; a press while they fade cuts them at once. Either way each sound's
    /// button and the playing list end as when the sound stops by itself.
    void StopAllPressed();
    void VolumeChange(TSoundButton* button);
    void FadeChange(TSoundButton* button);
    /// Resets every slider to 100 and erases the stored per-file values of the board's folders.
    /// `confirm` asks the operator; nothing changes unless it returns true.
    void VolumesResetBtnClick(const std::function<bool()>& confirm);

    /// The sound button registered for a hot-key index, or null.
    TSoundButton* shortCut(int index) const;
    const QList<audio::TMediaPlayer*>& playing() const { return FPlaying; }
    QTimer* playbackTimer() { return &Playback; }
    TFlowLayout* board() const { return m_board; }
    QList<TSoundButton*> buttons() const;

signals:
    void rebuilt();
    /// The playing list or the state or times of its sounds changed (every timer tick while
    /// something plays).
    void playingChanged();
    /// The operator started a sound.
    void started();

private:
    void AddShortCut(int index, TSoundButton* button);
    void createGroup(const QString& groupName, const QStringList& files, int& counter);
    static TSoundButton* buttonOf(const audio::TMediaPlayer* player);
    /// Ends the sound of `FPlaying[i]` and releases its button, as its end does.
    void release(int i);
    static float volumeOf(const TSoundButton* button);

    TFlowLayout* m_board;
    IniStore& m_settings;
    audio::AudioEngine& m_engine;
    std::function<void()> m_saveSettings;
    KeyDownHandler m_keyDown;
    QMap<int, QPointer<TSoundButton>> FShortCuts;
    QList<audio::TMediaPlayer*> FPlaying;
    QTimer Playback;
};

} // namespace ozv
