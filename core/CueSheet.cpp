#include "CueSheet.h"

#include "HotKeys.h"
#include "MediaScan.h"

namespace ozv {

QString cueSheet(const QString& folder, const std::function<bool(const QString&)>& playable)
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
            out += key + u'\t' + StripOrderPrefix(baseNameOf(file)) + u'\t' + lastComponent(file) +
                   u'\n';
        }
    }
    out += QStringLiteral("[Pictures]\n");
    counter = 0;
    for (const MediaGroup& g : scanBoard(base, kPictureExtensions)) {
        out += QStringLiteral("# ") + g.caption() + u'\n';
        bool first = true;
        for (const QString& file : g.files) {
            QString key = QStringLiteral("-");
            if (first && counter < 12) key = QStringLiteral("F%1").arg(++counter);
            first = false;
            out += key + u'\t' + StripOrderPrefix(baseNameOf(file)) + u'\t' + lastComponent(file) +
                   u'\n';
        }
    }
    return out;
}

} // namespace ozv
