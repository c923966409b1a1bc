// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// The folder scan shared by the sound board and the picture list: normalising the base
// folder, listing files and sub-folders (hidden ones included, one enumeration per folder),
// ordering by leading numbers (CompareMediaFiles) and captions (StripOrderPrefix).

#include <QString>
#include <QStringList>
#include <vector>

namespace ozv {

inline const QStringList kSoundExtensions{QStringLiteral(".mp3"), QStringLiteral(".wav")};
inline const QStringList kPictureExtensions{QStringLiteral(".jpg"), QStringLiteral(".jpeg"),
                                            QStringLiteral(".png"), QStringLiteral(".bmp")};
inline const QString kBaseGroupName = QStringLiteral("(vybraná složka)");

/// An existing directory as an absolute, clean path with a trailing separator, or the empty
/// string.
QString normalizeFolder(const QString& folder);

/// Negative when `left` comes first, positive when `right` does, 0 only for equal paths.
int CompareMediaFiles(const QString& left, const QString& right);
/// The caption of a name: its leading number, one dot after it and white space removed.
QString StripOrderPrefix(const QString& name);
/// What the boards show for a file or folder name: StripOrderPrefix, with bytes of the name
/// that are not text shown as U+FFFD.
QString captionOf(const QString& name);

/// The last component of a path without its extension (a name without "." stays whole).
QString baseNameOf(const QString& path);
/// The last component of a path (a trailing separator is ignored).
QString lastComponent(const QString& path);
/// Whether the extension of `fileName` (from its last ".") is one of `extensions`.
bool hasExtension(const QString& fileName, const QStringList& extensions);

struct FolderListing
{
    QStringList files;   // every regular file, as full paths (FIFOs, devices: left out)
    QStringList folders; // every directory entry but "." and "..", as full paths
};
/// One enumeration of a folder's direct entries, names kept as the file system gave them
/// (FileAccess.h); an unreadable folder lists nothing.
FolderListing listFolder(const QString& folder);

struct MediaGroup
{
    QString folder;    // the folder's path
    QString name;      // "(vybraná složka)" or the sub-folder's own name
    QStringList files; // sorted full paths of the matching files
    QString caption() const { return captionOf(name); }
};

/// The groups of a board in board order: the base folder's own files, then each sorted
/// sub-folder's; folders without matching files are left out. `folder` is normalised.
std::vector<MediaGroup> scanBoard(const QString& normalizedFolder, const QStringList& extensions);

} // namespace ozv
