#include "ThumbnailLoader.h"

#include "PictureButton.h"
#include "Thumbnail.h"

#include <QCoreApplication>

namespace ozv {

TThumbnailLoader::TThumbnailLoader(std::atomic<int>& counter, QObject* parent)
    : QObject(parent), FThreads(counter)
{
    m_pool.setMaxThreadCount(std::max(2, QThread::idealThreadCount()));
}

TThumbnailLoader::~TThumbnailLoader()
{
    m_pool.clear();
    m_pool.waitForDone();
}

void TThumbnailLoader::load(TPictureButton* button)
{
    FThreads.fetch_add(1);
    button->setEnabled(false);
    const QSize fit(int(std::ceil(double(button->Image()->width()))),
                    int(std::ceil(double(button->Image()->height()))));
    QPointer<TPictureButton> target(button);
    const QString path = button->TagString;
    m_pool.start([this, target, path, fit] {
        QImage thumbnail = decodeThumbnail(path, fit);
        QMetaObject::invokeMethod(
            this, [this, target, thumbnail = std::move(thumbnail)] { apply(target, thumbnail); },
            Qt::QueuedConnection);
    });
}

void TThumbnailLoader::apply(QPointer<TPictureButton> button, QImage thumbnail)
{
    if (button) {
        if (thumbnail.isNull()) {
            delete button.data(); // the picture drops out of the list, with its badge
        } else {
            button->Image()->setImage(thumbnail);
            button->setEnabled(true);
        }
    }
    FThreads.fetch_sub(1);
    emit applied();
}

void TThumbnailLoader::waitForDone()
{
    m_pool.waitForDone();
    QCoreApplication::sendPostedEvents(this);
}

} // namespace ozv
