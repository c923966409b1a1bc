// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
// The sound engine rendered offline: what a press, a fade, a stop and an end sound like.

#include "AudioEngine.h"
#include "FeedOrder.h"
#include "MediaPlayer.h"
#include "TestSupport.h"

#include <QThread>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <tuple>

using namespace ozv::audio;
using ozv::test::TempFolder;
using State = TMediaPlayer::TMediaState;

namespace {

constexpr int kTick = kMixRate / 5; // 200 ms

struct Offline
{
    AudioEngine engine{AudioEngine::Mode::Offline};
    /// Renders `frames` frames in device periods, letting the background threads keep up.
    std::vector<float> render(int frames)
    {
        std::vector<float> out(std::size_t(frames) * 2);
        for (int done = 0; done < frames;) {
            engine.waitUntilIdle();
            const int n = std::min(4096, frames - done);
            engine.render(out.data() + 2 * done, n);
            done += n;
        }
        return out;
    }
};

QString constant(const TempFolder& dir, const char* name, double seconds, float value,
                 int rate = kMixRate)
{
    const QString p = dir.prepare(QString::fromUtf8(name));
    ozv::fixtures::writeConstant(p, rate, seconds, value);
    return p;
}

float peak(const std::vector<float>& s, std::size_t from = 0, std::size_t to = SIZE_MAX)
{
    float m = 0;
    for (std::size_t i = from; i < std::min(to, s.size()); ++i)
        m = std::max(m, std::fabs(s[i]));
    return m;
}

float maxStep(const std::vector<float>& s)
{
    float m = 0;
    for (std::size_t i = 2; i < s.size(); i += 2)
        m = std::max(m, std::fabs(s[i] - s[i - 2]));
    return m;
}

} // namespace

TEST(Engine, APressIsHeardInTheFirstPeriod)
{
    TempFolder dir;
    for (const char* name : {"dc.wav", "tone.mp3"}) {
        Offline o;
        const QString path = QString::fromUtf8(name) == u"dc.wav"
                                 ? constant(dir, name, 1, 0.5f)
                                 : dir.tone(QString::fromUtf8(name), 1, 44100);
        TMediaPlayer player(o.engine);
        player.setFileName(path);
        o.engine.waitUntilIdle(); // the head was decoded ahead, as on a built board
        player.Play();
        std::vector<float> first(AudioEngine::kPeriodFrames * 2);
        o.engine.render(first.data(), AudioEngine::kPeriodFrames); // no waiting for any thread
        EXPECT_GT(peak(first), 0.001f) << name;
        EXPECT_EQ(player.State(), State::Playing);
    }
}

TEST(Engine, GainStepsAreRampedAndAFadeEndsInSilence)
{
    TempFolder dir;
    Offline o;
    TMediaPlayer player(o.engine);
    player.setFileName(constant(dir, "dc.wav", 10, 0.5f));
    o.engine.waitUntilIdle();
    player.Play();
    std::vector<float> all = o.render(kTick);
    for (int level = 19; level >= 0; --level) {
        player.setVolume(level / 20.0f);
        const std::vector<float> step = o.render(kTick);
        EXPECT_NEAR(step.back(), 0.5f * level / 20, 1e-4) << level;
        all.insert(all.end(), step.begin(), step.end());
    }
    // No jump larger than a ramp allows: 5 % of 0.5 spread over kRampFrames frames.
    EXPECT_LE(maxStep(all), 0.5f / kRampFrames * 1.01f);
    EXPECT_NEAR(peak(all, all.size() - 2 * (kTick - kRampFrames)), 0.0f, 1e-6);
    EXPECT_EQ(player.State(), State::Playing); // still running silently until stopped
}

TEST(Engine, AStopIsSilentWithinOneTickWithoutAClick)
{
    TempFolder dir;
    Offline o;
    TMediaPlayer player(o.engine);
    player.setFileName(constant(dir, "dc.wav", 5, 0.5f));
    o.engine.waitUntilIdle();
    player.Play();
    o.render(kTick);
    player.Stop();
    const std::vector<float> after = o.render(kTick);
    EXPECT_LE(maxStep(after), 0.5f / kRampFrames * 1.01f);
    EXPECT_EQ(peak(after, 2 * kRampFrames), 0.0f);
    EXPECT_EQ(player.State(), State::Stopped);
}

TEST(Engine, TwoSoundsMixAndChangeIndependently)
{
    TempFolder dir;
    Offline o;
    TMediaPlayer a(o.engine), b(o.engine);
    a.setFileName(constant(dir, "a.wav", 5, 0.25f));
    b.setFileName(constant(dir, "b.wav", 5, 0.5f));
    o.engine.waitUntilIdle();
    a.Play();
    b.Play();
    EXPECT_NEAR(o.render(kTick).back(), 0.75f, 1e-5);
    a.setVolume(0.5f);
    EXPECT_NEAR(o.render(kTick).back(), 0.625f, 1e-5);
    b.setVolume(0.0f);
    EXPECT_NEAR(o.render(kTick).back(), 0.125f, 1e-5);
}

TEST(Engine, PlayingAgainRestartsAtFullLevelFromTheStart)
{
    TempFolder dir;
    Offline o;
    TMediaPlayer player(o.engine);
    player.setFileName(constant(dir, "dc.wav", 5, 0.5f));
    o.engine.waitUntilIdle();
    player.Play();
    o.render(5 * kTick);
    player.setVolume(0.25f); // part-way through a fade
    EXPECT_NEAR(o.render(kTick).back(), 0.125f, 1e-5);
    player.setVolume(1.0f);
    player.setCurrentTime(0);
    player.Play();
    const std::vector<float> restarted = o.render(kTick);
    EXPECT_NEAR(restarted.back(), 0.5f, 1e-5);
    EXPECT_LE(maxStep(restarted),
              0.5f / kRampFrames * 1.01f);               // the old playback fades out under it
    EXPECT_NEAR(double(player.CurrentTime()), 2e6, 1e5); // 200 ms in
}

TEST(Engine, ASoundShorterThanATickEndsCleanly)
{
    TempFolder dir;
    Offline o;
    TMediaPlayer player(o.engine);
    player.setFileName(constant(dir, "blip.wav", 0.05, 0.5f));
    o.engine.waitUntilIdle();
    player.Play();
    const std::vector<float> out = o.render(kTick);
    EXPECT_EQ(player.State(), State::Stopped);
    EXPECT_EQ(player.CurrentTime(), player.Duration());
    EXPECT_EQ(peak(out, 2 * (kMixRate / 20 + 1)), 0.0f); // nothing after its end
}

TEST(Engine, PositionAndDurationInMediaTime)
{
    TempFolder dir;
    for (const char* name : {"a48.wav", "a44.wav", "a48.mp3", "a44.mp3"}) {
        const int rate = QByteArray(name).contains("44") ? 44100 : 48000;
        Offline o;
        TMediaPlayer player(o.engine);
        player.setFileName(dir.tone(QString::fromUtf8(name), 2.0, rate));
        EXPECT_NEAR(double(player.Duration()), 2e7, 2e5) << name; // MP3 frames round the length
        o.engine.waitUntilIdle();
        player.Play();
        o.render(kMixRate / 2);
        EXPECT_NEAR(double(player.CurrentTime()), 5e6, 1e4) << name;
        EXPECT_EQ(player.State(), State::Playing);
        o.render(kMixRate * 2);
        EXPECT_EQ(player.State(), State::Stopped) << name;
        EXPECT_EQ(player.CurrentTime(), player.Duration());
    }
}

TEST(Engine, StreamingContinuesSeamlesslyAfterTheHead)
{
    // Three seconds of a sine at the mixer's rate: the head, then the streamed rest, sample for
    // sample.
    TempFolder dir;
    const QString path = dir.prepare(QStringLiteral("sine.wav"));
    constexpr double freq = 441.0;
    ozv::fixtures::writeAudio(
        path, ozv::fixtures::AudioFormat::WavFloat, kMixRate, 1, 3 * kMixRate,
        [](long f, int) { return float(0.5 * std::sin(2 * M_PI * freq * f / kMixRate)); });
    Offline o;
    TMediaPlayer player(o.engine);
    player.setFileName(path);
    o.engine.waitUntilIdle();
    player.Play();
    const std::vector<float> out = o.render(3 * kMixRate);
    double worst = 0;
    for (int f = kRampFrames; f < 3 * kMixRate; ++f)
        worst = std::max(worst, std::fabs(out[2 * std::size_t(f)] -
                                          0.5 * std::sin(2 * M_PI * freq * f / kMixRate)));
    EXPECT_LT(worst, 1e-5);
}

TEST(Engine, ResampledStreamHasNoGaps)
{
    TempFolder dir;
    Offline o;
    TMediaPlayer player(o.engine);
    player.setFileName(dir.tone(QStringLiteral("long.mp3"), 4.0, 44100));
    o.engine.waitUntilIdle();
    player.Play();
    const std::vector<float> out = o.render(int(3.5 * kMixRate));
    // Every 10 ms window after the start carries the tone.
    for (std::size_t w = 1; w < 350; ++w)
        ASSERT_GT(peak(out, w * 960, (w + 1) * 960), 0.3f) << "window " << w;
}

TEST(Engine, WithoutAnyDeviceSoundsEndAsIfStopped)
{
    qputenv("SDL_AUDIODRIVER", "no-such-driver");
    TempFolder dir;
    AudioEngine engine(AudioEngine::Mode::Device);
    EXPECT_FALSE(engine.deviceOpen());
    TMediaPlayer player(engine);
    player.setFileName(constant(dir, "dc.wav", 5, 0.5f));
    player.Play();
    for (int i = 0; i < 100 && player.State() == State::Playing; ++i)
        QThread::msleep(10);
    EXPECT_EQ(player.State(), State::Stopped);
    qunsetenv("SDL_AUDIODRIVER");
}

TEST(Engine, TheDiskDriverCapturesWhatIsPlayed)
{
    TempFolder dir;
    const QString capture = dir.path(QStringLiteral("out.raw"));
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(capture));
    {
        AudioEngine engine(AudioEngine::Mode::Device);
        ASSERT_TRUE(engine.deviceOpen());
        TMediaPlayer player(engine);
        player.setFileName(constant(dir, "dc.wav", 0.3, 0.5f));
        QThread::msleep(100);
        player.Play();
        for (int i = 0; i < 300 && player.State() == State::Playing; ++i)
            QThread::msleep(10);
        EXPECT_EQ(player.State(), State::Stopped);
    }
    qunsetenv("SDL_AUDIODRIVER");
    qunsetenv("SDL_DISKAUDIOFILE");
    const QByteArray raw = ozv::test::readAll(capture);
    const auto* samples = reinterpret_cast<const float*>(raw.constData());
    int loud = 0;
    for (qsizetype i = 0; i < raw.size() / 4; ++i)
        loud += std::fabs(samples[i] - 0.5f) < 1e-4f;
    EXPECT_NEAR(loud / 2, int(0.3 * kMixRate) - kRampFrames, 2 * kRampFrames);
}

TEST(Engine, ALostDeviceEndsThePlayingSoundsAndIsOpenedAgain)
{
    TempFolder dir;
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(dir.path(QStringLiteral("out.raw"))));
    AudioEngine engine(AudioEngine::Mode::Device);
    ASSERT_TRUE(engine.deviceOpen());
    TMediaPlayer player(engine);
    player.setFileName(constant(dir, "long.wav", 20, 0.5f));
    QThread::msleep(50);
    player.Play();
    QThread::msleep(100);
    ASSERT_EQ(player.State(), State::Playing);
    engine.simulateDeviceLoss();
    for (int i = 0; i < 50 && player.State() == State::Playing; ++i)
        QThread::msleep(10);
    EXPECT_EQ(player.State(), State::Stopped); // as if stopped: the next tick releases the button
    for (int i = 0; i < 300 && !engine.deviceOpen(); ++i)
        QThread::msleep(10);
    EXPECT_TRUE(engine.deviceOpen()); // back without a restart
    player.setCurrentTime(0);
    player.Play();
    QThread::msleep(200);
    EXPECT_EQ(player.State(), State::Playing);
    EXPECT_GT(player.CurrentTime(), 0);
    qunsetenv("SDL_AUDIODRIVER");
    qunsetenv("SDL_DISKAUDIOFILE");
}

namespace {

// A sound with a decoded head of `headFrames` frames of 0.5 and nothing else.
std::shared_ptr<SoundSource> headOnly(std::int64_t headFrames)
{
    auto s = std::make_shared<SoundSource>();
    s->head.reset(new float[std::size_t(headFrames * 2)]);
    std::fill_n(s->head.get(), headFrames * 2, 0.5f);
    s->headFrames = headFrames;
    s->headIsWhole = true;
    return s;
}

MixerCommand startCommand(Playback* p, std::uint32_t generation = 1)
{
    MixerCommand c;
    c.type = MixerCommand::Start;
    c.player = p->player.get();
    c.playback = p;
    c.headFrames = p->source->headReady();
    c.generation = generation;
    return c;
}

} // namespace

TEST(Mixer, HandsBackEachPlaybackOnceWhenNoVoiceUsesItAnyMore)
{
    Mixer mixer;
    std::vector<float> out(2 * 1024);
    // One ends by itself, one is stopped, one is replaced by a new start of the same player.
    auto ends = new Playback{std::make_shared<PlayerShared>(), headOnly(500), nullptr};
    auto stopped = new Playback{std::make_shared<PlayerShared>(), headOnly(100000), nullptr};
    auto replaced = new Playback{std::make_shared<PlayerShared>(), headOnly(100000), nullptr};
    auto again = new Playback{replaced->player, replaced->source, nullptr};
    const std::weak_ptr<PlayerShared> watch = stopped->player;
    for (Playback* p : {ends, stopped, replaced})
        ASSERT_TRUE(mixer.push(startCommand(p)));
    mixer.process(out.data(), 1024);
    EXPECT_EQ(mixer.takeReturned(), ends);
    EXPECT_EQ(mixer.takeReturned(), nullptr);
    MixerCommand stop;
    stop.type = MixerCommand::Stop;
    stop.player = stopped->player.get();
    ASSERT_TRUE(mixer.push(stop));
    ASSERT_TRUE(mixer.push(startCommand(again, 2)));
    mixer.process(out.data(), 100); // the ramps are not over: both still in use
    EXPECT_EQ(mixer.takeReturned(), nullptr);
    mixer.process(out.data(), 1024);
    std::set<Playback*> back;
    while (Playback* p = mixer.takeReturned())
        EXPECT_TRUE(back.insert(p).second);
    EXPECT_EQ(back, (std::set<Playback*>{stopped, replaced}));
    EXPECT_EQ(mixer.activeVoices(), 1); // the new start plays on
    for (Playback* p : {ends, stopped, replaced})
        delete p;
    EXPECT_TRUE(watch.expired());
    // `again` is still the mixer's: it frees it when it goes.
}

TEST(Mixer, ALateStreamIsCountedAsLateFrames)
{
    Mixer mixer;
    auto source = headOnly(1000);
    source->headIsWhole = false;
    auto stream = std::make_shared<StreamBuffer>(QString(), 1000, 4096);
    auto p = new Playback{std::make_shared<PlayerShared>(), source, stream};
    ASSERT_TRUE(mixer.push(startCommand(p)));
    std::vector<float> out(2 * 4096);
    mixer.process(out.data(), 4096); // the head, then nothing streamed yet
    EXPECT_EQ(mixer.lateFrames(), 4096u - 1000u);
    std::vector<float> more(2 * 2048, 0.25f);
    stream->write(more.data(), 2048);
    mixer.process(out.data(), 2048);
    EXPECT_EQ(mixer.lateFrames(), 4096u - 1000u); // fed in time: nothing more
    stream->markFinished();
    mixer.process(out.data(), 1024);
    EXPECT_EQ(mixer.lateFrames(), 4096u - 1000u); // the end is no lateness
    EXPECT_EQ(mixer.takeReturned(), p);
    delete p;
}

// Descriptors of this process open on files below `folder`.
int openFilesBelow(const QString& folder)
{
    int n = 0;
    std::error_code error;
    for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd", error))
        n += QString::fromStdString(std::filesystem::read_symlink(fd.path(), error).string())
                 .startsWith(folder);
    return n;
}

TEST(Engine, AStoppedSoundHoldsNoFileAndStartsAgainAtOnce)
{
    TempFolder dir;
    Offline o;
    std::vector<std::unique_ptr<TMediaPlayer>> players;
    for (int i = 0; i < 8; ++i) {
        players.push_back(std::make_unique<TMediaPlayer>(o.engine));
        players.back()->setFileName(
            constant(dir, QStringLiteral("long%1.wav").arg(i).toUtf8(), 20, 0.1f));
    }
    o.engine.waitUntilIdle();
    for (auto& p : players)
        p->Play();
    o.render(kMixRate / 2);
    EXPECT_EQ(openFilesBelow(dir.path()), 8); // each streams from its file
    for (auto& p : players)
        p->Stop();
    o.render(kTick);
    EXPECT_EQ(openFilesBelow(dir.path()), 0);
    EXPECT_EQ(o.engine.playbacksHeld(), 0);
    players[0]->setCurrentTime(0);
    players[0]->Play();
    std::vector<float> first(AudioEngine::kPeriodFrames * 2);
    o.engine.render(first.data(), AudioEngine::kPeriodFrames); // no waiting: the head is there
    EXPECT_GT(peak(first), 0.01f);
}

TEST(Engine, StartsStopsAndReleasesFromTwoThreadsAtOnce)
{
    // The audio callback runs on its own thread (SDL's disk driver): players come and go,
    // start, restart and stop under it. ThreadSanitizer watches the hand-over both ways.
    TempFolder dir;
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(dir.path(QStringLiteral("out.raw"))));
    const QString shortOne = constant(dir, "short.wav", 0.05, 0.2f);
    const QString longOne = constant(dir, "long.wav", 5, 0.2f);
    {
        AudioEngine engine(AudioEngine::Mode::Device);
        ASSERT_TRUE(engine.deviceOpen());
        std::vector<std::unique_ptr<TMediaPlayer>> players(12);
        std::uint32_t x = 1;
        for (int round = 0; round < 400; ++round) {
            x = x * 1664525u + 1013904223u;
            auto& p = players[(x >> 8) % players.size()];
            switch ((x >> 16) % 4) {
            case 0:
                p = std::make_unique<TMediaPlayer>(engine);
                p->setFileName((x >> 20) % 2 ? shortOne : longOne);
                break;
            case 1:
            case 2:
                if (p) p->Play();
                break;
            default:
                if (p) p->Stop();
            }
            if (round % 20 == 0) QThread::msleep(5);
        }
        for (auto& p : players)
            if (p) p->Stop();
        players.clear();
        for (int i = 0; i < 100 && engine.playbacksHeld() > 0; ++i) {
            QThread::msleep(10);
            engine.service();
        }
        EXPECT_EQ(engine.playbacksHeld(), 0);
    }
    qunsetenv("SDL_AUDIODRIVER");
    qunsetenv("SDL_DISKAUDIOFILE");
}

TEST(Engine, AStreamPicksUpWhereTheHeadEndsAtEveryRate)
{
    // The stream of a file not at the mixer's rate starts by seeking, not by decoding all
    // that the head covers: what it plays must still be, sample for sample, what decoding the
    // whole file from its start gives.
    TempFolder dir;
    for (int rate : {44100, 22050, 32000, 96000, -44100}) { // negative: an MP3 at that rate
        const bool mp3 = rate < 0;
        rate = std::abs(rate);
        const QString path =
            dir.prepare(QStringLiteral("sine%1.%2")
                            .arg(rate)
                            .arg(mp3 ? QStringLiteral("mp3") : QStringLiteral("wav")));
        ozv::fixtures::writeAudio(
            path, mp3 ? ozv::fixtures::AudioFormat::Mp3 : ozv::fixtures::AudioFormat::WavFloat,
            rate, 1, 2 * rate,
            [rate](long f, int) { return float(0.5 * std::sin(2 * M_PI * 997.0 * f / rate)); });
        Decoder whole;
        ASSERT_TRUE(whole.open(path));
        std::vector<float> reference(2 * std::size_t(kMixRate) * 2);
        const std::int64_t n = whole.read(reference.data(), 2 * kMixRate);
        ASSERT_GT(n, kMixRate);

        Offline o;
        TMediaPlayer player(o.engine);
        player.setFileName(path);
        o.engine.waitUntilIdle();
        player.Play();
        const std::vector<float> out = o.render(int(1.5 * kMixRate));
        double worst = 0;
        for (std::size_t f = kRampFrames; f < std::size_t(1.5 * kMixRate); ++f)
            worst = std::max(worst, double(std::fabs(out[2 * f] - reference[2 * f])));
        EXPECT_LT(worst, 1e-3) << rate;

        Decoder sought;
        ASSERT_TRUE(sought.open(path));
        EXPECT_EQ(sought.skip(kHeadFrames), kHeadFrames) << rate;
        std::vector<float> next(2 * 1024);
        ASSERT_EQ(sought.read(next.data(), 1024), 1024);
        for (std::size_t i = 0; i < 1024; ++i)
            ASSERT_NEAR(next[2 * i], reference[2 * (std::size_t(kHeadFrames) + i)], 1e-3)
                << rate << " frame " << i;
    }
}

namespace {
struct FeedJob
{
    std::unique_ptr<int> decoder; // set once the job's file is open
    std::int64_t readable = 0;
    int id = 0;
    std::int64_t fill = 0;  // what its ring holds when first measured
    std::int64_t drain = 0; // drained by this much each further time it is measured
    mutable int measured = 0;
};
} // namespace

TEST(FeedOrder, NewSoundsFirstThenTheEmptiestEvenWhileTheRingsDrain)
{
    struct Case
    {
        const char* what;
        std::vector<std::tuple<bool, std::int64_t, std::int64_t>> jobs; // opened, fill, drain
        std::vector<int> order;                                         // ids, as fed
    };
    const Case cases[] = {
        {"new ones first as they came, then the emptiest",
         {{true, 900, 0}, {false, 0, 0}, {true, 100, 0}, {false, 0, 0}, {true, 500, 0}},
         {1, 3, 2, 4, 0}},
        // Full rings hold the same count; the callback drains one of them while the order is
        // being made. Measured again in each comparison it would be fuller than the first one
        // when compared with it, and emptier than all of them a moment later.
        {"full rings, one draining while they are ordered",
         {{true, 32768, 0},
          {true, 32768, 0},
          {true, 32768, 0},
          {true, 32768, 0},
          {true, 32768, 0},
          {true, 32768, 256},
          {true, 32768, 0},
          {true, 32768, 256}},
         {0, 1, 2, 3, 4, 5, 6, 7}},
    };
    for (const Case& c : cases) {
        std::vector<FeedJob> jobs;
        for (const auto& [opened, fill, drain] : c.jobs) {
            FeedJob& j = jobs.emplace_back();
            j.decoder = opened ? std::make_unique<int>(0) : nullptr;
            j.id = int(jobs.size()) - 1;
            j.fill = fill;
            j.drain = drain;
        }
        orderForFeeding(jobs, [](const FeedJob& j) { return j.fill - j.drain * j.measured++; });
        std::vector<int> order;
        for (const FeedJob& j : jobs)
            order.push_back(j.id);
        EXPECT_EQ(order, c.order) << c.what;
    }
}
