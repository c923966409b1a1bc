// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "IniStore.h"
#include "TestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <unistd.h>

using ozv::IniStore;
using ozv::test::TempFolder;

namespace {
IniStore parsed(const char* text)
{
    IniStore s;
    s.parse(QString::fromUtf8(text));
    return s;
}
QString S(const char* t)
{
    return QString::fromUtf8(t);
}
} // namespace

TEST(IniStore, ReadingRules)
{
    const IniStore s = parsed("orphan=1\r\n"
                              "; a comment\n"
                              "  [ Application ]  \r"
                              "Folder = /show/ \n"
                              "\tSplit=0,5\t\n"
                              "bare key\n"
                              "empty=\n"
                              "[d:\\zvuky]\n"
                              "Gong.mp3=80\n"
                              "[APPLICATION]\n"
                              "Extra=x=y\n");
    EXPECT_EQ(s.sectionNames(), QStringList({S("Application"), S("d:\\zvuky")}));
    EXPECT_EQ(s.ReadString(S("application"), S("FOLDER"), S("def")), S("/show/"));
    EXPECT_EQ(s.ReadString(S("Application"), S("Split"), S("def")), S("0,5"));
    EXPECT_EQ(s.ReadString(S("Application"), S("bare key"), S("def")), S("def")); // no value
    EXPECT_EQ(s.ReadString(S("Application"), S("empty"), S("def")), S(""));       // empty value
    EXPECT_EQ(s.ReadString(S("Application"), S("Extra"), S("def")), S("x=y")); // first "=" splits
    EXPECT_EQ(s.ReadInteger(S("D:\\Zvuky"), S("gong.MP3"), 100), 80);          // case-insensitive
    EXPECT_FALSE(s.SectionExists(S("orphan")));
    EXPECT_EQ(s.ReadString(S("Application"), S("orphan"), S("none")), S("none"));
}

TEST(IniStore, UnicodeNamesMatchWithoutCase)
{
    IniStore s;
    s.WriteInteger(S("Písně"), S("Žluťoučký.mp3"), 5);
    EXPECT_EQ(s.ReadInteger(S("PÍSNĚ"), S("ŽLUŤOUČKÝ.MP3"), 0), 5);
    s.WriteInteger(S("PÍSNĚ"), S("žluťoučký.mp3"), 6); // keeps the first spelling
    EXPECT_EQ(s.sectionNames(), QStringList{S("Písně")});
    EXPECT_EQ(s.keyNames(S("písně")), QStringList{S("Žluťoučký.mp3")});
}

TEST(IniStore, WritesTheExactFormat)
{
    IniStore s = parsed("[Application]\nFolder=/a/\nbare\n; gone\n[Images]\nEffect=6\n");
    s.WriteInteger(S("Images"), S("Monitor"), -1);
    s.WriteBool(S("/Zvuky"), S("01 Gong.mp3.Fade"), false);
    EXPECT_EQ(s.serialize(), QByteArray("\xEF\xBB\xBF"
                                        "[Application]\r\nFolder=/a/\r\nbare\r\n\r\n"
                                        "[Images]\r\nEffect=6\r\nMonitor=-1\r\n\r\n"
                                        "[/Zvuky]\r\n01 Gong.mp3.Fade=0\r\n\r\n"));
    EXPECT_EQ(IniStore().serialize(), QByteArray("\xEF\xBB\xBF"));
}

TEST(IniStore, IntegerAndBoolReading)
{
    struct Case
    {
        const char* text;
        int expected;
    } cases[] = {
        {"50", 50},
        {"-7", -7},
        {"+7", 7},
        {"$32", 50},
        {"x32", 50},
        {"0x32", 50},
        {"0X32", 50},
        {"-$10", -16},
        {"abc", 100},
        {"", 100},
        {"12a", 100},
        {"2147483647", 2147483647},
        {"2147483648", 100},
        {"-2147483648", -2147483647 - 1},
        {"-2147483649", 100},
        {"$FFFFFFFF", 100},
        {"1.5", 100},
        {"0x", 100},
    };
    for (const Case& c : cases) {
        IniStore s;
        s.WriteString(S("s"), S("k"), S(c.text));
        EXPECT_EQ(s.ReadInteger(S("s"), S("k"), 100), c.expected) << c.text;
    }
    IniStore s = parsed("[s]\nt=2\nf=0\ny=yes\n");
    EXPECT_TRUE(s.ReadBool(S("s"), S("t"), false));
    EXPECT_FALSE(s.ReadBool(S("s"), S("f"), true));
    EXPECT_TRUE(s.ReadBool(S("s"), S("y"), true));
    EXPECT_FALSE(s.ReadBool(S("s"), S("y"), false));
    EXPECT_TRUE(s.ReadBool(S("s"), S("absent"), true));
}

TEST(IniStore, FloatsFollowTheDecimalSeparator)
{
    EXPECT_EQ(IniStore::formatFloat(0.5, u','), S("0,5"));
    EXPECT_EQ(IniStore::formatFloat(0.5, u'.'), S("0.5"));
    EXPECT_EQ(IniStore::formatFloat(1, u','), S("1"));
    EXPECT_EQ(IniStore::formatFloat(0, u','), S("0"));
    EXPECT_EQ(IniStore::formatFloat(double(0.3f), u','), S("0,300000011920929"));
    EXPECT_EQ(IniStore::formatFloat(-12.25, u'.'), S("-12.25"));
    EXPECT_EQ(IniStore::formatFloat(1234567.0, u','), S("1234567"));
    EXPECT_EQ(IniStore::formatFloat(0.0001, u'.'), S("0.0001"));
    EXPECT_EQ(IniStore::formatFloat(1e-6, u'.'), S("1E-6"));

    EXPECT_EQ(IniStore::parseFloat(S("0,5"), u','), 0.5);
    EXPECT_EQ(IniStore::parseFloat(S("0.5"), u','),
              std::nullopt); // "0.5" read under a Czech locale
    EXPECT_EQ(IniStore::parseFloat(S("-1,5E2"), u','), -150.0);
    EXPECT_EQ(IniStore::parseFloat(S("1"), u','), 1.0);
    EXPECT_EQ(IniStore::parseFloat(S(",5"), u','), 0.5);
    for (const char* bad : {"", "-", "abc", "1,5x", "1e", "1 000", "inf", "nan"})
        EXPECT_EQ(IniStore::parseFloat(S(bad), u','), std::nullopt) << bad;
    // What is written reads back to the same float.
    for (float f : {0.3f, 0.25f, 1.0f / 3, 0.999999f}) {
        const auto back = IniStore::parseFloat(IniStore::formatFloat(f, u','), u',');
        ASSERT_TRUE(back);
        EXPECT_EQ(float(*back), f);
    }
}

TEST(IniStore, DeleteKeyKeepsTheSectionEraseSectionRemovesIt)
{
    IniStore s = parsed("[A]\nk=1\n[B]\nk=2\nl=3\n");
    s.DeleteKey(S("a"), S("K"));
    EXPECT_TRUE(s.SectionExists(S("A")));
    EXPECT_FALSE(s.ValueExists(S("A"), S("k")));
    s.EraseSection(S("b"));
    EXPECT_FALSE(s.SectionExists(S("B")));
    s.WriteInteger(S("B"), S("n"), 4); // a new section goes to the end
    EXPECT_EQ(s.sectionNames(), QStringList({S("A"), S("B")}));
    EXPECT_EQ(s.ReadInteger(S("B"), S("l"), -1), -1);
}

TEST(IniStore, EscapesNamesFromPaths)
{
    EXPECT_EQ(ozv::EscapeIniName(S("Písně [1. akt] 100% = hotovo")),
              S("Písně %5B1. akt%5D 100%25 %3D hotovo"));
    EXPECT_EQ(ozv::EscapeIniName(S("C:\\a b\\č")), S("C:\\a b\\č"));
    EXPECT_EQ(ozv::folderSectionOf(S("/Zvuky/Akt [1]/Gong.mp3")), S("/Zvuky/Akt %5B1%5D"));
    EXPECT_EQ(ozv::folderSectionOf(S("/Gong.mp3")), S("/"));
    EXPECT_EQ(ozv::fileKeyOf(S("/Zvuky/a=b.mp3")), S("a%3Db.mp3"));
}

TEST(IniStore, EveryFileNameReadsBack)
{
    // Names a file system allows that the file format would otherwise cut, trim or take for a
    // comment: their values must come back after a write and a read.
    const char* names[] = {"; not a comment.wav", " leading blank.wav",
                           "tab\tinside.mp3",     "line\nbreak.wav",
                           "a=b [c] %d.wav",      "#hash.wav",
                           "\\back\\slash.wav",   "emoji \xF0\x9F\x8E\xAD.mp3",
                           "-dash.wav",           "trailing dot..wav",
                           "\xE2\x80\xAE rtl.wav"};
    const QString folder = S("/show/ odd folder [1] ");
    IniStore s;
    int volume = 1;
    for (const char* n : names)
        s.WriteInteger(ozv::folderSectionOf(folder + S(n)), ozv::fileKeyOf(folder + S(n)),
                       volume++);
    IniStore back;
    ASSERT_TRUE(back.parseBytes(s.serialize()));
    volume = 1;
    for (const char* n : names)
        EXPECT_EQ(back.ReadInteger(ozv::folderSectionOf(folder + S(n)),
                                   ozv::fileKeyOf(folder + S(n)), -1),
                  volume++)
            << n;
    // Ordinary names are escaped as they always were.
    EXPECT_EQ(ozv::EscapeIniName(S("01 Gong; 2 = x.mp3")), S("01 Gong; 2 %3D x.mp3"));
    EXPECT_EQ(ozv::EscapeIniName(S("; x ")), S("%3B x%20"));
}

TEST(IniStoreFile, MissingFileStartsEmptyAndIsCreatedOnWrite)
{
    TempFolder dir;
    const QString path = dir.path(S("Settings.ini"));
    IniStore s(path);
    EXPECT_TRUE(s.sectionNames().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(path));
    s.WriteString(S("Application"), S("Folder"), S("/show/"));
    ASSERT_TRUE(s.UpdateFile());
    EXPECT_EQ(ozv::test::readAll(path),
              QByteArray("\xEF\xBB\xBF[Application]\r\nFolder=/show/\r\n\r\n"));
    EXPECT_EQ(IniStore(path).ReadString(S("Application"), S("Folder"), S("")), S("/show/"));
}

TEST(IniStoreFile, InvalidUtf8StopsOpeningAndLeavesTheFile)
{
    TempFolder dir;
    const QString path = dir.path(S("bad.ini"));
    const QByteArray bytes("\xEF\xBB\xBF[Application]\r\nFolder=/a\xC3\x28/\r\n");
    ozv::fixtures::writeText(path, bytes);
    try {
        IniStore s(path);
        FAIL() << "opened";
    } catch (const ozv::IniLoadError& e) {
        EXPECT_TRUE(e.message().contains(path));
        EXPECT_TRUE(e.message().contains(S("UTF-8")));
    }
    EXPECT_EQ(ozv::test::readAll(path), bytes);
}

TEST(IniStoreFile, UnreadableFileStopsOpening)
{
    TempFolder dir;
    QDir().mkpath(dir.path(S("folder.ini"))); // exists but cannot be read as a file
    EXPECT_THROW(IniStore(dir.path(S("folder.ini"))), ozv::IniLoadError);
}

TEST(IniStoreFile, FailedWriteIsReportedAndKeepsTheContent)
{
    TempFolder dir;
    IniStore s(dir.path(S("missing/Settings.ini")));
    s.WriteInteger(S("Images"), S("Effect"), 3);
    QString error;
    EXPECT_FALSE(s.UpdateFile(&error));
    EXPECT_TRUE(error.startsWith(S("Soubor \"") + dir.path(S("missing/Settings.ini")) +
                                 S("\" nelze zapsat. ")))
        << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.path(S("missing"))));
    EXPECT_EQ(s.ReadInteger(S("Images"), S("Effect"), 0), 3);
}

TEST(IniStoreFile, WriteReplacesTheFileWhole)
{
    // The new content is written beside the old file and renamed over it: a reader holding the
    // old file (here a hard link) still sees complete old content, never a half-written file.
    TempFolder dir;
    const QString path = dir.path(S("Settings.ini"));
    IniStore s(path);
    s.WriteString(S("A"), S("k"), S("old"));
    ASSERT_TRUE(s.UpdateFile());
    const QString link = dir.path(S("old-link.ini"));
    ASSERT_EQ(::link(QFile::encodeName(path).constData(), QFile::encodeName(link).constData()), 0);
    s.WriteString(S("A"), S("k"), S("new"));
    ASSERT_TRUE(s.UpdateFile());
    EXPECT_EQ(ozv::test::readAll(link), QByteArray("\xEF\xBB\xBF[A]\r\nk=old\r\n\r\n"));
    EXPECT_EQ(ozv::test::readAll(path), QByteArray("\xEF\xBB\xBF[A]\r\nk=new\r\n\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2); // no temporary file left
}

TEST(IniStoreFile, ManySectionsRoundTrip)
{
    IniStore s;
    for (int i = 0; i < 100000; ++i)
        s.WriteInteger(S("/show/folder %1").arg(i), S("a.mp3"), i % 101);
    IniStore back;
    back.parse(QString::fromUtf8(s.serialize().mid(3)));
    EXPECT_EQ(back.sectionNames().size(), 100000);
    EXPECT_EQ(back.ReadInteger(S("/SHOW/FOLDER 99999"), S("A.MP3"), -1), 99999 % 101);
}
