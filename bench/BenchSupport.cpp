// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "BenchSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

namespace ozv::bench {

QString scratch(const QString& name)
{
    static std::unique_ptr<QTemporaryDir> root = std::make_unique<QTemporaryDir>();
    const QString path = root->filePath(name);
    QDir().mkpath(path);
    return path;
}

long residentKiB()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> parts = f.readAll().split(' ');
    return parts.size() > 1 ? parts[1].toLong() * 4 : 0;
}

} // namespace ozv::bench
