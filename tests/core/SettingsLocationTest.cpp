// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "SettingsLocation.h"

#include <gtest/gtest.h>

using ozv::findSettingsSwitch;
using ozv::parseCommandLine;

namespace {
QStringList L(std::initializer_list<const char*> items)
{
    QStringList out;
    for (const char* i : items)
        out << QString::fromUtf8(i);
    return out;
}
} // namespace

TEST(SettingsSwitch, FindsTheValue)
{
    struct Case
    {
        QStringList args;
        std::optional<QString> expected;
    } cases[] = {
        {L({"-settings", "C:\\Show\\Settings.ini"}), QStringLiteral("C:\\Show\\Settings.ini")},
        {L({"/SETTINGS:C:\\Show\\Settings.ini"}), QStringLiteral("C:\\Show\\Settings.ini")},
        {L({"-settings:D:\\show.ini"}), QStringLiteral("D:\\show.ini")},
        {L({"-settingsD:\\show.ini"}), QStringLiteral("D:\\show.ini")},
        {L({"-settings=x"}), QStringLiteral("=x")},
        {L({"/SETTINGS", "show.ini"}), QStringLiteral("show.ini")},
        {L({"-Settings", "a.ini", "-settings", "b.ini"}),
         QStringLiteral("a.ini")}, // the first counts
        {L({"--settings", "a.ini"}), std::nullopt},
        {L({"-setting", "a.ini"}), std::nullopt},
        {L({"x", "-settings"}), QString()}, // no value
        {L({"-settings", "-other"}), QString()},
        {L({"-settings:"}), QString()},
        {L({"-settings", "/home/op/show.ini"}),
         QStringLiteral("/home/op/show.ini")},      // absolute path
        {L({"-settings", "/settings"}), QString()}, // that is the switch itself again
        {L({"-settings", "/Settings:x.ini"}), QString()},
        {L({"-settings", "/settings.ini"}), QStringLiteral("/settings.ini")}, // a path
        {L({"/settingsfolder"}), std::nullopt}, // a folder below "/", not the switch
        {L({"/settings/show.ini"}), std::nullopt},
        {L({"/Settings:/srv/s.ini"}), QStringLiteral("/srv/s.ini")},
        {L({}), std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(findSettingsSwitch(c.args), c.expected) << c.args.join(u' ').toStdString();
}

TEST(CommandLine, OptionsFolderAndErrors)
{
    auto cmd = parseCommandLine(L({"/srv/show", "-settings", "/srv/s.ini"}));
    EXPECT_TRUE(cmd.error.isEmpty());
    EXPECT_EQ(cmd.folder, QStringLiteral("/srv/show"));
    EXPECT_EQ(cmd.settingsPath, QStringLiteral("/srv/s.ini"));

    cmd = parseCommandLine(L({"/settingsfolder"}));
    EXPECT_TRUE(cmd.error.isEmpty());
    EXPECT_EQ(cmd.folder, QStringLiteral("/settingsfolder"));
    EXPECT_FALSE(cmd.settingsPath);

    cmd = parseCommandLine(L({"--cue-sheet", "/srv/show"}));
    EXPECT_EQ(cmd.cueSheetFolder, QStringLiteral("/srv/show"));
    EXPECT_TRUE(cmd.folder.isEmpty());

    EXPECT_TRUE(parseCommandLine(L({"--help"})).help);
    EXPECT_TRUE(parseCommandLine(L({"--version"})).version);
    EXPECT_TRUE(parseCommandLine(L({"--bogus"})).error.contains(QStringLiteral("--bogus")));
    EXPECT_TRUE(parseCommandLine(L({"-settings"})).error.contains(QStringLiteral("-settings")));
    EXPECT_FALSE(parseCommandLine(L({"a", "b"})).error.isEmpty());
    EXPECT_FALSE(parseCommandLine(L({"--cue-sheet"})).error.isEmpty());
}

TEST(CommandLine, DefaultPath)
{
    EXPECT_EQ(ozv::defaultSettingsPath(QStringLiteral("/home/op/.config")),
              QStringLiteral("/home/op/.config/Ozvenka/Settings.ini"));
    EXPECT_EQ(ozv::defaultSettingsPath(QStringLiteral("/home/op/.config/")),
              QStringLiteral("/home/op/.config/Ozvenka/Settings.ini"));
    EXPECT_EQ(ozv::defaultSettingsPath(QString()), QStringLiteral("Ozvenka/Settings.ini"));
}
