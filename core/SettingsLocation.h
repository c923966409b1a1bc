// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// The program's command line: the settings switch ("-settings FILE", "/settings:FILE", any
// letter case), the optional show folder, and the program's own long options.

#include <QString>
#include <QStringList>
#include <optional>

namespace ozv {

struct CommandLine
{
    /// The value of the settings switch when the switch was given (may be empty).
    std::optional<QString> settingsPath;
    /// A show folder named on the command line (opened instead of the stored one).
    QString folder;
    /// --cue-sheet FOLDER: print the running order and exit.
    std::optional<QString> cueSheetFolder;
    bool help = false;
    bool version = false;
    /// A clear message when the command line cannot be used; empty otherwise.
    QString error;
};

/// Parses the process's parameters (without the program's own path).
CommandLine parseCommandLine(const QStringList& args);

/// The settings switch alone: its value when present (empty when it has none).
std::optional<QString> findSettingsSwitch(const QStringList& args);

/// The default settings file: "Ozvenka/Settings.ini" below `configDir` (the per-user
/// configuration folder), or the relative "Ozvenka/Settings.ini" when it is empty.
QString defaultSettingsPath(const QString& configDir);

/// Where the settings file lies: the switch's value unchanged, or the default path below the
/// user's configuration folder, whose folder is then created (a failure is not reported).
QString locateSettingsFile(const CommandLine& cmd);

QString usageText();

} // namespace ozv
