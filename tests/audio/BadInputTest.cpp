// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
// Files that are not what they claim: none of them may crash or hang the engine.

#include "AudioEngine.h"
#include "FileAccess.h"
#include "MediaPlayer.h"
#include "TestSupport.h"

#include <QFile>
#include <cmath>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace ozv::audio;
using ozv::test::TempFolder;
using State = TMediaPlayer::TMediaState;

namespace {

void truncateTo(const QString& path, double share)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.resize(qint64(f.size() * share)));
}

// Plays a file to its end offline; returns the frames rendered before it stopped.
int playToEnd(AudioEngine& engine, TMediaPlayer& player, int limitFrames)
{
    player.Play();
    std::vector<float> buf(2 * AudioEngine::kPeriodFrames);
    int rendered = 0;
    while (player.State() == State::Playing && rendered < limitFrames) {
        engine.waitUntilIdle();
        engine.render(buf.data(), AudioEngine::kPeriodFrames);
        rendered += AudioEngine::kPeriodFrames;
    }
    return rendered;
}

} // namespace

TEST(BadAudio, UnplayableFilesFailToOpen)
{
    TempFolder dir;
    const QString text = dir.prepare(QStringLiteral("text.mp3"));
    ozv::fixtures::writeText(text, "ID3 this is not an MP3 at all, just words\n");
    const QString empty = dir.touch(QStringLiteral("empty.wav"));
    const QString folder = dir.path(QStringLiteral("folder.wav"));
    QDir().mkpath(folder);
    const QString missing = dir.path(QStringLiteral("missing.wav"));
    AudioEngine engine(AudioEngine::Mode::Offline);
    for (const QString& path : {text, empty, folder, missing}) {
        TMediaPlayer player(engine);
        EXPECT_THROW(player.setFileName(path), MediaOpenError) << path.toStdString();
        EXPECT_EQ(player.State(), State::Unavailable);
        player.Play(); // harmless
        EXPECT_EQ(player.State(), State::Unavailable);
    }
}

TEST(BadAudio, DamagedFilesPlayWhatTheyHoldAndEnd)
{
    TempFolder dir;
    const QString mp3 = dir.tone(QStringLiteral("cut.mp3"), 2.0, 44100);
    truncateTo(mp3, 0.5);
    const QString wav = dir.tone(QStringLiteral("lying.wav"), 2.0, 48000);
    truncateTo(wav, 0.4); // the header still promises two seconds
    const QString silent = dir.prepare(QStringLiteral("no-frames.wav"));
    ozv::fixtures::writeConstant(silent, 48000, 0.0, 0.0f);
    AudioEngine engine(AudioEngine::Mode::Offline);
    for (const QString& path : {mp3, wav, silent}) {
        TMediaPlayer player(engine);
        ASSERT_NO_THROW(player.setFileName(path)) << path.toStdString();
        engine.waitUntilIdle();
        const int frames = playToEnd(engine, player, 5 * kMixRate);
        EXPECT_LT(frames, int(1.5 * kMixRate)) << path.toStdString();
        EXPECT_EQ(player.State(), State::Stopped);
    }
}

TEST(BadAudio, AFileDeletedAfterOpeningPlaysItsHeadAndEnds)
{
    TempFolder dir;
    const QString path = dir.tone(QStringLiteral("gone.wav"), 3.0, 48000);
    AudioEngine engine(AudioEngine::Mode::Offline);
    TMediaPlayer player(engine);
    player.setFileName(path);
    engine.waitUntilIdle();
    ASSERT_TRUE(QFile::remove(path));
    const int frames = playToEnd(engine, player, 5 * kMixRate);
    EXPECT_LE(frames, int(kHeadFrames) + 2 * AudioEngine::kPeriodFrames);
    EXPECT_EQ(player.State(), State::Stopped);
}

TEST(BadAudio, PressedBeforeItsHeadIsDecodedStillPlays)
{
    TempFolder dir;
    const QString path = dir.tone(QStringLiteral("fresh.wav"), 0.5, 48000);
    AudioEngine engine(AudioEngine::Mode::Offline);
    TMediaPlayer player(engine);
    player.setFileName(path);
    player.Play(); // no waiting for the loader
    const int frames = playToEnd(engine, player, 5 * kMixRate);
    EXPECT_GE(frames, kMixRate / 2 - AudioEngine::kPeriodFrames);
    EXPECT_EQ(player.State(), State::Stopped);
}

TEST(BadAudio, DamagedFloatSamplesNeitherSilenceNorDrownTheOthers)
{
    TempFolder dir;
    const QString clean = dir.prepare(QStringLiteral("clean.wav"));
    ASSERT_TRUE(ozv::fixtures::writeConstant(clean, kMixRate, 1.0, 0.25f));
    const QString damaged = dir.prepare(QStringLiteral("damaged.wav"));
    // Runs of NaN, +-infinity, 1e30 and -1e30, with a loud but real 1.5 between them.
    const float kinds[] = {std::nanf(""), INFINITY, -INFINITY, 1e30f, -1e30f, 1.5f};
    ASSERT_TRUE(ozv::fixtures::writeAudio(
        damaged, ozv::fixtures::AudioFormat::WavFloat, kMixRate, 2, kMixRate,
        [&](long f, int) { return kinds[(f / 1000) % std::size(kinds)]; }));
    AudioEngine engine(AudioEngine::Mode::Offline);
    TMediaPlayer a(engine), b(engine);
    a.setFileName(clean);
    b.setFileName(damaged);
    engine.waitUntilIdle();
    a.Play();
    b.Play();
    std::vector<float> out(2 * std::size_t(kMixRate) * 9 / 10);
    for (std::size_t done = 0; done < out.size() / 2;) {
        engine.waitUntilIdle();
        const int n = int(std::min<std::size_t>(AudioEngine::kPeriodFrames, out.size() / 2 - done));
        engine.render(out.data() + 2 * done, n);
        done += std::size_t(n);
    }
    // After the start ramp, each frame is the clean tone alone where the other file is damaged,
    // and full scale (never beyond) where it is loud.
    int damagedFrames = 0, loudFrames = 0;
    for (std::size_t f = 1000; f < out.size() / 2; ++f) {
        const float expected = (f / 1000) % std::size(kinds) == 5 ? 1.0f : 0.25f;
        for (int c = 0; c < 2; ++c) {
            const float x = out[2 * f + std::size_t(c)];
            ASSERT_TRUE(std::isfinite(x)) << "frame " << f;
            ASSERT_LE(std::fabs(x), 1.0f) << "frame " << f;
            ASSERT_NEAR(x, expected, 1e-5) << "frame " << f;
        }
        ++(expected == 1.0f ? loudFrames : damagedFrames);
    }
    EXPECT_GT(damagedFrames, 30000);
    EXPECT_GT(loudFrames, 5000);
}

TEST(BadAudio, AFileThatBlocksHoldsUpNoOtherSound)
{
    TempFolder dir;
    const QString steady = dir.prepare(QStringLiteral("steady.wav"));
    ASSERT_TRUE(ozv::fixtures::writeConstant(steady, kMixRate, 3.0, 0.25f));
    const QString swapped = dir.prepare(QStringLiteral("swapped.wav"));
    ASSERT_TRUE(ozv::fixtures::writeConstant(swapped, kMixRate, 3.0, 0.125f));
    AudioEngine engine(AudioEngine::Mode::Offline);
    TMediaPlayer a(engine), b(engine);
    a.setFileName(steady);
    b.setFileName(swapped);
    engine.waitUntilIdle();
    // The file is replaced by a FIFO after the board was built (as a hung share would behave):
    // opening it for streaming would wait for a writer that never comes.
    ASSERT_TRUE(QFile::remove(swapped));
    ASSERT_EQ(::mkfifo(QFile::encodeName(swapped).constData(), 0600), 0);
    b.Play();
    a.Play();
    std::vector<float> out(2 * std::size_t(kMixRate) * 2);
    for (std::size_t done = 0; done < out.size() / 2;) {
        ASSERT_TRUE(engine.waitUntilIdle(2000)) << "the streaming thread is stuck";
        const int n = int(std::min<std::size_t>(AudioEngine::kPeriodFrames, out.size() / 2 - done));
        engine.render(out.data() + 2 * done, n);
        done += std::size_t(n);
    }
    // The swapped file plays its decoded head and ends; the other sound streams on whole.
    for (std::size_t f = std::size_t(kHeadFrames) + 1000; f < out.size() / 2; ++f)
        ASSERT_NEAR(out[2 * f], 0.25f, 1e-6) << "frame " << f;
    EXPECT_EQ(b.State(), State::Stopped);
    EXPECT_EQ(a.State(), State::Playing);
}

TEST(BadAudio, ANameThatIsNotTextStillPlays)
{
    TempFolder dir;
    const QString made = dir.prepare(QStringLiteral("made.wav"));
    ASSERT_TRUE(ozv::fixtures::writeConstant(made, kMixRate, 0.5, 0.25f));
    const QByteArray native = QFile::encodeName(dir.path()) + "/15 Latin1 \xE9.wav";
    ASSERT_EQ(::rename(QFile::encodeName(made).constData(), native.constData()), 0);
    const QString name = ozv::decodeFileName(native);
    AudioEngine engine(AudioEngine::Mode::Offline);
    TMediaPlayer player(engine);
    ASSERT_NO_THROW(player.setFileName(name));
    EXPECT_NEAR(player.Duration() / double(kMediaTimeUnitsPerSecond), 0.5, 1e-3);
    engine.waitUntilIdle();
    const int frames = playToEnd(engine, player, 5 * kMixRate);
    EXPECT_GE(frames, kMixRate / 2 - AudioEngine::kPeriodFrames);
    ::unlink(native.constData()); // Qt cannot name it for the folder's removal
}

TEST(BadAudio, AFileOverwrittenWhilePlayingStaysWithinFullScale)
{
    TempFolder dir;
    const QString path = dir.prepare(QStringLiteral("overwritten.wav"));
    ASSERT_TRUE(ozv::fixtures::writeAudio(path, ozv::fixtures::AudioFormat::WavFloat, kMixRate, 2,
                                          4 * kMixRate, [](long, int) { return 0.5f; }));
    AudioEngine engine(AudioEngine::Mode::Offline);
    TMediaPlayer player(engine);
    player.setFileName(path);
    engine.waitUntilIdle();
    player.Play();
    std::vector<float> out(2 * AudioEngine::kPeriodFrames);
    float worst = 0;
    bool finite = true;
    for (int period = 0; period < 3 * kMixRate / AudioEngine::kPeriodFrames; ++period) {
        if (period == 20) {
            // Past the header, every byte becomes noise: as float samples that is NaN, infinity
            // and anything up to 3e38, in the part still to be streamed.
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::ReadWrite));
            QByteArray noise(int(f.size() - 64), Qt::Uninitialized);
            std::uint32_t x = 12345;
            for (char& c : noise)
                c = char((x = x * 1664525u + 1013904223u) >> 24);
            f.seek(64);
            ASSERT_EQ(f.write(noise), noise.size());
        }
        engine.waitUntilIdle();
        engine.render(out.data(), AudioEngine::kPeriodFrames);
        for (float s : out) {
            finite = finite && std::isfinite(s);
            worst = std::max(worst, std::fabs(s));
        }
    }
    EXPECT_TRUE(finite);
    EXPECT_LE(worst, 1.0f);
}

namespace {

// A VBR MP3 that starts loud and rough (a high bit rate) and goes on soft (a low one): a
// length estimated from the first frames is far too short.
QString roughThenSoft(const TempFolder& dir, const QString& name, double seconds)
{
    const QString path = dir.prepare(name);
    auto noise = std::make_shared<std::uint32_t>(7);
    const bool ok = ozv::fixtures::writeAudio(
        path, ozv::fixtures::AudioFormat::Mp3Vbr, 44100, 2, long(seconds * 44100),
        [noise](long f, int) {
            if (f < 44100)
                return float(int((*noise = *noise * 1664525u + 1013904223u) >> 8) % 2000 / 2000.0 -
                             0.5);
            return float(0.2 * std::sin(2 * 3.14159265 * 440 * f / 44100.0));
        });
    EXPECT_TRUE(ok);
    return path;
}

} // namespace

TEST(BadAudio, MpegFilesPlayToTheEndOfTheirAudio)
{
    TempFolder dir;
    const QString headerless = roughThenSoft(dir, QStringLiteral("headerless.mp3"), 10.0);
    ASSERT_TRUE(ozv::fixtures::stripMp3LengthHeader(headerless));
    // Two files joined with cat: the first one's header speaks for both.
    const QString joined = roughThenSoft(dir, QStringLiteral("joined.mp3"), 10.0);
    const QString tail = roughThenSoft(dir, QStringLiteral("tail.mp3"), 5.0);
    ASSERT_TRUE(
        ozv::fixtures::writeText(joined, ozv::test::readAll(joined) + ozv::test::readAll(tail)));

    for (const auto& [path, seconds] : {std::pair{headerless, 10.0}, std::pair{joined, 15.0}}) {
        // The headers do lie: what they say is far too short.
        const std::optional<AudioInfo> header = probeAudioFile(path);
        ASSERT_TRUE(header);
        EXPECT_LT(header->duration() / double(kMediaTimeUnitsPerSecond), seconds * 0.8);
        AudioEngine engine(AudioEngine::Mode::Offline);
        TMediaPlayer player(engine);
        player.setFileName(path);
        player.Play(); // at once: the length is still being counted
        std::vector<float> out(2 * 4096);
        int frames = 0;
        while (player.State() == State::Playing && frames < 20 * kMixRate) {
            ASSERT_TRUE(engine.waitUntilIdle());
            engine.render(out.data(), 4096);
            frames += 4096;
            // The board ends a sound whose position reaches its length: never before its end.
            if (player.State() == State::Playing) {
                ASSERT_LT(player.CurrentTime(), player.Duration()) << path.toStdString();
            }
        }
        EXPECT_NEAR(frames / double(kMixRate), seconds, 0.15) << path.toStdString();
        EXPECT_NEAR(player.Duration() / double(kMediaTimeUnitsPerSecond), seconds, 0.1)
            << path.toStdString();
    }
}
