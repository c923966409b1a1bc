// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// A temporary show folder for tests, with helpers to fill it.

#include "MediaFixtures.h"

#include <QDir>
#include <QString>
#include <QTemporaryDir>

#include <ostream>

/// Readable QStrings in test failures.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace ozv::test {

class TempFolder
{
public:
    TempFolder();
    /// Absolute path of `relative` inside the folder (created folders included).
    QString path(const QString& relative = QString()) const;
    /// Creates the parent folders of `relative` and returns its path.
    QString prepare(const QString& relative) const;
    /// An empty file (the name is all that matters).
    QString touch(const QString& relative) const;
    QString tone(const QString& relative, double seconds = 0.3, int rate = 48000) const;
    QString picture(const QString& relative, QSize size = QSize(64, 48),
                    const char* format = nullptr) const;

private:
    QTemporaryDir m_dir;
};

/// The bytes of a file.
QByteArray readAll(const QString& path);

} // namespace ozv::test
