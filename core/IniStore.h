// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// The in-memory INI settings store: loaded once from a UTF-8 file, read and changed in
// memory, written back whole. Section and key names match without regard to letter case.
// GUI thread only (no locking).

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace ozv {

/// Thrown when an existing settings file cannot be opened or is not valid UTF-8.
class IniLoadError : public std::runtime_error
{
public:
    explicit IniLoadError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {}
    QString message() const { return m_message; }

private:
    QString m_message;
};

class IniStore
{
public:
    /// An empty store bound to no file.
    IniStore() = default;
    /// Opens the store on `path`; reads the file when it exists. Throws IniLoadError when the
    /// file exists but cannot be read, is not a regular file, is larger than kMaxFileSize or is
    /// not valid UTF-8 (the file is left untouched).
    explicit IniStore(const QString& path);

    const QString& fileName() const { return m_path; }

    /// Parses INI text (BOM already decoded). Replaces the current content.
    void parse(const QString& text);
    /// Parses the bytes of a settings file (an optional UTF-8 byte-order mark, then UTF-8).
    /// False, with the content unchanged, when they are not valid UTF-8.
    bool parseBytes(QByteArray bytes);
    /// The file content as written: UTF-8 with BOM, CR LF after every line.
    QByteArray serialize() const;

    QString ReadString(const QString& section, const QString& ident, const QString& def) const;
    void WriteString(const QString& section, const QString& ident, const QString& value);
    qint32 ReadInteger(const QString& section, const QString& ident, qint32 def) const;
    void WriteInteger(const QString& section, const QString& ident, qint32 value);
    bool ReadBool(const QString& section, const QString& ident, bool def) const;
    void WriteBool(const QString& section, const QString& ident, bool value);
    double ReadFloat(const QString& section, const QString& name, double def) const;
    void WriteFloat(const QString& section, const QString& name, double value);
    void DeleteKey(const QString& section, const QString& ident);
    void EraseSection(const QString& section);
    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& ident) const;
    QStringList sectionNames() const;
    QStringList keyNames(const QString& section) const;

    /// Writes the whole store to its path, atomically (a new file renamed over the old one).
    /// Returns false and sets `error` (a message naming the file and the system's reason)
    /// when the write fails; the in-memory content is kept either way.
    bool UpdateFile(QString* error = nullptr) const;
    /// Writes serialized content to `path` as UpdateFile does; any thread (the bytes are a
    /// snapshot taken on the GUI thread).
    static bool writeSnapshot(const QString& path, const QByteArray& bytes, QString* error);

    /// A settings file larger than this is refused: reading it would take many times its size
    /// in memory, and no show needs more than a small part of it.
    static constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

    /// Integer text as the store reads it: decimal, or hex after "$", "x" or "0x".
    static std::optional<qint32> parseInteger(const QString& text);
    /// Decimal text with the given decimal separator, optional sign and exponent.
    static std::optional<double> parseFloat(const QString& text, QChar decimalSeparator);
    /// 15 significant digits, trailing zeros dropped, no thousands separators.
    static QString formatFloat(double value, QChar decimalSeparator);

private:
    struct Entry
    {
        QString key;
        std::optional<QString> value; // no value: a bare key from a hand-edited file
    };
    struct Section
    {
        QString name;
        std::vector<Entry> entries;
        QHash<QString, int> index; // upper-cased key -> position in entries
    };
    static QString fold(const QString& name) { return name.toUpper(); }
    const Section* findSection(const QString& name) const;
    Section& ensureSection(const QString& name);
    const Entry* findEntry(const QString& section, const QString& ident) const;
    void rebuildSectionIndex();

    QString m_path;
    std::vector<Section> m_sections;
    QHash<QString, int> m_sectionIndex; // upper-cased name -> position in m_sections
};

/// Escapes "%", "=", "[" and "]" as %25, %3D, %5B, %5D in names derived from file paths (and,
/// so that every name reads back, control characters, blanks at either end and a leading ";";
/// a byte of a file name that is not text is written as %XX of that byte).
QString EscapeIniName(const QString& name);

/// The folder section of a file: the escaped directory part of its path (without the final
/// separator, except for a root, which keeps it).
QString folderSectionOf(const QString& filePath);
/// The file key of a file: its escaped name with extension.
QString fileKeyOf(const QString& filePath);

} // namespace ozv
