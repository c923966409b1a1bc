// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "IniStore.h"

#include "FileAccess.h"

#include <QFile>
#include <QLocale>
#include <QStringDecoder>
#include <cmath>
#include <cstdio>

namespace ozv {

namespace {

bool isTrimmed(QChar c)
{
    return c.unicode() <= 32;
}

QStringView trimControls(QStringView s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && isTrimmed(s[b]))
        ++b;
    while (e > b && isTrimmed(s[e - 1]))
        --e;
    return s.mid(b, e - b);
}

QChar systemDecimalSeparator()
{
    const QString dp = QLocale::system().decimalPoint();
    return dp.isEmpty() ? QLatin1Char('.') : dp.at(0);
}

} // namespace

IniStore::IniStore(const QString& path) : m_path(path)
{
    if (fileKind(path) == FileKind::Missing) return;
    QString reason;
    const int fd = openRegularFile(path, &reason, kMaxFileSize);
    QFile file;
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        throw IniLoadError(QStringLiteral("Soubor nastavení \"%1\" nelze otevřít. %2")
                               .arg(path, fd < 0 ? reason : file.errorString()));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw IniLoadError(QStringLiteral("Soubor nastavení \"%1\" nelze přečíst. %2")
                               .arg(path, file.errorString()));
    if (!parseBytes(std::move(bytes)))
        throw IniLoadError(
            QStringLiteral("Soubor nastavení \"%1\" není platný text v kódování UTF-8.").arg(path));
}

bool IniStore::parseBytes(QByteArray bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError()) return false;
    parse(text);
    return true;
}

void IniStore::parse(const QString& text)
{
    m_sections.clear();
    m_sectionIndex.clear();
    Section* current = nullptr;
    const QStringView all(text);
    qsizetype pos = 0;
    const qsizetype n = all.size();
    while (pos <= n) {
        qsizetype end = pos;
        while (end < n && all[end] != u'\r' && all[end] != u'\n')
            ++end;
        const QStringView line = trimControls(all.mid(pos, end - pos));
        if (end < n && all[end] == u'\r' && end + 1 < n && all[end + 1] == u'\n')
            pos = end + 2;
        else
            pos = end + 1;

        if (line.isEmpty() || line.front() == u';') continue;
        if (line.front() == u'[' && line.back() == u']' && line.size() >= 2) {
            current = &ensureSection(trimControls(line.mid(1, line.size() - 2)).toString());
            continue;
        }
        if (!current) continue;
        Entry entry;
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0) {
            entry.key = line.toString();
        } else {
            entry.key = trimControls(line.left(eq)).toString();
            entry.value = trimControls(line.mid(eq + 1)).toString();
        }
        const QString folded = fold(entry.key);
        auto it = current->index.constFind(folded);
        if (it != current->index.cend()) {
            current->entries[*it].value = entry.value;
        } else {
            current->index.insert(folded, int(current->entries.size()));
            current->entries.push_back(std::move(entry));
        }
    }
}

QByteArray IniStore::serialize() const
{
    QString text;
    for (const Section& s : m_sections) {
        text += u'[' + s.name + QStringLiteral("]\r\n");
        for (const Entry& e : s.entries) {
            text += e.key;
            if (e.value) text += u'=' + *e.value;
            text += QStringLiteral("\r\n");
        }
        text += QStringLiteral("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

const IniStore::Section* IniStore::findSection(const QString& name) const
{
    auto it = m_sectionIndex.constFind(fold(name));
    return it == m_sectionIndex.cend() ? nullptr : &m_sections[*it];
}

IniStore::Section& IniStore::ensureSection(const QString& name)
{
    const QString folded = fold(name);
    auto it = m_sectionIndex.constFind(folded);
    if (it != m_sectionIndex.cend()) return m_sections[*it];
    m_sectionIndex.insert(folded, int(m_sections.size()));
    m_sections.push_back(Section{name, {}, {}});
    return m_sections.back();
}

const IniStore::Entry* IniStore::findEntry(const QString& section, const QString& ident) const
{
    const Section* s = findSection(section);
    if (!s) return nullptr;
    auto it = s->index.constFind(fold(ident));
    return it == s->index.cend() ? nullptr : &s->entries[*it];
}

void IniStore::rebuildSectionIndex()
{
    m_sectionIndex.clear();
    for (int i = 0; i < int(m_sections.size()); ++i)
        m_sectionIndex.insert(fold(m_sections[i].name), i);
}

QString IniStore::ReadString(const QString& section, const QString& ident, const QString& def) const
{
    const Entry* e = findEntry(section, ident);
    return e && e->value ? *e->value : def;
}

void IniStore::WriteString(const QString& section, const QString& ident, const QString& value)
{
    Section& s = ensureSection(section);
    const QString folded = fold(ident);
    auto it = s.index.constFind(folded);
    if (it != s.index.cend()) {
        s.entries[*it].value = value;
        return;
    }
    s.index.insert(folded, int(s.entries.size()));
    s.entries.push_back(Entry{ident, value});
}

std::optional<qint32> IniStore::parseInteger(const QString& text)
{
    QStringView s(text);
    bool negative = false;
    if (!s.isEmpty() && (s.front() == u'-' || s.front() == u'+')) {
        negative = s.front() == u'-';
        s = s.mid(1);
    }
    int base = 10;
    if (s.startsWith(u'$') || s.startsWith(u'x') || s.startsWith(u'X')) {
        base = 16;
        s = s.mid(1);
    } else if (s.startsWith(u"0x", Qt::CaseInsensitive)) {
        base = 16;
        s = s.mid(2);
    }
    if (s.isEmpty() || s.size() > 20) return std::nullopt;
    qint64 value = 0;
    for (QChar c : s) {
        int digit;
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9')
            digit = u - u'0';
        else if (base == 16 && u >= u'a' && u <= u'f')
            digit = u - u'a' + 10;
        else if (base == 16 && u >= u'A' && u <= u'F')
            digit = u - u'A' + 10;
        else
            return std::nullopt;
        value = value * base + digit;
        if (value > qint64(1) << 31) return std::nullopt;
    }
    if (negative) value = -value;
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(value);
}

qint32 IniStore::ReadInteger(const QString& section, const QString& ident, qint32 def) const
{
    const Entry* e = findEntry(section, ident);
    if (!e || !e->value) return def;
    return parseInteger(*e->value).value_or(def);
}

void IniStore::WriteInteger(const QString& section, const QString& ident, qint32 value)
{
    WriteString(section, ident, QString::number(value));
}

bool IniStore::ReadBool(const QString& section, const QString& ident, bool def) const
{
    return ReadInteger(section, ident, def ? 1 : 0) != 0;
}

void IniStore::WriteBool(const QString& section, const QString& ident, bool value)
{
    WriteString(section, ident, value ? QStringLiteral("1") : QStringLiteral("0"));
}

std::optional<double> IniStore::parseFloat(const QString& text, QChar sep)
{
    QByteArray plain;
    plain.reserve(text.size());
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto digitAt = [&](qsizetype k) { return k < n && text[k] >= u'0' && text[k] <= u'9'; };
    if (i < n && (text[i] == u'+' || text[i] == u'-')) plain += char(text[i++].unicode());
    int mantissaDigits = 0;
    while (digitAt(i)) {
        plain += char(text[i++].unicode());
        ++mantissaDigits;
    }
    if (i < n && text[i] == sep) {
        ++i;
        plain += '.';
        while (digitAt(i)) {
            plain += char(text[i++].unicode());
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0) return std::nullopt;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        plain += 'e';
        ++i;
        if (i < n && (text[i] == u'+' || text[i] == u'-')) plain += char(text[i++].unicode());
        if (!digitAt(i)) return std::nullopt;
        while (digitAt(i))
            plain += char(text[i++].unicode());
    }
    if (i != n) return std::nullopt;
    bool ok = false;
    const double v = QLocale::c().toDouble(QString::fromLatin1(plain), &ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

QString IniStore::formatFloat(double value, QChar sep)
{
    if (!std::isfinite(value))
        return std::isnan(value) ? QStringLiteral("NAN")
                                 : (value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF"));
    if (value == 0) return QStringLiteral("0");
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
    // buf: d.dddddddddddddde[+-]xx
    QString digits;
    digits += QLatin1Char(buf[0]);
    for (int k = 2; k < 16; ++k)
        digits += QLatin1Char(buf[k]);
    const int exponent = std::atoi(buf + 17);
    while (digits.size() > 1 && digits.endsWith(u'0'))
        digits.chop(1);
    QString out = value < 0 ? QStringLiteral("-") : QString();
    if (exponent >= 15 || std::fabs(value) < 1e-5) {
        out += digits.at(0);
        if (digits.size() > 1) out += sep + digits.mid(1);
        out += u'E';
        if (exponent < 0) out += u'-';
        out += QString::number(std::abs(exponent));
        return out;
    }
    if (exponent >= 0) {
        const QString intPart = digits.left(exponent + 1).leftJustified(exponent + 1, u'0');
        const QString frac = digits.mid(exponent + 1);
        out += intPart;
        if (!frac.isEmpty()) out += sep + frac;
    } else {
        out += u'0';
        out += sep;
        out += QString(-exponent - 1, u'0') + digits;
    }
    return out;
}

double IniStore::ReadFloat(const QString& section, const QString& name, double def) const
{
    const Entry* e = findEntry(section, name);
    if (!e || !e->value || e->value->isEmpty()) return def;
    return parseFloat(*e->value, systemDecimalSeparator()).value_or(def);
}

void IniStore::WriteFloat(const QString& section, const QString& name, double value)
{
    WriteString(section, name, formatFloat(value, systemDecimalSeparator()));
}

void IniStore::DeleteKey(const QString& section, const QString& ident)
{
    auto sit = m_sectionIndex.constFind(fold(section));
    if (sit == m_sectionIndex.cend()) return;
    Section& s = m_sections[*sit];
    auto it = s.index.constFind(fold(ident));
    if (it == s.index.cend()) return;
    s.entries.erase(s.entries.begin() + *it);
    s.index.clear();
    for (int i = 0; i < int(s.entries.size()); ++i)
        s.index.insert(fold(s.entries[i].key), i);
}

void IniStore::EraseSection(const QString& section)
{
    auto sit = m_sectionIndex.constFind(fold(section));
    if (sit == m_sectionIndex.cend()) return;
    m_sections.erase(m_sections.begin() + *sit);
    rebuildSectionIndex();
}

bool IniStore::SectionExists(const QString& section) const
{
    return findSection(section);
}

bool IniStore::ValueExists(const QString& section, const QString& ident) const
{
    return findEntry(section, ident);
}

QStringList IniStore::sectionNames() const
{
    QStringList names;
    for (const Section& s : m_sections)
        names << s.name;
    return names;
}

QStringList IniStore::keyNames(const QString& section) const
{
    QStringList names;
    if (const Section* s = findSection(section))
        for (const Entry& e : s->entries)
            names << e.key;
    return names;
}

bool IniStore::UpdateFile(QString* error) const
{
    return writeSnapshot(m_path, serialize(), error);
}

bool IniStore::writeSnapshot(const QString& path, const QByteArray& bytes, QString* error)
{
    auto fail = [&](const QString& reason) {
        if (error) *error = QStringLiteral("Soubor \"%1\" nelze zapsat. %2").arg(path, reason);
        return false;
    };
    if (path.isEmpty()) return fail(QStringLiteral("Nebyl zadán název souboru nastavení."));
    QString reason;
    if (!replaceFileAtomically(path, bytes, &reason)) return fail(reason);
    return true;
}

QString EscapeIniName(const QString& name)
{
    // Besides "%", "=", "[" and "]", a name must survive the way the file is read: lines are
    // cut at line breaks and trimmed of blanks and control characters, and a line that begins
    // with ";" is a comment. So control characters anywhere, blanks at either end and a leading
    // ";" are escaped too; names without them (nearly all) are escaped exactly as before.
    qsizetype first = 0, last = name.size();
    while (first < last && name.at(first).unicode() <= 0x20)
        ++first;
    while (last > first && name.at(last - 1).unicode() <= 0x20)
        --last;
    QString out;
    out.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name.at(i).unicode();
        const bool edgeBlank = c <= 0x20 && (i < first || i >= last);
        // A byte of a file name that is not text (FileAccess.h) is written as that byte.
        const bool carriedByte =
            c >= 0xDC80 && c <= 0xDCFF && !(i > 0 && name.at(i - 1).isHighSurrogate());
        if (carriedByte) {
            out += u'%' + QString::number(c - 0xDC00, 16).toUpper();
            continue;
        }
        if (c == u'%' || c == u'=' || c == u'[' || c == u']' || c < 0x20 || edgeBlank ||
            (i == 0 && c == u';'))
            out += u'%' + QString::number(c, 16).toUpper().rightJustified(2, u'0');
        else
            out += QChar(c);
    }
    return out;
}

namespace {
qsizetype lastSeparator(const QString& path)
{
#ifdef Q_OS_WIN
    return std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
#else
    return path.lastIndexOf(u'/');
#endif
}
} // namespace

QString folderSectionOf(const QString& filePath)
{
    const qsizetype sep = lastSeparator(filePath);
    if (sep < 0) return QString();
    const bool isRoot = sep == 0 || (sep == 2 && filePath.at(1) == u':');
    return EscapeIniName(filePath.left(isRoot ? sep + 1 : sep));
}

QString fileKeyOf(const QString& filePath)
{
    return EscapeIniName(filePath.mid(lastSeparator(filePath) + 1));
}

} // namespace ozv
