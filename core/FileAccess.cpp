// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "FileAccess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <atomic>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ozv {

namespace {

constexpr char16_t kCarriedByteBase = 0xDC00;

bool isCarriedByte(char16_t c)
{
    return c >= 0xDC80 && c <= 0xDCFF;
}

// Length of the valid UTF-8 sequence at s[i], or 0 when the byte there does not start one.
int utf8SequenceAt(const unsigned char* s, qsizetype n, qsizetype i, char32_t* cp)
{
    const unsigned char b = s[i];
    if (b < 0x80) {
        *cp = b;
        return 1;
    }
    int len;
    char32_t min;
    if ((b & 0xE0) == 0xC0) {
        len = 2, min = 0x80, *cp = b & 0x1F;
    } else if ((b & 0xF0) == 0xE0) {
        len = 3, min = 0x800, *cp = b & 0x0F;
    } else if ((b & 0xF8) == 0xF0) {
        len = 4, min = 0x10000, *cp = b & 0x07;
    } else {
        return 0;
    }
    if (i + len > n) return 0;
    for (int k = 1; k < len; ++k) {
        if ((s[i + k] & 0xC0) != 0x80) return 0;
        *cp = (*cp << 6) | (s[i + k] & 0x3F);
    }
    if (*cp < min || *cp > 0x10FFFF || (*cp >= 0xD800 && *cp <= 0xDFFF)) return 0;
    return len;
}

// The system's reason, in Czech where the operator is likely to meet it.
QString systemReason(int err)
{
    switch (err) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("Na disku není místo.");
    case EACCES:
    case EPERM:
        return QStringLiteral("Přístup byl odepřen.");
    case ENOENT:
        return QStringLiteral("Soubor nebo složka neexistuje.");
    case EROFS:
        return QStringLiteral("Disk je jen pro čtení.");
    case EISDIR:
        return QStringLiteral("Je to složka, ne soubor.");
    case EIO:
        return QStringLiteral("Chyba čtení nebo zápisu na disk.");
    default:
        return QString::fromLocal8Bit(std::strerror(err));
    }
}

} // namespace

QString decodeFileName(QByteArrayView bytes)
{
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    QString out;
    out.reserve(n);
    for (qsizetype i = 0; i < n;) {
        char32_t cp = 0;
        const int len = utf8SequenceAt(s, n, i, &cp);
        if (len == 0) {
            out += QChar(char16_t(kCarriedByteBase + s[i]));
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            out += QChar(QChar::highSurrogate(cp));
            out += QChar(QChar::lowSurrogate(cp));
        } else {
            out += QChar(char16_t(cp));
        }
        i += len;
    }
    return out;
}

QByteArray encodeFileName(const QString& name)
{
    if (!hasForeignBytes(name)) return name.toUtf8();
    QByteArray out;
    out.reserve(name.size() * 3);
    qsizetype runStart = 0;
    auto flushRun = [&](qsizetype end) {
        out += QStringView(name).mid(runStart, end - runStart).toUtf8();
    };
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name.at(i).unicode();
        // A carried byte is a lone low surrogate: one that follows a high surrogate is half
        // of a real character.
        const bool paired = i > 0 && name.at(i - 1).isHighSurrogate();
        if (isCarriedByte(c) && !paired) {
            flushRun(i);
            out += char(c - kCarriedByteBase);
            runStart = i + 1;
        }
    }
    flushRun(name.size());
    return out;
}

bool hasForeignBytes(const QString& name)
{
    for (qsizetype i = 0; i < name.size(); ++i)
        if (isCarriedByte(name.at(i).unicode()) && !(i > 0 && name.at(i - 1).isHighSurrogate()))
            return true;
    return false;
}

QString readableName(const QString& name)
{
    if (!hasForeignBytes(name)) return name;
    QString out = name;
    for (qsizetype i = 0; i < out.size(); ++i)
        if (isCarriedByte(out.at(i).unicode()) && !(i > 0 && name.at(i - 1).isHighSurrogate()))
            out[i] = QChar::ReplacementCharacter;
    return out;
}

#ifdef Q_OS_UNIX

FileKind fileKind(const QString& path)
{
    struct stat st;
    if (path.isEmpty() || ::stat(encodeFileName(path).constData(), &st) != 0)
        return FileKind::Missing;
    if (S_ISREG(st.st_mode)) return FileKind::Regular;
    if (S_ISDIR(st.st_mode)) return FileKind::Directory;
    return FileKind::Other;
}

int openRegularFile(const QString& path, QString* reason, qint64 maxSize, qint64* size)
{
    auto fail = [&](const QString& why) {
        if (reason) *reason = why;
        return -1;
    };
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer, forever.
    const int fd =
        ::open(encodeFileName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return fail(systemReason(errno));
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        return fail(systemReason(err));
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return fail(S_ISDIR(st.st_mode) ? QStringLiteral("Je to složka, ne soubor.")
                                        : QStringLiteral("Není to obyčejný soubor."));
    }
    if (maxSize >= 0 && st.st_size > maxSize) {
        ::close(fd);
        return fail(QStringLiteral("Soubor je příliš velký (%1 MiB, nejvýše %2 MiB).")
                        .arg(st.st_size / (1024 * 1024))
                        .arg(maxSize / (1024 * 1024)));
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    if (size) *size = st.st_size;
    return fd;
}

FolderEntries readFolder(const QString& folder)
{
    FolderEntries entries;
    QString base = folder;
    if (!base.endsWith(u'/')) base += u'/';
    const QByteArray nativeBase = encodeFileName(base);
    DIR* dir = ::opendir(nativeBase.constData());
    if (!dir) return entries;
    while (const dirent* e = ::readdir(dir)) {
        const QByteArrayView name(e->d_name);
        if (name == "." || name == "..") continue;
        unsigned char type = e->d_type;
        if (type == DT_UNKNOWN || type == DT_LNK) {
            struct stat st;
            const QByteArray full = nativeBase + name.toByteArray();
            type = ::stat(full.constData(), &st) != 0 ? DT_UNKNOWN
                   : S_ISDIR(st.st_mode)              ? DT_DIR
                   : S_ISREG(st.st_mode)              ? DT_REG
                                                      : DT_UNKNOWN;
        }
        if (type == DT_DIR)
            entries.folders << base + decodeFileName(name);
        else if (type == DT_REG)
            entries.files << base + decodeFileName(name);
    }
    ::closedir(dir);
    return entries;
}

bool replaceFileAtomically(const QString& path, const QByteArray& bytes, QString* reason)
{
    auto fail = [&](int err) {
        if (reason) *reason = systemReason(err);
        return false;
    };
    QByteArray target = encodeFileName(path);
    // A link is followed, so the file it names is replaced and the link stays.
    if (char* real = ::realpath(target.constData(), nullptr)) {
        target = real;
        std::free(real);
    }
    static std::atomic<unsigned> counter{0};
    QByteArray temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = target + ".tmp-" + QByteArray::number(qint64(::getpid())) + '-' +
               QByteArray::number(counter.fetch_add(1));
        // 0666 less the umask, as any new file the user makes.
        fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return fail(errno);
    }
    if (fd < 0) return fail(EEXIST);
    auto abandon = [&](int err) {
        ::close(fd);
        ::unlink(temp.constData());
        return fail(err);
    };
    struct stat old;
    if (::stat(target.constData(), &old) == 0) ::fchmod(fd, old.st_mode & 07777);
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0) {
            if (errno == EINTR) continue;
            return abandon(errno);
        }
        if (n == 0) return abandon(EIO);
        p += n;
        left -= n;
    }
    // Space may be taken only now on some file systems: a failing sync means the bytes are
    // not safe, so the old file stays.
    if (::fsync(fd) != 0 && errno != EINVAL && errno != ENOTSUP) return abandon(errno);
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(temp.constData());
        return fail(err);
    }
    if (::rename(temp.constData(), target.constData()) != 0) {
        const int err = errno;
        ::unlink(temp.constData());
        return fail(err);
    }
    // Make the rename itself durable; a folder that cannot be synced changes nothing above.
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash > 0 ? target.left(slash) : QByteArray(slash == 0 ? "/" : ".");
    const int dirFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

#else // other systems: Qt's own file access (names are what Qt gives)

FileKind fileKind(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists()) return FileKind::Missing;
    if (info.isDir()) return FileKind::Directory;
    return info.isFile() ? FileKind::Regular : FileKind::Other;
}

int openRegularFile(const QString&, QString* reason, qint64, qint64*)
{
    if (reason) *reason = QStringLiteral("Není podporováno.");
    return -1;
}

FolderEntries readFolder(const QString& folder)
{
    FolderEntries entries;
    QString base = folder;
    if (!base.endsWith(u'/')) base += u'/';
    const QFileInfoList list = QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden |
                                                          QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& info : list) {
        if (info.isDir())
            entries.folders << base + info.fileName();
        else if (info.isFile())
            entries.files << base + info.fileName();
    }
    return entries;
}

bool replaceFileAtomically(const QString& path, const QByteArray& bytes, QString* reason)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        file.write(bytes) != bytes.size() || !file.flush() || !file.commit()) {
        if (reason) *reason = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

#endif

} // namespace ozv
