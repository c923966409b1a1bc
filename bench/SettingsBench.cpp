// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
// Loading and saving a settings file of 10,000 keys, against reading and writing its bytes.

#include "BenchSupport.h"
#include "IniStore.h"

#include <QFile>
#include <QSaveFile>
#include <benchmark/benchmark.h>

using namespace ozv;

namespace {
QString tenThousandKeys()
{
    static const QString path = [] {
        const QString p = bench::scratch(QStringLiteral("ini")) + QStringLiteral("/Settings.ini");
        IniStore s(p);
        for (int folder = 0; folder < 500; ++folder)
            for (int file = 0; file < 10; ++file) {
                const QString section = QStringLiteral("/home/op/Představení/Akt %1").arg(folder);
                const QString key = QStringLiteral("%1 Zvuk č. %2.mp3").arg(file).arg(folder);
                s.WriteInteger(section, key, (file * 7) % 101);
                s.WriteBool(section, key + QStringLiteral(".Fade"), file % 2);
            }
        s.UpdateFile();
        return p;
    }();
    return path;
}
} // namespace

static void BM_Baseline_ReadBytes(benchmark::State& state)
{
    const QString path = tenThousandKeys();
    for (auto _ : state) {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        benchmark::DoNotOptimize(f.readAll());
    }
}
BENCHMARK(BM_Baseline_ReadBytes)->Unit(benchmark::kMillisecond);

static void BM_IniLoad10kKeys(benchmark::State& state)
{
    const QString path = tenThousandKeys();
    for (auto _ : state) {
        IniStore s(path);
        benchmark::DoNotOptimize(s.ReadInteger(QStringLiteral("/home/op/Představení/Akt 499"),
                                               QStringLiteral("9 Zvuk č. 499.mp3"), 0));
    }
}
BENCHMARK(BM_IniLoad10kKeys)->Unit(benchmark::kMillisecond);

static void BM_Baseline_WriteBytes(benchmark::State& state)
{
    const QString path = tenThousandKeys();
    QFile in(path);
    in.open(QIODevice::ReadOnly);
    const QByteArray bytes = in.readAll();
    for (auto _ : state) {
        QSaveFile f(path + QStringLiteral(".copy"));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        f.commit();
    }
}
BENCHMARK(BM_Baseline_WriteBytes)->Unit(benchmark::kMillisecond);

static void BM_IniSave10kKeys(benchmark::State& state)
{
    IniStore s(tenThousandKeys());
    for (auto _ : state) {
        s.WriteInteger(QStringLiteral("Images"), QStringLiteral("Effect"), 3);
        benchmark::DoNotOptimize(s.UpdateFile());
    }
}
BENCHMARK(BM_IniSave10kKeys)->Unit(benchmark::kMillisecond);
