// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
// Scanning and sorting a show of 10,000 files in 100 sub-folders, against listing it alone.

#include "BenchSupport.h"
#include "MediaScan.h"

#include <QDirIterator>
#include <QFile>
#include <benchmark/benchmark.h>

using namespace ozv;

namespace {
QString bigShow()
{
    static const QString root = [] {
        const QString r = bench::scratch(QStringLiteral("show10k"));
        for (int d = 0; d < 100; ++d) {
            const QString sub = r + QStringLiteral("/%1 Scéna").arg(99 - d);
            QDir().mkpath(sub);
            for (int f = 0; f < 100; ++f) {
                QFile file(sub + QStringLiteral("/%1 zvuk %2.%3")
                                     .arg((f * 37) % 100)
                                     .arg(f)
                                     .arg(f % 3 ? QStringLiteral("mp3") : QStringLiteral("wav")));
                file.open(QIODevice::WriteOnly);
            }
        }
        return r + u'/';
    }();
    return root;
}
} // namespace

static void BM_Baseline_ListOnly(benchmark::State& state)
{
    const QString root = bigShow();
    for (auto _ : state) {
        int n = 0;
        QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            it.next();
            ++n;
        }
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_Baseline_ListOnly)->Unit(benchmark::kMillisecond);

static void BM_ScanAndSort10kFiles(benchmark::State& state)
{
    const QString root = bigShow();
    for (auto _ : state) {
        const auto groups = scanBoard(root, kSoundExtensions);
        benchmark::DoNotOptimize(groups.size());
    }
}
BENCHMARK(BM_ScanAndSort10kFiles)->Unit(benchmark::kMillisecond);
