// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// Every fixed section and key name of the settings file, with its default, in one place.
// Names derived from file paths are built with folderSectionOf / fileKeyOf (IniStore.h).

#include <QString>

namespace ozv::keys {

inline const QString Application = QStringLiteral("Application");
inline const QString Folder = QStringLiteral("Folder"); // base folder, ends in a separator
inline const QString Split = QStringLiteral("Split");   // picture panel share, 0..1
// The sound output's name as the sound library reports it; absent: the system's default.
inline const QString AudioDevice = QStringLiteral("AudioDevice");
inline const QString Images = QStringLiteral("Images");
inline const QString Monitor = QStringLiteral("Monitor");  // picture monitor display index
inline const QString Effect = QStringLiteral("Effect");    // easing curve 0..10
inline const QString FadeSuffix = QStringLiteral(".Fade"); // appended to a file key

constexpr double SplitDefault = 0.0;
constexpr int MonitorDefault = -1;
constexpr int EffectDefault = 0;
constexpr int VolumeDefault = 100;
constexpr bool FadeDefault = true;

} // namespace ozv::keys
