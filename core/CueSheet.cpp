// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "CueSheet.h"

#include "FileAccess.h"
#include "HotKeys.h"
#include "MediaScan.h"

namespace ozv {

QString cueSheet(const QString& folder, const std::function<bool(const QString&)>& playable,
                 const std::function<bool(const QString&)>& showable)
{
    const QString base = normalizeFolder(folder);
    QString out = QStringLiteral("[Sounds]\n");
    int counter = 0;
    for (const MediaGroup& g : scanBoard(base, kSoundExtensions)) {
        out += QStringLiteral("# ") + g.caption() + u'\n';
        for (const QString& file : g.files) {
            if (playable && !playable(file)) continue;
            const QString key =
                counter < kHotKeyCount ? QString(kHotKeyAlphabet.at(counter)) : QStringLiteral("-");
            ++counter;
            out += key + u'\t' + captionOf(baseNameOf(file)) + u'\t' +
                   readableName(lastComponent(file)) + u'\n';
        }
    }
    out += QStringLiteral("[Pictures]\n");
    counter = 0;
    for (const MediaGroup& g : scanBoard(base, kPictureExtensions)) {
        out += QStringLiteral("# ") + g.caption() + u'\n';
        bool first = true;
        for (const QString& file : g.files) {
            // As on the board: the first picture of a group takes the group's F-key, and a
            // picture that cannot be decoded then drops out, its F-key with it.
            QString key = QStringLiteral("-");
            if (first && counter < 12) key = QStringLiteral("F%1").arg(++counter);
            first = false;
            if (showable && !showable(file)) continue;
            out += key + u'\t' + captionOf(baseNameOf(file)) + u'\t' +
                   readableName(lastComponent(file)) + u'\n';
        }
    }
    return out;
}

} // namespace ozv
