// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// How the program touches the disk for show files and the settings file.
// - Names: a file name is kept as the bytes the file system gave. Bytes that are not UTF-8
//   are carried in the QString as lone surrogates U+DC80..U+DCFF (one per byte) and turned back
//   into the same bytes when the file is opened, so such files can be listed and played.
// - Opening: only regular files are opened, and never in a way that can block (a FIFO or a
//   device named like a sound file is refused at once instead of waiting for a writer).
// - Writing: a whole file is replaced atomically, and only once every byte is on the disk.
// Any thread.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace ozv {

/// The name for the bytes of a file name: UTF-8 where it is valid, every other byte as the
/// lone surrogate U+DC00 + byte.
QString decodeFileName(QByteArrayView bytes);
/// The bytes of a name made by decodeFileName (or any text): the inverse of it.
QByteArray encodeFileName(const QString& name);
/// A name for people: carried bytes shown as U+FFFD.
QString readableName(const QString& name);
/// Whether `name` carries bytes that are not UTF-8.
bool hasForeignBytes(const QString& name);

enum class FileKind { Missing, Regular, Directory, Other };
/// What stands at `path` (links followed).
FileKind fileKind(const QString& path);

/// Opens a regular file for reading without blocking, refuses anything else (a folder, FIFO,
/// socket or device) and, when `maxSize` >= 0, a file larger than it. Returns the descriptor
/// (blocking mode, close-on-exec) or -1 with `reason` set (in Czech, without the path).
/// `size`, when given, receives the file's size.
int openRegularFile(const QString& path, QString* reason, qint64 maxSize = -1,
                    qint64* size = nullptr);

/// The entries of a folder, names kept as the file system gave them (see decodeFileName).
/// Links are followed; FIFOs, sockets, devices and broken links are left out.
struct FolderEntries
{
    QStringList files;   // full paths of regular files
    QStringList folders; // full paths of folders
};
FolderEntries readFolder(const QString& folder);

/// Replaces the file at `path` with `bytes`: writes a new file beside it, makes sure every
/// byte reached the disk (each write, the sync and the close checked), then renames it over
/// the old one. On any failure the old file is left as it was, the new one is removed, and
/// false is returned with `reason` set (the system's reason, in Czech where known).
bool replaceFileAtomically(const QString& path, const QByteArray& bytes, QString* reason);

} // namespace ozv
