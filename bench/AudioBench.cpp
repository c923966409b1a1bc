// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
// The sound engine: start latency, mixer cost, board build, memory per sound, a long file.

#include "AudioEngine.h"
#include "BenchSupport.h"
#include "MediaFixtures.h"
#include "MediaPlayer.h"

#include <QElapsedTimer>
#include <QFile>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <memory>
#include <thread>
#include <vector>

using namespace ozv;
using namespace ozv::audio;
using fixtures::AudioFormat;

namespace {

constexpr int kPeriod = AudioEngine::kPeriodFrames;

// A cosine: loud from its first sample.
QString cosineFile(const QString& name, AudioFormat format, int rate, double seconds,
                   int channels = 2)
{
    const QString path = bench::scratch(QStringLiteral("audio")) + u'/' + name;
    if (!QFile::exists(path))
        fixtures::writeAudio(
            path, format, rate, channels, long(seconds * rate),
            [rate](long f, int) { return float(0.5 * std::cos(2 * M_PI * 1000.0 * f / rate)); });
    return path;
}

QStringList copies(const QString& original, const QString& folder, int count)
{
    QStringList out;
    const QString dir = bench::scratch(folder);
    for (int i = 0; i < count; ++i) {
        const QString p = dir + QStringLiteral("/%1 %2").arg(i).arg(original.section(u'/', -1));
        if (!QFile::exists(p)) QFile::copy(original, p);
        out << p;
    }
    return out;
}

} // namespace

// 64 sounds started in one tick, each streaming from its own file, played in real time (a
// period every 5.33 ms, as a device asks for them): frames the mixer had to play as silence
// because a stream was late, over 10 runs. Target: 0 in every run.
static void BM_ManySoundsStreamFromDisk(benchmark::State& state)
{
    const int count = int(state.range(0));
    const bool resampled = state.range(1) == 1;
    const QString one =
        resampled ? cosineFile(QStringLiteral("stream44.wav"), AudioFormat::Wav16, 44100, 4)
                  : cosineFile(QStringLiteral("stream48.wav"), AudioFormat::Wav16, 48000, 4);
    const QStringList files =
        copies(one, resampled ? QStringLiteral("many44") : QStringLiteral("many48"), count);
    std::uint64_t worstLate = 0;
    int runsWithLate = 0, runs = 0;
    for (auto _ : state) {
        for (int run = 0; run < 10; ++run, ++runs) {
            AudioEngine engine(AudioEngine::Mode::Offline);
            std::vector<std::unique_ptr<TMediaPlayer>> players;
            for (const QString& f : files) {
                players.push_back(std::make_unique<TMediaPlayer>(engine));
                players.back()->setFileName(f);
            }
            engine.waitUntilIdle(60000); // the board is built: every head decoded
            for (auto& p : players)
                p->Play();
            std::vector<float> buf(2 * kPeriod);
            const auto period = std::chrono::nanoseconds(1'000'000'000LL * kPeriod / kMixRate);
            auto due = std::chrono::steady_clock::now();
            for (int i = 0; i < 3 * kMixRate / kPeriod; ++i) { // 3 s
                std::this_thread::sleep_until(due);
                engine.render(buf.data(), kPeriod);
                due += period;
            }
            worstLate = std::max(worstLate, engine.lateFrames());
            runsWithLate += engine.lateFrames() > 0;
        }
    }
    state.counters["late_frames_worst"] = double(worstLate); // target 0
    state.counters["runs_with_late_frames"] = runsWithLate;
    state.counters["runs"] = runs;
    state.SetLabel(resampled ? "44.1 kHz files (resampled)" : "48 kHz files");
}
BENCHMARK(BM_ManySoundsStreamFromDisk)
    ->Args({64, 0})
    ->Args({64, 1})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

// Frames from the click handler to the first audible output frame, at a 256-frame period.
static void BM_StartLatencyFrames(benchmark::State& state)
{
    const bool mp3 = state.range(0) == 1;
    const QString path =
        mp3 ? cosineFile(QStringLiteral("start.mp3"), AudioFormat::Mp3, 48000, 2)
            : cosineFile(QStringLiteral("start.wav"), AudioFormat::Wav16, 48000, 2);
    AudioEngine engine(AudioEngine::Mode::Offline);
    TMediaPlayer player(engine);
    player.setFileName(path);
    engine.waitUntilIdle();
    std::vector<float> buf(2 * kPeriod);
    long worst = 0, total = 0, presses = 0;
    for (auto _ : state) {
        player.setCurrentTime(0);
        player.Play();
        long frames = 0;
        bool heard = false;
        while (!heard && frames < 48000) {
            engine.render(buf.data(), kPeriod); // no waiting: the head must already be there
            for (int i = 0; i < kPeriod && !heard; ++i, ++frames)
                heard = std::fabs(buf[2 * std::size_t(i)]) > 1e-3f;
        }
        worst = std::max(worst, frames);
        total += frames;
        ++presses;
        player.Stop();
        engine.render(buf.data(), kPeriod);
    }
    state.counters["frames_worst"] = double(worst);
    state.counters["frames_mean"] = double(total) / double(presses);
    state.counters["periods_worst"] = double(worst) / kPeriod; // target: at most 1
    state.SetLabel(mp3 ? "mp3" : "wav");
}
BENCHMARK(BM_StartLatencyFrames)->Arg(0)->Arg(1)->Iterations(200);

// One 256-frame callback with 64 voices, half of them fading: its share of the period.
static void BM_MixerCallback64Voices(benchmark::State& state)
{
    const QString path = cosineFile(QStringLiteral("voice.wav"), AudioFormat::Wav16, 48000, 12, 1);
    const QStringList files = copies(path, QStringLiteral("voices"), 64);
    AudioEngine engine(AudioEngine::Mode::Offline);
    std::vector<std::unique_ptr<TMediaPlayer>> players;
    for (const QString& f : files) {
        players.push_back(std::make_unique<TMediaPlayer>(engine));
        players.back()->setFileName(f);
    }
    engine.waitUntilIdle();
    for (auto& p : players)
        p->Play();
    engine.waitUntilIdle();
    std::vector<float> buf(2 * kPeriod);
    long iteration = 0;
    double callbackNs = 0;
    for (auto _ : state) {
        if (++iteration % 37 == 0) // a fade step every 200 ms for half of the voices
            for (std::size_t i = 0; i < players.size(); i += 2)
                players[i]->setVolume(float(std::max(0.0, 1.0 - (iteration / 37) * 0.05)));
        const auto t0 = std::chrono::steady_clock::now();
        engine.render(buf.data(), kPeriod);
        callbackNs += double(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                 std::chrono::steady_clock::now() - t0)
                                 .count());
        benchmark::DoNotOptimize(buf.data());
    }
    const double periodNs = 1e9 * kPeriod / kMixRate;
    state.counters["callback_us"] = callbackNs / double(iteration) / 1000;
    state.counters["period_us"] = periodNs / 1000;
    state.counters["share_of_period_pct"] =
        100 * callbackNs / double(iteration) / periodNs; // target <= 5
}
BENCHMARK(BM_MixerCallback64Voices)->Iterations(1500)->Unit(benchmark::kMicrosecond);

// Opening 1,000 sound files (header only; heads decoded in the background), against opening and
// reading the first bytes of each file; and resident memory per opened sound.
static void BM_Open1000Sounds(benchmark::State& state)
{
    const bool mp3 = state.range(0) == 1;
    const QString one = mp3 ? cosineFile(QStringLiteral("one.mp3"), AudioFormat::Mp3, 44100, 3)
                            : cosineFile(QStringLiteral("one.wav"), AudioFormat::Wav16, 44100, 3);
    const QStringList files =
        copies(one, mp3 ? QStringLiteral("k-mp3") : QStringLiteral("k-wav"), 1000);
    double ourMs = 0, baseMs = 0, perSoundKiB = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        for (const QString& f : files) {
            QFile file(f);
            file.open(QIODevice::ReadOnly);
            benchmark::DoNotOptimize(file.read(64));
        }
        baseMs += double(t.nsecsElapsed()) / 1e6;

        AudioEngine engine(AudioEngine::Mode::Offline);
        std::vector<std::unique_ptr<TMediaPlayer>> players;
        players.reserve(files.size());
        // The first one warms up the decoder libraries; memory is counted from there.
        players.push_back(std::make_unique<TMediaPlayer>(engine));
        players.back()->setFileName(files[0]);
        engine.waitUntilIdle();
        const long before = bench::residentKiB();
        t.restart();
        for (int i = 1; i < files.size(); ++i) {
            players.push_back(std::make_unique<TMediaPlayer>(engine));
            players.back()->setFileName(files[i]);
        }
        ourMs += double(t.nsecsElapsed()) / 1e6;
        engine.waitUntilIdle(60000);
        perSoundKiB = double(bench::residentKiB() - before) / double(files.size() - 1);
    }
    const double n = double(state.iterations());
    state.counters["open_ms_per_file"] = ourMs / n / 999; // target < 1
    state.counters["baseline_read_ms_per_file"] = baseMs / n / 1000;
    state.counters["rss_KiB_per_sound"] = perSoundKiB; // target <= 100
    state.SetLabel(mp3 ? "mp3" : "wav");
}
BENCHMARK(BM_Open1000Sounds)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

// A long file played to its end: resident memory at the start, the middle and the end.
static void BM_LongFileMemoryFlat(benchmark::State& state)
{
    const int minutes = int(state.range(0));
    const QString path =
        bench::scratch(QStringLiteral("long")) + QStringLiteral("/long-%1.wav").arg(minutes);
    if (!QFile::exists(path))
        fixtures::writeAudio(
            path, AudioFormat::Wav16, 8000, 1, long(minutes) * 60 * 8000,
            [](long f, int) { return float(0.3 * std::sin(2 * M_PI * 220.0 * f / 8000)); });
    for (auto _ : state) {
        AudioEngine engine(AudioEngine::Mode::Offline);
        TMediaPlayer player(engine);
        player.setFileName(path);
        engine.waitUntilIdle();
        player.Play();
        std::vector<float> buf(2 * 8192);
        const long total = long(minutes) * 60 * kMixRate;
        long done = 0;
        long rssStart = 0, rssMid = 0, rssEnd = 0, maxRss = 0;
        while (player.State() == TMediaPlayer::TMediaState::Playing && done < total + kMixRate) {
            engine.waitUntilIdle();
            engine.render(buf.data(), 8192);
            done += 8192;
            const long rss = bench::residentKiB();
            if (!rssStart && done > kMixRate) rssStart = rss;
            if (!rssMid && done > total / 2) rssMid = rss;
            if (rssStart) maxRss = std::max(maxRss, rss);
            rssEnd = rss;
        }
        state.counters["rss_start_KiB"] = double(rssStart);
        state.counters["rss_mid_KiB"] = double(rssMid);
        state.counters["rss_end_KiB"] = double(rssEnd);
        state.counters["rss_growth_KiB"] = double(maxRss - rssStart);
        state.counters["played_min"] = double(done) / kMixRate / 60;
    }
}
BENCHMARK(BM_LongFileMemoryFlat)->Arg(60)->Iterations(1)->Unit(benchmark::kSecond);
