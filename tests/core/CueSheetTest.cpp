// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "CueSheet.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using ozv::test::TempFolder;

TEST(CueSheet, HotKeysSkipUnplayableFilesAndFKeysGoToTwelveGroups)
{
    TempFolder dir;
    dir.touch(QStringLiteral("01 Gong.mp3"));
    dir.touch(QStringLiteral("02 Broken.wav"));
    for (int g = 1; g <= 13; ++g) {
        dir.touch(QStringLiteral("%1 Group/01 Sound.wav").arg(g, 2, 10, QLatin1Char('0')));
        dir.touch(QStringLiteral("%1 Group/01 first.jpg").arg(g, 2, 10, QLatin1Char('0')));
        dir.touch(QStringLiteral("%1 Group/02 second.png").arg(g, 2, 10, QLatin1Char('0')));
    }
    for (int i = 0; i < 30; ++i)
        dir.touch(QStringLiteral("14 More/%1 s.mp3").arg(i, 2, 10, QLatin1Char('0')));
    const QString sheet =
        ozv::cueSheet(dir.path(), [](const QString& p) { return !p.contains(u"Broken"); });
    const QStringList lines = sheet.split(u'\n');
    EXPECT_EQ(lines[0], QStringLiteral("[Sounds]"));
    EXPECT_EQ(lines[1], QStringLiteral("# (vybraná složka)"));
    EXPECT_EQ(lines[2], QStringLiteral("Q\tGong\t01 Gong.mp3"));
    EXPECT_EQ(lines[3], QStringLiteral("# Group"));
    EXPECT_EQ(lines[4], QStringLiteral("W\tSound\t01 Sound.wav")); // the broken file used no key
    EXPECT_FALSE(sheet.contains(QStringLiteral("Broken")));
    int keyed = 0, unkeyed = 0;
    const int pictures = int(lines.indexOf(QStringLiteral("[Pictures]")));
    for (int i = 0; i < pictures; ++i) {
        if (lines[i].startsWith(u'#') || lines[i].startsWith(u'[')) continue;
        (lines[i].startsWith(u'-') ? unkeyed : keyed)++;
    }
    EXPECT_EQ(keyed, 36);
    EXPECT_EQ(unkeyed, 1 + 13 + 30 - 36);
    EXPECT_TRUE(sheet.contains(QStringLiteral("0\ts\t21 s.mp3\n"))); // the 36th is "0"
    EXPECT_TRUE(sheet.contains(QStringLiteral("-\ts\t22 s.mp3\n")));
    EXPECT_EQ(lines[pictures + 2], QStringLiteral("F1\tfirst\t01 first.jpg"));
    EXPECT_EQ(lines[pictures + 3], QStringLiteral("-\tsecond\t02 second.png"));
    EXPECT_TRUE(sheet.contains(QStringLiteral("F12\tfirst")));
    EXPECT_FALSE(sheet.contains(QStringLiteral("F13")));
}
