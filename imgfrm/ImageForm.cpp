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

void TImageForm::LoadBitmap(const QString& name)
{
    if (isHidden()) ClearBitmap();
    stopAnimation(); // a running transition jumps to its end
    const QImage previousTarget = m_target;
    const QFileInfo info(name);
    const QByteArray suffix = info.suffix().toLower().toLatin1();
    if (!name.isEmpty() && fileKind(name) != FileKind::Missing &&
        QImageReader::supportedImageFormats().contains(suffix)) {
        QString error;
        QImage picture = m_cache.take(name, size(), &error);
        if (picture.isNull()) {
            update();
            throw PictureDecodeError(error.toStdString());
        }
        m_start = previousTarget;
        m_target = std::move(picture);
    } else {
        m_start = previousTarget;
        ClearBitmap();
    }
    m_u = 0.0;
    repaint(); // the first frame at once
    m_animation.start();
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
