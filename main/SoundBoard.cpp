// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "SoundBoard.h"

#include "AudioEngine.h"

#include "BoardGroup.h"
#include "HotKeys.h"
#include "IniStore.h"
#include "MediaPlayer.h"
#include "MediaScan.h"
#include "SettingsKeys.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QLabel>
#include <algorithm>
#include <cmath>

namespace ozv {

using audio::TMediaPlayer;

TSoundBoard::TSoundBoard(TFlowLayout* board, IniStore& settings, audio::AudioEngine& engine,
                         std::function<void()> saveSettings, KeyDownHandler keyDown,
                         QObject* parent)
    : QObject(parent), m_board(board), m_settings(settings), m_engine(engine),
      m_saveSettings(std::move(saveSettings)), m_keyDown(std::move(keyDown))
{
    czechKeys = QGuiApplication::inputMethod()->locale().language() == QLocale::Czech;
    Playback.setObjectName(QStringLiteral("Playback"));
    Playback.setInterval(kPlaybackInterval);
    connect(&Playback, &QTimer::timeout, this, &TSoundBoard::PlaybackTimer);
}

void TSoundBoard::rebuild(const QString& folder)
{
    StopAllSounds();
    int counter = 0;
    const TFlowLayout::Update update(m_board);
    m_board->clearChildren();
    for (const MediaGroup& group : scanBoard(folder, kSoundExtensions))
        createGroup(group.name, group.files, counter);
    emit rebuilt();
}

void TSoundBoard::createGroup(const QString& groupName, const QStringList& files, int& counter)
{
    addGroupHeader(m_board, captionOf(groupName));
    for (const QString& file : files) {
        const QString section = folderSectionOf(file);
        const QString key = fileKeyOf(file);
        const bool fade = m_settings.ReadBool(section, key + keys::FadeSuffix, keys::FadeDefault);
        const int volume = m_settings.ReadInteger(section, key, keys::VolumeDefault);
        TSoundButton* button = nullptr;
        try {
            button = new TSoundButton(m_engine, file, captionOf(baseNameOf(file)), volume, fade);
        } catch (...) {
            continue; // a file the player cannot open gets no button and uses no hot-key
        }
        button->setKeyDownHandler(m_keyDown);
        if (counter < kHotKeyCount) {
            button->setHotKey(kHotKeyAlphabet.at(counter),
                              czechKeys ? kLowerHotKeyAlphabet.at(counter) : QChar());
            AddShortCut(counter, button);
            ++counter;
        }
        // Change handlers are attached after the initial values, so building writes nothing.
        connect(button->CheckBox(), &QCheckBox::toggled, this,
                [this, button] { FadeChange(button); });
        connect(button->TrackBar(), &QSlider::valueChanged, this,
                [this, button] { VolumeChange(button); });
        connect(button, &QPushButton::clicked, this, [this, button] { SoundButtonClick(button); });
        m_board->addChild(button, QMargins(0, 0, button->sliderThickness() + 4, 0));
    }
}

void TSoundBoard::AddShortCut(int index, TSoundButton* button)
{
    FShortCuts.insert(index, button);
}

TSoundButton* TSoundBoard::shortCut(int index) const
{
    auto it = FShortCuts.constFind(index);
    return it == FShortCuts.cend() ? nullptr : it->data();
}

QList<TSoundButton*> TSoundBoard::buttons() const
{
    QList<TSoundButton*> out;
    for (int i = 0; i < m_board->childCount(); ++i)
        if (auto* b = qobject_cast<TSoundButton*>(m_board->childAt(i))) out << b;
    return out;
}

TSoundButton* TSoundBoard::buttonOf(const TMediaPlayer* player)
{
    return qobject_cast<TSoundButton*>(player->parent());
}

float TSoundBoard::volumeOf(const TSoundButton* button)
{
    const long double value = button->TrackBar()->value();
    const long double maximum = button->TrackBar()->maximum();
    return float(value * button->Tag / maximum / kFadeSteps);
}

void TSoundBoard::SoundButtonClick(TSoundButton* button)
{
    TMediaPlayer* player = button->MediaPlayer();
    if (!button->isChecked()) return; // stopping and fading are the timer's work
    button->Tag = kFadeSteps;
    player->setCurrentTime(0);
    player->setVolume(float(button->TrackBar()->value()) / float(button->TrackBar()->maximum()));
    player->Play();
    button->ProgressBar()->setValue(0);
    button->ProgressBar()->show();
    if (!FPlaying.contains(player)) FPlaying.append(player);
    Playback.start();
    emit playingChanged();
    emit started();
}

void TSoundBoard::PlaybackTimer()
{
    m_engine.service(); // frees what the mixer has finished with since the last command
    for (int i = 0; i < FPlaying.size();) {
        TMediaPlayer* player = FPlaying.at(i);
        TSoundButton* button = buttonOf(player);
        const qint64 duration = player->Duration();
        const qint64 position = player->CurrentTime();
        // A sound the stop-all fades out goes on until the engine ends it.
        const bool goesOn = player->State() == TMediaPlayer::TMediaState::Playing &&
                            position < duration &&
                            (button->isChecked() || player->fadingOut() ||
                             (button->CheckBox()->isChecked() && button->Tag > 0));
        if (goesOn) {
            if (!button->isChecked() && !player->fadingOut()) {
                button->Tag -= 1;
                player->setVolume(volumeOf(button));
            }
            button->ProgressBar()->setValue(
                int(position * button->ProgressBar()->maximum() / duration));
            ++i;
            continue;
        }
        release(i);
    }
    if (FPlaying.isEmpty())
        Playback.stop();
    else if (!Playback.isActive())
        Playback.start();
    emit playingChanged();
}

void TSoundBoard::release(int i)
{
    TMediaPlayer* player = FPlaying.at(i);
    TSoundButton* button = buttonOf(player);
    button->ProgressBar()->hide();
    player->Stop();
    player->setCurrentTime(0);
    button->setChecked(false); // releasing from the program runs no click handler
    button->updateFace();      // no longer fading either
    FPlaying.removeAt(i);
}

void TSoundBoard::StopAllPressed()
{
    const bool fadingAlready = std::any_of(FPlaying.cbegin(), FPlaying.cend(),
                                           [](const TMediaPlayer* p) { return p->fadingOut(); });
    if (fadingAlready) { // the second press: cut what still sounds
        while (!FPlaying.isEmpty())
            release(0);
        Playback.stop();
        emit playingChanged();
        return;
    }
    for (TMediaPlayer* player : std::as_const(FPlaying)) {
        player->FadeOut(kStopAllFadeMs);
        buttonOf(player)->setChecked(false); // up, as a fading sound's button is
    }
    emit playingChanged();
}

void TSoundBoard::StopAllSounds()
{
    Playback.stop();
    for (TMediaPlayer* player : std::as_const(FPlaying))
        player->Stop();
    FPlaying.clear();
    FShortCuts.clear();
    emit playingChanged();
}

void TSoundBoard::VolumeChange(TSoundButton* button)
{
    if (TMediaPlayer* player = button->MediaPlayer()) player->setVolume(volumeOf(button));
    const double value = button->TrackBar()->value();
    m_settings.WriteInteger(folderSectionOf(button->TagString), fileKeyOf(button->TagString),
                            qint32(std::nearbyint(value)));
    m_saveSettings();
}

void TSoundBoard::FadeChange(TSoundButton* button)
{
    m_settings.WriteBool(folderSectionOf(button->TagString),
                         fileKeyOf(button->TagString) + keys::FadeSuffix,
                         button->CheckBox()->isChecked());
    m_saveSettings();
}

void TSoundBoard::VolumesResetBtnClick(const std::function<bool()>& confirm)
{
    if (!confirm()) return;
    for (TSoundButton* button : buttons()) {
        QSlider* slider = button->TrackBar();
        if (slider->value() != slider->maximum()) slider->setValue(slider->maximum());
        if (TMediaPlayer* player = button->MediaPlayer()) player->setVolume(volumeOf(button));
        m_settings.EraseSection(folderSectionOf(button->TagString));
        m_saveSettings();
    }
}

} // namespace ozv
