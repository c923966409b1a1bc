// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "MediaScan.h"

#include "FileAccess.h"

#include <QDir>

#include <algorithm>

namespace ozv {

QString normalizeFolder(const QString& folder)
{
    if (folder.isEmpty() || fileKind(folder) != FileKind::Directory) return QString();
    // Absolute and clean: the folder and every setting kept under its name must mean the same
    // wherever the program is started from.
    const QString absolute = QDir::cleanPath(QDir(folder).absolutePath());
    return absolute.endsWith(u'/') ? absolute : absolute + u'/';
}

QString lastComponent(const QString& path)
{
    QStringView p(path);
    while (p.size() > 1 && p.endsWith(u'/'))
        p.chop(1);
    return p.mid(p.lastIndexOf(u'/') + 1).toString();
}

QString baseNameOf(const QString& path)
{
    const QString name = lastComponent(path);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? name : name.left(dot);
}

bool hasExtension(const QString& fileName, const QStringList& extensions)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    if (dot < 0) return false;
    const QStringView ext = QStringView(fileName).mid(dot);
    for (const QString& e : extensions)
        if (ext.compare(e, Qt::CaseInsensitive) == 0) return true;
    return false;
}

namespace {

bool isOrderDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u > 0xFF && c.category() == QChar::Number_DecimalDigit);
}

struct OrderKey
{
    bool numbered = false;
    QString digits; // ASCII digit values of the run, leading zeros removed
    QStringView text;
};

OrderKey orderKey(const QString& name)
{
    OrderKey key;
    qsizetype run = 0;
    while (run < name.size() && isOrderDigit(name.at(run)))
        ++run;
    if (run == 0) {
        key.text = QStringView(name);
        return key;
    }
    key.numbered = true;
    for (qsizetype i = 0; i < run; ++i) {
        const int d = name.at(i).digitValue();
        if (key.digits.isEmpty() && d == 0) continue;
        key.digits += QChar(u'0' + d);
    }
    qsizetype rest = run;
    while (rest < name.size() && name.at(rest).unicode() <= 0x20)
        ++rest;
    key.text = QStringView(name).mid(rest);
    return key;
}

// Numbers of any length compare by value; names without a number come after all numbered ones.
int compareNumbers(const OrderKey& a, const OrderKey& b)
{
    if (a.numbered != b.numbered) return a.numbered ? -1 : 1;
    if (!a.numbered) return 0;
    if (a.digits.size() != b.digits.size()) return a.digits.size() < b.digits.size() ? -1 : 1;
    return a.digits.compare(b.digits);
}

char16_t asciiUpper(char16_t c)
{
    return (c >= u'a' && c <= u'z') ? c - 32 : c;
}

int compareUnits(QStringView a, QStringView b, bool foldAscii)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        char16_t x = a[i].unicode(), y = b[i].unicode();
        if (foldAscii) {
            x = asciiUpper(x);
            y = asciiUpper(y);
        }
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

} // namespace

int CompareMediaFiles(const QString& left, const QString& right)
{
    const QString leftName = baseNameOf(left), rightName = baseNameOf(right);
    const OrderKey a = orderKey(leftName), b = orderKey(rightName);
    if (int c = compareNumbers(a, b)) return c;
    if (int c = compareUnits(a.text, b.text, true)) return c;
    if (int c = compareUnits(a.text, b.text, false)) return c;
    return compareUnits(left, right, false);
}

QString StripOrderPrefix(const QString& name)
{
    // Walks code points (surrogate pairs joined; an unpaired surrogate stands for itself) and
    // returns the rest of the name untouched.
    qsizetype i = 0;
    auto codePointAt = [&](qsizetype k, qsizetype* units) -> char32_t {
        const QChar c = name.at(k);
        if (c.isHighSurrogate() && k + 1 < name.size() && name.at(k + 1).isLowSurrogate()) {
            *units = 2;
            return QChar::surrogateToUcs4(c, name.at(k + 1));
        }
        *units = 1;
        return c.unicode();
    };
    auto category = [](char32_t cp) { return QChar::category(cp); };
    qsizetype units = 1;
    qsizetype skipped = 0;
    while (i < name.size()) {
        const char32_t c = codePointAt(i, &units);
        const bool number =
            (c >= '0' && c <= '9') || (c > 0x7F && (category(c) == QChar::Number_DecimalDigit ||
                                                    category(c) == QChar::Number_Letter ||
                                                    category(c) == QChar::Number_Other));
        if (!number) break;
        i += units;
        ++skipped;
    }
    if (skipped > 0 && i < name.size() && name.at(i) == u'.') ++i;
    while (i < name.size()) {
        const char32_t c = codePointAt(i, &units);
        const bool space = (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 ||
                           (c > 0xFF && (category(c) == QChar::Separator_Space ||
                                         category(c) == QChar::Separator_Line ||
                                         category(c) == QChar::Separator_Paragraph));
        if (!space) break;
        i += units;
    }
    return name.mid(i);
}

QString captionOf(const QString& name)
{
    return readableName(StripOrderPrefix(name));
}

FolderListing listFolder(const QString& folder)
{
    FolderEntries entries = readFolder(folder);
    return FolderListing{std::move(entries.files), std::move(entries.folders)};
}

namespace {
void sortMedia(QStringList& paths)
{
    std::sort(paths.begin(), paths.end(),
              [](const QString& a, const QString& b) { return CompareMediaFiles(a, b) < 0; });
}

QStringList matching(const QStringList& files, const QStringList& extensions)
{
    QStringList out;
    for (const QString& f : files)
        if (hasExtension(lastComponent(f), extensions)) out << f;
    sortMedia(out);
    return out;
}
} // namespace

std::vector<MediaGroup> scanBoard(const QString& folder, const QStringList& extensions)
{
    std::vector<MediaGroup> groups;
    if (folder.isEmpty()) return groups;
    FolderListing base = listFolder(folder);
    auto add = [&](const QString& path, const QString& name, const QStringList& files) {
        QStringList media = matching(files, extensions);
        if (!media.isEmpty()) groups.push_back(MediaGroup{path, name, std::move(media)});
    };
    add(folder, kBaseGroupName, base.files);
    sortMedia(base.folders);
    for (const QString& sub : base.folders)
        add(sub, lastComponent(sub), listFolder(sub).files);
    return groups;
}

} // namespace ozv
