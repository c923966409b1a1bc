// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "MediaScan.h"
#include "TestSupport.h"

#include <QFileInfo>
#include <algorithm>
#include <gtest/gtest.h>

using namespace ozv;
using ozv::test::TempFolder;

namespace {
QString S(const char* t)
{
    return QString::fromUtf8(t);
}
QStringList names(const QStringList& paths)
{
    QStringList out;
    for (const QString& p : paths)
        out << lastComponent(p);
    return out;
}
} // namespace

TEST(Ordering, WorkedExample)
{
    const QStringList expected = {
        S("/Show/1. Overture.mp3"), S("/Show/1 Bells.mp3"),   S("/Show/02 Entrance.wav"),
        S("/Show/2 Entrance.mp3"),  S("/Show/10 Finale.mp3"), S("/Show/Applause.mp3"),
        S("/Show/applause.wav"),    S("/Show/zebra.mp3"),     S("/Show/_intro.mp3")};
    QStringList shuffled = expected;
    std::reverse(shuffled.begin(), shuffled.end());
    std::swap(shuffled[1], shuffled[6]);
    std::sort(shuffled.begin(), shuffled.end(),
              [](const QString& a, const QString& b) { return CompareMediaFiles(a, b) < 0; });
    EXPECT_EQ(shuffled, expected);
    const QStringList captions = {S("Overture"), S("Bells"),  S("Entrance"),
                                  S("Entrance"), S("Finale"), S("Applause"),
                                  S("applause"), S("zebra"),  S("_intro")};
    for (int i = 0; i < expected.size(); ++i)
        EXPECT_EQ(StripOrderPrefix(baseNameOf(expected[i])), captions[i]);
}

TEST(Ordering, NumbersLeadingZerosDotsAndHugeRuns)
{
    auto before = [](const char* a, const char* b) {
        return CompareMediaFiles(S(a), S(b)) < 0 && CompareMediaFiles(S(b), S(a)) > 0;
    };
    EXPECT_TRUE(before("/s/9 x.mp3", "/s/10 x.mp3"));
    EXPECT_TRUE(before("/s/01.mp3", "/s/2.mp3"));  // digits only
    EXPECT_TRUE(before("/s/Act 1", "/s/Act 1.5")); // a folder's name is cut at its last dot
    EXPECT_TRUE(before("/s/99999999999999999999 a.mp3", "/s/100000000000000000000 a.mp3"));
    EXPECT_TRUE(before("/s/99999999999999999999999 a.mp3", "/s/a.mp3")); // numbered first
    EXPECT_TRUE(before("/s/\u0661 arabic.mp3", "/s/\u0662 arabic.mp3")); // Nd digits above U+00FF
    EXPECT_TRUE(before("/s/zebra.mp3", "/s/\u00B2 sq.mp3"));             // U+00B2 is no order digit
    EXPECT_EQ(CompareMediaFiles(S("/s/a.mp3"), S("/s/a.mp3")), 0);
    EXPECT_NE(CompareMediaFiles(S("/s/a.mp3"), S("/t/a.mp3")), 0);
}

TEST(Captions, Examples)
{
    const std::pair<const char*, const char*> cases[] = {
        {"3.14 Pi", "14 Pi"},
        {"12.  Song", "Song"},
        {"7.Song", "Song"},
        {"7 . Song", ". Song"},
        {"2024-05 Song", "-05 Song"},
        {"  Hello", "Hello"},
        {"½ Time", "Time"},
        {"01", ""},
        {"(vybraná složka)", "(vybraná složka)"},
        {"03 Act two", "Act two"},
        {"Ⅻ\u3000Kapitola", "Kapitola"},
        {"", ""},
        {".hidden", ".hidden"},
    };
    for (const auto& [name, caption] : cases)
        EXPECT_EQ(StripOrderPrefix(S(name)), S(caption)) << name;
}

TEST(Captions, KeepTheRestOfTheNameUntouched)
{
    // Found by fuzzing: an unpaired surrogate after the prefix was replaced on the way.
    const QString lone = QString(QChar(0xDFFF));
    EXPECT_EQ(StripOrderPrefix(S("12 ") + lone + S("x")), lone + S("x"));
    EXPECT_EQ(StripOrderPrefix(lone), lone);
    EXPECT_EQ(StripOrderPrefix(S("\U0001D7D9\U0001D7D8 Song")), S("Song")); // digits beyond the BMP
}

TEST(Scan, NormalisesTheFolder)
{
    TempFolder dir;
    EXPECT_EQ(normalizeFolder(dir.path()), dir.path() + u'/');
    EXPECT_EQ(normalizeFolder(dir.path() + u'/'), dir.path() + u'/');
    EXPECT_EQ(normalizeFolder(dir.path(S("missing"))), QString());
    EXPECT_EQ(normalizeFolder(dir.touch(S("file.mp3"))), QString());
    EXPECT_EQ(normalizeFolder(QString()), QString());
    // Relative, or with "." and ".." inside: absolute and clean, as the settings keep it.
    QDir().mkpath(dir.path(S("show1/sub")));
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    EXPECT_EQ(normalizeFolder(S("show1")), dir.path() + S("/show1/"));
    EXPECT_EQ(normalizeFolder(S("./show1/sub/..//")), dir.path() + S("/show1/"));
    EXPECT_EQ(normalizeFolder(S(".")), dir.path() + u'/');
    QDir::setCurrent(before);
    EXPECT_EQ(normalizeFolder(S("/")), S("/"));
}

TEST(Scan, GroupsInBoardOrder)
{
    TempFolder dir;
    for (const char* f :
         {"2 b.mp3", "1 a.WAV", ".mp3", "x.mp3.bak", ".hidden.wav", "notes.txt", "pic.jpg"})
        dir.touch(S(f));
    for (const char* f : {"03 Act two/1 z.mp3", "1 Act one/b.wav", "A/x.mp3", ".secret/s.mp3",
                          "Act 1.5/y.mp3", "Empty/pic.png", "1 Act one/deep/ignored.mp3"})
        dir.touch(S(f));
    const auto groups = scanBoard(normalizeFolder(dir.path()), kSoundExtensions);
    QStringList headers;
    for (const auto& g : groups)
        headers << g.caption();
    EXPECT_EQ(headers, QStringList({S("(vybraná složka)"), S("Act one"), S("Act two"), S(".secret"),
                                    S("A"), S("Act 1.5")}));
    EXPECT_EQ(names(groups[0].files),
              QStringList({S("1 a.WAV"), S("2 b.mp3"), S(".mp3"), S(".hidden.wav")}));
    EXPECT_EQ(names(groups[1].files), QStringList{S("b.wav")});
    EXPECT_EQ(groups[0].files[0], dir.path() + S("/1 a.WAV"));
    const auto pictures = scanBoard(normalizeFolder(dir.path()), kPictureExtensions);
    ASSERT_EQ(pictures.size(), 2u);
    EXPECT_EQ(pictures[1].name, S("Empty"));
}

TEST(Scan, NoBaseFilesStartsWithTheFirstSubFolder)
{
    TempFolder dir;
    dir.touch(S("2 Second/a.mp3"));
    dir.touch(S("1 First/b.mp3"));
    const auto groups = scanBoard(normalizeFolder(dir.path()), kSoundExtensions);
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].caption(), S("First"));
    EXPECT_TRUE(scanBoard(QString(), kSoundExtensions).empty());
}
