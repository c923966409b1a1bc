// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
// Ordering, captions, escaping and file-name bytes on any names: consistent, and never out of
// bounds.

#include "FileAccess.h"
#include "IniStore.h"
#include "MediaScan.h"

#include <cstdlib>

namespace {
int sign(int v)
{
    return (v > 0) - (v < 0);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString all =
        QString::fromUtf16(reinterpret_cast<const char16_t*>(data), qsizetype(size / 2));
    const qsizetype cut = all.indexOf(u'\n');
    const QString a = cut < 0 ? all : all.left(cut);
    const QString b = cut < 0 ? QString() : all.mid(cut + 1);

    const int ab = ozv::CompareMediaFiles(a, b), ba = ozv::CompareMediaFiles(b, a);
    if (sign(ab) != -sign(ba) || (ab == 0) != (a == b) || ozv::CompareMediaFiles(a, a) != 0)
        std::abort();

    const QString caption = ozv::StripOrderPrefix(a);
    if (!a.endsWith(caption)) std::abort(); // a caption is what is left after the prefix

    // An escaped name survives the settings file: nothing the reader cuts, trims or takes for
    // a comment, every "%" starts a two-digit escape, and decoding gives the name back.
    const QString escaped = ozv::EscapeIniName(a);
    if (escaped.contains(u'=') || escaped.contains(u'[') || escaped.contains(u']')) std::abort();
    if (!escaped.isEmpty() && (escaped.front().unicode() <= 0x20 ||
                               escaped.back().unicode() <= 0x20 || escaped.front() == u';'))
        std::abort();
    QString decoded;
    for (qsizetype i = 0; i < escaped.size(); ++i) {
        const QChar c = escaped.at(i);
        if (c.unicode() < 0x20) std::abort();
        if (c != u'%') {
            decoded += c;
            continue;
        }
        bool ok = false;
        const uint code = QStringView(escaped).mid(i + 1, 2).toUInt(&ok, 16);
        if (!ok || i + 2 >= escaped.size() ||
            escaped.mid(i + 1, 2) != escaped.mid(i + 1, 2).toUpper())
            std::abort();
        // Characters from 0x80 up are never escaped, so such an escape is a byte of a file name
        // that is not text (FileAccess.h).
        decoded += QChar(char16_t(code >= 0x80 ? 0xDC00 + code : code));
        i += 2;
    }
    if (decoded != a) std::abort();
    // The same bytes as a file name: carried whole, readable, and valid text once escaped.
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString name = ozv::decodeFileName(bytes);
    if (ozv::encodeFileName(name) != bytes) std::abort();
    if (ozv::hasForeignBytes(ozv::readableName(name))) std::abort();
    const QByteArray stored = ozv::EscapeIniName(name).toUtf8();
    if (QString::fromUtf8(stored).toUtf8() != stored ||
        stored.contains("\xEF\xBF\xBD") != name.contains(QChar::ReplacementCharacter))
        std::abort();
    (void)ozv::baseNameOf(a);
    (void)ozv::lastComponent(b);
    return 0;
}
