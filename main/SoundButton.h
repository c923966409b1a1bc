// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// A sound button: 210 x 72 toggle button for one audio file with its "Fade" check box, its
// volume slider standing just right of it, a progress bar along its bottom edge, its media
// player and, on the first 36 buttons, the hot-key badge. The integer tag is the fade level.

#include "BoardButton.h"

#include <QCheckBox>
#include <QProgressBar>
#include <QSlider>

namespace ozv {
namespace audio {
class AudioEngine;
class TMediaPlayer;
} // namespace audio

/// The volume slider: vertical, 0..100, maximum at the top. It leaves Page Up and Page Down to
/// the window (they step pictures).
class TVolumeSlider : public QSlider
{
    Q_OBJECT
public:
    explicit TVolumeSlider(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    /// The wheel changes the volume only while the operator has chosen the slider (it has the
    /// focus); otherwise it scrolls the board as if the slider were not there.
    void wheelEvent(QWheelEvent* e) override;
};

class TSoundButton : public TBoardButton
{
    Q_OBJECT
public:
    static constexpr int kWidth = 210, kHeight = 72;

    /// Builds the button and its parts for `path`; stored volume and fade choice are given.
    /// Throws when the player cannot open the file (nothing is left behind).
    TSoundButton(audio::AudioEngine& engine, const QString& path, const QString& caption,
                 int volume, bool fade, QWidget* parent = nullptr);

    QCheckBox* CheckBox() const { return m_checkBox; }
    TVolumeSlider* TrackBar() const { return m_trackBar; }
    audio::TMediaPlayer* MediaPlayer() const { return m_player; }
    QProgressBar* ProgressBar() const { return m_progress; }
    /// The slider's thickness W (the button keeps a right margin of W + 4 for it).
    int sliderThickness() const { return m_sliderThickness; }

    /// Playing: pressed. Fading: released while its sound still plays.
    bool fading() const;
    std::optional<Face> face() const override;
    /// Repaints the face and gives the "Fade" box the caption's colour (on toggling and when
    /// the sound ends).
    void updateFace();

    /// Gives the button the hot-key badge with `key` and moves the "Fade" box right of it;
    /// `typed`, when given, is what that key types on the operator's keyboard where it is not
    /// `key` itself (a Czech layout types "ě" on the key of "2"), shown beside the badge.
    void setHotKey(QChar key, QChar typed = QChar());
    /// The character shown beside the badge, or null.
    QChar typedKey() const { return m_typed ? m_typed->text().at(0) : QChar(); }

private:
    QCheckBox* m_checkBox;
    TVolumeSlider* m_trackBar;
    audio::TMediaPlayer* m_player;
    QProgressBar* m_progress;
    QLabel* m_typed = nullptr;
    int m_sliderThickness;
};

} // namespace ozv
