// Ordering, captions and escaping on any names: consistent, and never out of bounds.

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

    const QString escaped = ozv::EscapeIniName(a);
    if (escaped.contains(u'=') || escaped.contains(u'[') || escaped.contains(u']')) std::abort();
    for (qsizetype i = escaped.indexOf(u'%'); i >= 0; i = escaped.indexOf(u'%', i + 1)) {
        const QStringView code = QStringView(escaped).mid(i + 1, 2);
        if (code != u"25" && code != u"3D" && code != u"5B" && code != u"5D") std::abort();
    }
    (void)ozv::baseNameOf(a);
    (void)ozv::lastComponent(b);
    return 0;
}
