#pragma once
// Pictures prepared at the picture window's size ahead of time, decoded on a background pool,
// so that stepping to a neighbouring picture starts its cross-fade at once. GUI thread API.

#include <QFuture>
#include <QImage>
#include <QSize>
#include <QString>
#include <QThreadPool>
#include <map>

namespace ozv {

class TPictureCache
{
public:
    TPictureCache();
    ~TPictureCache();

    /// Starts preparing `paths` at `size` in the background; drops every other prepared picture
    /// except `keep`.
    void prefetch(const QStringList& paths, QSize size, const QString& keep = QString());
    /// The prepared picture (waiting for it when it is being prepared), or decodes it now.
    /// Returns a null image and sets `error` when the file cannot be decoded.
    QImage take(const QString& path, QSize size, QString* error);
    /// Whether `path` at `size` is prepared or being prepared.
    bool contains(const QString& path, QSize size) const;

private:
    struct Prepared
    {
        QImage image;
        QString error;
    };
    using Key = std::pair<QString, std::pair<int, int>>;
    static Key key(const QString& path, QSize size)
    {
        return {path, {size.width(), size.height()}};
    }
    QThreadPool m_pool;
    std::map<Key, QFuture<Prepared>> m_entries;
};

} // namespace ozv
