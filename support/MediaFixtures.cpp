// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "MediaFixtures.h"

#include <QFile>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <cmath>
#include <numbers>
#include <sndfile.h>
#include <vector>

namespace ozv::fixtures {

bool writeAudio(const QString& path, AudioFormat format, int rate, int channels, long frames,
                const std::function<float(long, int)>& sample)
{
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    switch (format) {
    case AudioFormat::Wav16:
        info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
        break;
    case AudioFormat::WavFloat:
        info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
        break;
    case AudioFormat::Mp3:
    case AudioFormat::Mp3Vbr:
        info.format = SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
        break;
    }
    SNDFILE* sf = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!sf) return false;
    if (format == AudioFormat::Mp3Vbr) {
        int mode = SF_BITRATE_MODE_VARIABLE;
        sf_command(sf, SFC_SET_BITRATE_MODE, &mode, sizeof mode);
    }
    std::vector<float> block(std::size_t(4096 * channels));
    for (long done = 0; done < frames;) {
        const long n = std::min<long>(4096, frames - done);
        for (long i = 0; i < n; ++i)
            for (int c = 0; c < channels; ++c)
                block[std::size_t(i * channels + c)] = sample(done + i, c);
        if (sf_writef_float(sf, block.data(), n) != n) {
            sf_close(sf);
            return false;
        }
        done += n;
    }
    return sf_close(sf) == 0;
}

bool stripMp3LengthHeader(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    QByteArray bytes = f.readAll();
    f.close();
    qsizetype at = 0;
    if (bytes.startsWith("ID3") && bytes.size() > 10) {
        at = 10 + ((qsizetype(bytes[6] & 0x7F) << 21) | (qsizetype(bytes[7] & 0x7F) << 14) |
                   (qsizetype(bytes[8] & 0x7F) << 7) | qsizetype(bytes[9] & 0x7F));
    }
    if (at + 4 > bytes.size() || uchar(bytes[at]) != 0xFF || (uchar(bytes[at + 1]) & 0xE0) != 0xE0)
        return false;
    // MPEG-1 Layer III frame length from its header.
    static const int kKbps[16] = {0,   32,  40,  48,  56,  64,  80,  96,
                                  112, 128, 160, 192, 224, 256, 320, 0};
    static const int kRates[4] = {44100, 48000, 32000, 0};
    const uchar h2 = uchar(bytes[at + 2]);
    const int kbps = kKbps[h2 >> 4], rate = kRates[(h2 >> 2) & 3];
    if (kbps == 0 || rate == 0) return false;
    const qsizetype length = 144 * kbps * 1000 / rate + ((h2 >> 1) & 1);
    const QByteArray frame = bytes.mid(at, length);
    if (!frame.contains("Xing") && !frame.contains("Info")) return false;
    bytes.remove(at, length);
    return writeText(path, bytes);
}

bool writeTone(const QString& path, AudioFormat format, int rate, double seconds, double frequency,
               double level, int channels)
{
    const long frames = long(std::lround(seconds * rate));
    const long ramp = std::max(1L, long(rate * 0.005));
    return writeAudio(path, format, rate, channels, frames, [=](long f, int) {
        double env = 1.0;
        if (f < ramp)
            env = double(f) / ramp;
        else if (frames - f < ramp)
            env = double(frames - f) / ramp;
        return float(level * env * std::sin(2 * std::numbers::pi * frequency * f / rate));
    });
}

bool writeConstant(const QString& path, int rate, double seconds, float value, int channels)
{
    return writeAudio(path, AudioFormat::WavFloat, rate, channels,
                      long(std::lround(seconds * rate)), [=](long, int) { return value; });
}

bool writePicture(const QString& path, QSize size, const QColor& base, const QString& label,
                  const char* format)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, size.width(), size.height());
    g.setColorAt(0, base.lighter(150));
    g.setColorAt(1, base.darker(220));
    p.fillRect(image.rect(), g);
    p.setRenderHint(QPainter::Antialiasing);
    const int w = size.width(), h = size.height();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 230, 120));
    p.drawEllipse(QPointF(w * 0.75, h * 0.28), h * 0.1, h * 0.1);
    p.setBrush(base.darker(300));
    QPolygonF hills;
    hills << QPointF(0, h) << QPointF(0, h * 0.7) << QPointF(w * 0.3, h * 0.45)
          << QPointF(w * 0.55, h * 0.72) << QPointF(w * 0.8, h * 0.55) << QPointF(w, h * 0.68)
          << QPointF(w, h);
    p.drawPolygon(hills);
    if (!label.isEmpty()) {
        QFont f = p.font();
        f.setPixelSize(std::max(8, h / 8));
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(image.rect().adjusted(0, 0, 0, -h / 2), Qt::AlignCenter, label);
    }
    p.end();
    return image.save(path, format, 90);
}

bool writeText(const QString& path, const QByteArray& text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text) == text.size();
}

} // namespace ozv::fixtures
