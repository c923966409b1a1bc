// Files that are not what they claim: none of them may crash or hang the engine.

#include "AudioEngine.h"
#include "MediaPlayer.h"
#include "TestSupport.h"

#include <QFile>
#include <gtest/gtest.h>

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
