// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
// File access of show files and the settings file: names that are not UTF-8, files that are
// not regular (FIFOs, devices), and whole-file replacement on a disk that is full.

#include "FileAccess.h"
#include "IniStore.h"
#include "MediaScan.h"
#include "TestSupport.h"

#include <QFile>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace ozv;
using ozv::test::TempFolder;

namespace {

QString S(const char* s)
{
    return QString::fromUtf8(s);
}

// Writes raw bytes to a file whose name is given as bytes (the file system's own).
void writeRaw(const QByteArray& nativePath, const QByteArray& bytes)
{
    FILE* fp = std::fopen(nativePath.constData(), "wb");
    ASSERT_NE(fp, nullptr) << nativePath.constData();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), fp);
    std::fclose(fp);
}

} // namespace

TEST(FileNames, BytesRoundTripAndReadableNames)
{
    struct Case
    {
        QByteArray bytes;
        bool foreign;
        QString readable;
    };
    const std::vector<Case> cases = {
        {"Gong.wav", false, S("Gong.wav")},
        {"D\xC3\xA9\xC5\xA1\xC5\xA5.wav", false, S("Déšť.wav")},
        {"emoji \xF0\x9F\x8E\xB5.mp3", false, S("emoji 🎵.mp3")},
        {"15 Latin1 \xE9.wav", true, S("15 Latin1 \uFFFD.wav")},
        {"1 Group \xFF bad", true, S("1 Group \uFFFD bad")},
        {"cut \xC3", true, S("cut \uFFFD")},                     // truncated sequence
        {"overlong \xC0\xAF", true, S("overlong \uFFFD\uFFFD")}, // "/" written long
        {"surrogate \xED\xA0\x80", true, S("surrogate \uFFFD\uFFFD\uFFFD")},
    };
    for (const Case& c : cases) {
        const QString name = decodeFileName(c.bytes);
        EXPECT_EQ(encodeFileName(name), c.bytes) << c.bytes.constData();
        EXPECT_EQ(hasForeignBytes(name), c.foreign) << c.bytes.constData();
        EXPECT_EQ(readableName(name), c.readable) << c.bytes.constData();
    }
}

TEST(FileNames, ForeignBytesKeepTheSettingsFileValidText)
{
    const QString name = decodeFileName("15 Latin1 \xE9.wav");
    EXPECT_EQ(EscapeIniName(name), S("15 Latin1 %E9.wav"));
    // A real character written as "%E9" stays distinct: its "%" is escaped.
    EXPECT_EQ(EscapeIniName(S("15 Latin1 %E9.wav")), S("15 Latin1 %25E9.wav"));
    IniStore store;
    store.WriteInteger(folderSectionOf(S("/show/") + name), fileKeyOf(name), 40);
    IniStore back;
    ASSERT_TRUE(back.parseBytes(store.serialize())); // valid UTF-8
    EXPECT_EQ(back.ReadInteger(folderSectionOf(S("/show/") + name), fileKeyOf(name), 100), 40);
}

TEST(FileAccess, OnlyRegularFilesOpenAndNothingBlocks)
{
    TempFolder dir;
    const QString regular = dir.tone(S("tone.wav"));
    const QString fifo = dir.path(S("fifo.wav"));
    ASSERT_EQ(::mkfifo(encodeFileName(fifo).constData(), 0600), 0);
    const QString folder = dir.path(S("folder.wav"));
    ASSERT_TRUE(QDir().mkpath(folder));

    QString reason;
    const int fd = openRegularFile(regular, &reason);
    ASSERT_GE(fd, 0) << reason.toStdString();
    char byte;
    EXPECT_EQ(::read(fd, &byte, 1), 1); // blocking reads work as usual
    ::close(fd);

    const auto t0 = std::chrono::steady_clock::now();
    for (const QString& path : {fifo, folder, S("/dev/zero"), dir.path(S("missing.wav"))}) {
        reason.clear();
        EXPECT_LT(openRegularFile(path, &reason), 0) << path.toStdString();
        EXPECT_FALSE(reason.isEmpty()) << path.toStdString();
    }
    // A FIFO with no writer would have blocked the open for ever.
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(5));

    qint64 size = 0;
    const int small = openRegularFile(regular, &reason, 1 << 20, &size);
    EXPECT_GE(small, 0);
    EXPECT_EQ(size, QFileInfo(regular).size());
    ::close(small);
    EXPECT_LT(openRegularFile(regular, &reason, 1000), 0);
    EXPECT_TRUE(reason.contains(S("příliš velký"))) << reason.toStdString();
}

TEST(FileAccess, FoldersListRegularFilesWithTheirOwnBytes)
{
    TempFolder dir;
    const QByteArray base = encodeFileName(dir.path());
    writeRaw(base + "/15 Latin1 \xE9.wav", "x");
    ASSERT_EQ(::mkdir((base + "/1 Group \xFF bad").constData(), 0700), 0);
    writeRaw(base + "/1 Group \xFF bad/01 In\xE9.wav", "y");
    ASSERT_EQ(::mkfifo((base + "/02 fifo.wav").constData(), 0600), 0);
    ASSERT_EQ(::symlink("/dev/null", (base + "/03 device.wav").constData()), 0);
    ASSERT_EQ(::symlink("missing", (base + "/04 broken.wav").constData()), 0);

    const FolderEntries top = readFolder(dir.path());
    ASSERT_EQ(top.files.size(), 1);
    EXPECT_EQ(encodeFileName(top.files[0]), base + "/15 Latin1 \xE9.wav");
    ASSERT_EQ(top.folders.size(), 1);
    const FolderEntries sub = readFolder(top.folders[0]);
    ASSERT_EQ(sub.files.size(), 1);
    EXPECT_EQ(readableName(lastComponent(sub.files[0])), S("01 In\uFFFD.wav"));
    QString reason;
    const int fd = openRegularFile(sub.files[0], &reason);
    EXPECT_GE(fd, 0) << reason.toStdString();
    if (fd >= 0) ::close(fd);

    // The board sees the same: both groups, captions readable.
    const std::vector<MediaGroup> groups = scanBoard(normalizeFolder(dir.path()), kSoundExtensions);
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].files.size(), 1);
    EXPECT_EQ(groups[1].caption(), S("Group \uFFFD bad"));
    std::filesystem::remove_all(base.toStdString()); // Qt cannot name these files
}

TEST(SettingsFile, AnythingButASmallRegularFileIsRefusedAndLeftAlone)
{
    TempFolder dir;
    const QString fifo = dir.path(S("fifo.ini"));
    ASSERT_EQ(::mkfifo(encodeFileName(fifo).constData(), 0600), 0);
    EXPECT_THROW(IniStore{fifo}, IniLoadError); // and does not wait for a writer

    const QString device = dir.path(S("zero.ini"));
    ASSERT_EQ(::symlink("/dev/zero", encodeFileName(device).constData()), 0);
    EXPECT_THROW(IniStore{device}, IniLoadError);

    const QString big = dir.path(S("big.ini"));
    {
        QFile f(big);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.write("[Application]\r\nFolder=/show/\r\n") > 0);
        ASSERT_TRUE(f.resize(IniStore::kMaxFileSize + 1));
    }
    try {
        IniStore store(big);
        ADD_FAILURE() << "a settings file above the limit was read";
    } catch (const IniLoadError& e) {
        EXPECT_TRUE(e.message().contains(big)) << e.message().toStdString();
    }
    EXPECT_EQ(QFileInfo(big).size(), IniStore::kMaxFileSize + 1);
}

// A real full file system: a small tmpfs, filled up. Needs the right to mount (root here).
class FullDisk : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        const QByteArray mountPoint = encodeFileName(m_dir.path());
        if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=256k") != 0)
            GTEST_SKIP() << "cannot mount a tmpfs here (" << std::strerror(errno) << ")";
        m_mounted = true;
        m_settings = m_dir.path() + S("/Settings.ini");
    }
    void TearDown() override
    {
        if (m_mounted) ::umount2(encodeFileName(m_dir.path()).constData(), MNT_DETACH);
    }
    // Fills the file system until no byte more fits.
    void fill()
    {
        QFile f(m_dir.path() + S("/filler"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'x');
        while (f.write(block) == block.size()) {
        }
        while (f.write("x", 1) == 1) {
        }
    }
    void unfill() { QFile::remove(m_dir.path() + S("/filler")); }
    QStringList leftovers() const
    {
        QStringList names = QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden);
        names.removeAll(S("Settings.ini"));
        names.removeAll(S("filler"));
        return names;
    }

    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_settings;
};

TEST_F(FullDisk, AWriteThatDoesNotFitNeverReplacesTheFile)
{
    IniStore original(m_settings);
    original.WriteString(S("Application"), S("Folder"), S("/show/"));
    original.WriteInteger(S("/show"), S("Gong.wav"), 40);
    ASSERT_TRUE(original.UpdateFile());
    const QByteArray before = test::readAll(m_settings);
    fill();
    // Sizes below, at and above the 16 KiB that buffered writers keep before the first write.
    for (const int size : {100, 4096, 16383, 16384, 16385, 40000, 100000}) {
        IniStore store(m_settings);
        store.WriteString(S("Padding"), S("P"), QString(size, u'p'));
        QString error;
        EXPECT_FALSE(store.UpdateFile(&error)) << size;
        EXPECT_TRUE(error.contains(m_settings)) << error.toStdString();
        EXPECT_EQ(test::readAll(m_settings), before) << size;
        EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(u' ').toStdString();
    }
    // Room again: the same store is written whole at the next try.
    unfill();
    IniStore store(m_settings);
    store.WriteInteger(S("/show"), S("Gong.wav"), 55);
    ASSERT_TRUE(store.UpdateFile());
    EXPECT_EQ(IniStore(m_settings).ReadInteger(S("/show"), S("Gong.wav"), 100), 55);
}
