// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "TestSupport.h"

#include <QFile>
#include <QFileInfo>

namespace ozv::test {

TempFolder::TempFolder()
{
    m_dir.setAutoRemove(true);
}

QString TempFolder::path(const QString& relative) const
{
    return relative.isEmpty() ? m_dir.path() : m_dir.filePath(relative);
}

QString TempFolder::prepare(const QString& relative) const
{
    const QString p = path(relative);
    QDir().mkpath(QFileInfo(p).path());
    return p;
}

QString TempFolder::touch(const QString& relative) const
{
    const QString p = prepare(relative);
    QFile f(p);
    f.open(QIODevice::WriteOnly);
    return p;
}

QString TempFolder::tone(const QString& relative, double seconds, int rate) const
{
    const QString p = prepare(relative);
    const auto format = relative.endsWith(QStringLiteral(".mp3"), Qt::CaseInsensitive)
                            ? fixtures::AudioFormat::Mp3
                            : fixtures::AudioFormat::Wav16;
    fixtures::writeTone(p, format, rate, seconds);
    return p;
}

QString TempFolder::picture(const QString& relative, QSize size, const char* format) const
{
    const QString p = prepare(relative);
    fixtures::writePicture(p, size, QColor(40, 90, 160), QString(), format);
    return p;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

} // namespace ozv::test
