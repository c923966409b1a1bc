// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// Generated media for the demo show, tests and benchmarks.

#include <QColor>
#include <QSize>
#include <QString>
#include <functional>

namespace ozv::fixtures {

enum class AudioFormat { Wav16, WavFloat, Mp3, Mp3Vbr };

/// Writes `frames` frames of `channels` channels at `rate`; sample(frame, channel) gives -1..1.
bool writeAudio(const QString& path, AudioFormat format, int rate, int channels, long frames,
                const std::function<float(long frame, int channel)>& sample);
/// A sine tone of `seconds` at `frequency` and amplitude `level`, with 5 ms fades at both ends.
bool writeTone(const QString& path, AudioFormat format, int rate, double seconds,
               double frequency = 440, double level = 0.5, int channels = 2);
/// A constant (DC) signal, handy for checking gains exactly.
bool writeConstant(const QString& path, int rate, double seconds, float value, int channels = 1);

/// A picture with a gradient, a few shapes and `label`, saved in the format of the extension
/// (or `format` when given: e.g. "PNG" into a file named .jpg).
bool writePicture(const QString& path, QSize size, const QColor& base, const QString& label,
                  const char* format = nullptr);

/// Removes the first frame of an MP3 file when it is a Xing/Info header, as encoders that write
/// none leave the file (its length is then only an estimate from the first frame's bit rate).
bool stripMp3LengthHeader(const QString& path);

/// Writes a text file (for media that are not what their name says).
bool writeText(const QString& path, const QByteArray& text);

} // namespace ozv::fixtures
