// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// The sound output: a strip below the sound board with a status light (green with the
// device's name while a stream is open, red "Bez zvuku" while none could be opened), the list
// of the devices the sound library reports plus "Výchozí" (the system's default), following
// devices as they are plugged in and out, and the choice kept as `AudioDevice` in section
// `Application`. A sound started while nothing can be heard raises a banner instead of a
// button that silently pops up again. GUI thread only.

#include <QComboBox>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace ozv {
class IniStore;
namespace audio {
class AudioEngine;
}

class TOutputSelector : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kHeight = 40;
    static inline const QString kDefault = QStringLiteral("Výchozí");

    /// `reportError` says what the operator must know (an unknown stored device).
    TOutputSelector(audio::AudioEngine& engine, IniStore& settings,
                    std::function<void()> saveSettings,
                    std::function<void(const QString&)> reportError, QWidget* parent = nullptr);

    /// Where the device names and the state come from (the engine; tests give their own).
    std::function<QStringList()> devices;
    std::function<bool()> deviceOpen;

    QComboBox* combo() const { return m_combo; }
    QLabel* light() const { return m_light; }
    QLabel* banner() const { return m_banner; }
    /// Puts `widget` at the strip's left end (the ready counter).
    void addAtStart(QWidget* widget);
    /// Reads the devices and the state again (every second; tests call it).
    void refresh();
    /// A sound was started: if nothing can be heard, the banner says so.
    void soundStarted();

private:
    void chosen(int index);
    void applyStored();

    audio::AudioEngine& m_engine;
    IniStore& m_settings;
    std::function<void()> m_saveSettings;
    std::function<void(const QString&)> m_reportError;
    QLabel* m_light;
    QComboBox* m_combo;
    QLabel* m_banner;
    QTimer m_poll, m_bannerTimer;
    QString m_stored; // the choice as stored (empty: the default)
    bool m_checkedStored = false;
};

} // namespace ozv
