#include "ImageForm.h"

#include "CrossFade.h"
#include "Easing.h"
#include "FileAccess.h"
#include "IniStore.h"
#include "SettingsKeys.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

namespace ozv {

TImageForm::TImageForm(IniStore& settings, const DisplaySource& displays, int mainDisplay,
                       QPoint mainCentre, QWidget* mainWindow)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus),
      m_mainWindow(mainWindow)
{
    setWindowTitle(QStringLiteral("Form1"));
    setObjectName(QStringLiteral("ImageForm"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::BlankCursor);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    resize(768, 835);

    m_animation.setStartValue(0.0);
    m_animation.setEndValue(1.0);
    m_animation.setDuration(kFadeMs);
    m_animation.setEasingCurve(QEasingCurve::Linear); // the eased progress is computed per frame
    connect(&m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
        m_u = v.toDouble();
        update();
    });
    connect(&m_animation, &QVariantAnimation::finished, this, [this] {
        m_u = 1.0;
        update();
    });

    m_effect =
        std::clamp(settings.ReadInteger(keys::Images, keys::Effect, keys::EffectDefault), 0, 10);
    int monitor = settings.ReadInteger(keys::Images, keys::Monitor, keys::MonitorDefault);
    if (monitor == mainDisplay) monitor = -1;
    const auto all = displays.displays();
    for (int i = 0; i < int(all.size()); ++i) {
        if (i != monitor && monitor >= 0) continue;
        setBoundsRect(all[std::size_t(i)].bounds);
        ClearBitmap();
        if (geometry().contains(mainCentre)) hide();
        break;
    }
}

void TImageForm::setEffect(int index)
{
    m_effect = std::clamp(index, 0, 10);
}

void TImageForm::setBoundsRect(const QRect& bounds)
{
    setGeometry(bounds);
}

double TImageForm::progress() const
{
    return easeIn(m_effect, m_u);
}

void TImageForm::stopAnimation()
{
    if (m_animation.state() != QAbstractAnimation::Stopped) m_animation.stop();
    m_u = 1.0;
}

void TImageForm::ClearBitmap()
{
    QImage black(size(), QImage::Format_ARGB32_Premultiplied);
    black.fill(QColor(0, 0, 0, 255));
    m_target = black;
    if (isHidden()) {
        stopAnimation();
        m_start = m_target;
        if (m_parked)
            m_showWhenUnparked = true;
        else
            show();
    }
    update();
}

void TImageForm::setParked(bool parked)
{
    if (parked == m_parked) return;
    m_parked = parked;
    if (parked) {
        m_showWhenUnparked = isVisible();
        hide();
    } else if (m_showWhenUnparked) {
        m_showWhenUnparked = false;
        show();
    }
}

bool TImageForm::isPictureFile(const QString& name)
{
    const QByteArray suffix = QFileInfo(name).suffix().toLower().toLatin1();
    return !name.isEmpty() && fileKind(name) != FileKind::Missing &&
           QImageReader::supportedImageFormats().contains(suffix);
}

void TImageForm::crossFadeTo(QImage picture)
{
    if (isHidden()) ClearBitmap();
    stopAnimation(); // a running transition jumps to its end
    m_start = m_target;
    if (picture.isNull())
        ClearBitmap();
    else
        m_target = std::move(picture);
    m_u = 0.0;
    repaint(); // the first frame at once
    m_animation.start();
}

void TImageForm::LoadBitmap(const QString& name)
{
    ++m_request; // supersedes a picture still being decoded
    m_waiting = 0;
    if (!isPictureFile(name)) {
        crossFadeTo(QImage());
        return;
    }
    QString error;
    QImage picture = m_cache.take(name, size(), &error);
    if (picture.isNull()) {
        if (isHidden()) ClearBitmap();
        stopAnimation();
        update();
        throw PictureDecodeError(error.toStdString());
    }
    crossFadeTo(std::move(picture));
}

void TImageForm::LoadBitmapWhenReady(const QString& name,
                                     std::function<void(const QString& error)> done)
{
    const std::uint64_t request = ++m_request;
    m_waiting = 0;
    if (!isPictureFile(name)) {
        crossFadeTo(QImage());
        done(QString());
        return;
    }
    m_waiting = 1;
    m_cache.whenReady(name, size(),
                      [this, request, done](const QImage& picture, const QString& error) {
                          if (request != m_request) return; // a newer choice came meanwhile
                          m_waiting = 0;
                          if (picture.isNull()) {
                              done(error);
                              return;
                          }
                          crossFadeTo(picture);
                          done(QString());
                      });
}

QImage TImageForm::currentFrame() const
{
    QImage frame(size(), QImage::Format_ARGB32_Premultiplied);
    frame.fill(Qt::black);
    QPainter p(&frame);
    drawCrossFade(p, frame.rect(), m_start, m_target, progress());
    return frame;
}

void TImageForm::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    drawCrossFade(p, rect(), m_start, m_target, progress());
}

bool TImageForm::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate) FormActivate();
    return QWidget::event(e);
}

void TImageForm::FormActivate()
{
    if (m_mainWindow) {
        m_mainWindow->activateWindow();
        m_mainWindow->raise();
    }
}

} // namespace ozv
