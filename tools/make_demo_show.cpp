// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
// Writes the demo show: numbered groups of short sounds (WAV and MP3) and pictures, made here
// from tones, noise and drawings.
//   ozv_make_demo_show FOLDER

#include "MediaFixtures.h"

#include <QDir>
#include <QGuiApplication>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <random>

using namespace ozv::fixtures;

namespace {

constexpr int kRate = 44100;

bool bell(const QString& path, AudioFormat format, double freq, double seconds)
{
    const long frames = long(seconds * kRate);
    return writeAudio(path, format, kRate, 2, frames, [=](long f, int) {
        const double t = double(f) / kRate;
        const double env = std::exp(-3.0 * t / seconds * 2) * std::min(1.0, t * 400);
        return float(0.45 * env *
                     (std::sin(2 * std::numbers::pi * freq * t) +
                      0.5 * std::sin(2 * std::numbers::pi * freq * 2.76 * t) +
                      0.25 * std::sin(2 * std::numbers::pi * freq * 5.4 * t)) /
                     1.75);
    });
}

bool melody(const QString& path, AudioFormat format, std::initializer_list<double> notes,
            double noteSeconds)
{
    const std::vector<double> n(notes);
    const long perNote = long(noteSeconds * kRate);
    return writeAudio(path, format, kRate, 2, perNote * long(n.size()), [=](long f, int c) {
        const double freq = n[std::size_t(f / perNote)];
        const double t = double(f % perNote) / kRate;
        const double env = std::min(1.0, t * 200) * std::exp(-2.0 * t);
        return float(0.35 * env * std::sin(2 * std::numbers::pi * freq * (c ? 1.003 : 1.0) * t));
    });
}

bool noise(const QString& path, AudioFormat format, double seconds, double smooth)
{
    auto rng = std::make_shared<std::mt19937>(7);
    auto state = std::make_shared<double>(0.0);
    std::uniform_real_distribution<float> d(-1, 1);
    const long frames = long(seconds * kRate);
    return writeAudio(path, format, kRate, 2, frames, [=](long f, int c) mutable {
        if (c == 0) *state = *state * smooth + (1 - smooth) * d(*rng);
        const double env = std::min({1.0, f / 4410.0, (frames - f) / 4410.0});
        return float(0.6 * env * *state * (1 / std::sqrt(1 - smooth)) * 0.3);
    });
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen"); // fonts for the pictures, no display needed
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: ozv_make_demo_show FOLDER\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    QDir dir(root);
    const QString a1 = QStringLiteral("1 Akt první"), a2 = QStringLiteral("2 Akt druhý"),
                  pause = QStringLiteral("3 Přestávka");
    for (const QString& sub : {a1, a2, pause})
        dir.mkpath(sub);
    auto at = [&](const QString& rel) { return dir.filePath(rel); };
    const QSize hd(1920, 1080);
    bool ok = true;
    ok &= bell(at(QStringLiteral("01 Gong.wav")), AudioFormat::Wav16, 110, 4);
    ok &= melody(at(QStringLiteral("02 Fanfára.mp3")), AudioFormat::Mp3,
                 {523.25, 659.25, 783.99, 1046.5}, 0.4);
    ok &= noise(at(a1 + QStringLiteral("/01 Déšť.wav")), AudioFormat::Wav16, 12, 0.9);
    ok &= bell(at(a1 + QStringLiteral("/02 Zvonek.mp3")), AudioFormat::Mp3, 880, 2);
    ok &= noise(at(a1 + QStringLiteral("/03 Potlesk.wav")), AudioFormat::Wav16, 6, 0.2);
    ok &= noise(at(a2 + QStringLiteral("/01 Bouřka.mp3")), AudioFormat::Mp3, 10, 0.99);
    ok &= melody(at(a2 + QStringLiteral("/02 Hudba.wav")), AudioFormat::Wav16,
                 {392, 440, 494, 523.25, 587.33, 523.25, 494, 440, 392, 329.63, 392, 440}, 0.5);
    ok &= bell(at(pause + QStringLiteral("/01 Gong.wav")), AudioFormat::Wav16, 147, 4);
    ok &= writePicture(at(a1 + QStringLiteral("/01 Les.jpg")), hd, QColor(40, 120, 60),
                       QStringLiteral("Les"));
    ok &= writePicture(at(a1 + QStringLiteral("/02 Hrad.png")), hd, QColor(110, 90, 70),
                       QStringLiteral("Hrad"));
    ok &= writePicture(at(a1 + QStringLiteral("/03 Noc.jpg")), hd, QColor(20, 30, 90),
                       QStringLiteral("Noc"));
    ok &= writePicture(at(a2 + QStringLiteral("/01 Moře.jpg")), hd, QColor(20, 100, 160),
                       QStringLiteral("Moře"));
    ok &= writePicture(at(a2 + QStringLiteral("/02 Hory.bmp")), QSize(1280, 720),
                       QColor(90, 90, 120), QStringLiteral("Hory"));
    ok &= writePicture(at(pause + QStringLiteral("/01 Opona.png")), hd, QColor(150, 20, 30),
                       QStringLiteral("Přestávka"));
    if (!ok) {
        std::fprintf(stderr, "ozv_make_demo_show: could not write every file into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
