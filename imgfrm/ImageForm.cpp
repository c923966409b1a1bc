// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "ImageForm.h"

#include "CrossFade.h"
#include "CrossFadeGl.h"
#include "Easing.h"
#include "FileAccess.h"
#include "FrameComposer.h"
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
    if (TCrossFadeGl::gpuAvailable()) {
        m_glView = new TCrossFadeGlView(this);
    } else {
        m_composer = std::make_unique<TFrameComposer>();
        connect(m_composer.get(), &TFrameComposer::frameReady, this, [this] { update(); });
    }
    resize(768, 835);

    m_animation.setStartValue(0.0);
    m_animation.setEndValue(1.0);
    m_animation.setDuration(kFadeMs);
    m_animation.setEasingCurve(QEasingCurve::Linear); // the eased progress is computed per frame
    connect(&m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
        m_u = v.toDouble();
        refresh();
    });
    connect(&m_animation, &QVariantAnimation::finished, this, [this] {
        m_u = 1.0;
        refresh();
    });

    m_effect =
        std::clamp(settings.ReadInteger(keys::Images, keys::Effect, keys::EffectDefault), 0, 10);
    int monitor = settings.ReadInteger(keys::Images, keys::Monitor, keys::MonitorDefault);
    if (monitor == mainDisplay) monitor = -1;
    const auto all = displays.displays();
    for (int i = 0; i < int(all.size()); ++i) {
        if (i != monitor && monitor >= 0) continue;
        setBoundsRect(all[std::size_t(i)].bounds);
        // Over the operator's own window it starts black and hidden, never shown for an
        // instant: a show and hide at once would also leave the window system a stale
        // geometry to deliver after the window has been moved to its own display.
        blackOut(!geometry().contains(mainCentre));
        break;
    }
}

TImageForm::~TImageForm() = default;

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
    blackOut(true);
}

void TImageForm::blackOut(bool reveal)
{
    QImage black(size(), QImage::Format_ARGB32_Premultiplied);
    black.fill(QColor(0, 0, 0, 255));
    m_target = black;
    m_black = true;
    if (isHidden()) {
        stopAnimation();
        m_start = m_target;
        if (reveal && m_parked)
            m_showWhenUnparked = true;
        else if (reveal)
            show();
    }
    refresh();
    emit stageChanged();
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
    if (picture.isNull()) {
        ClearBitmap();
    } else {
        m_target = std::move(picture);
        m_black = false;
        emit stageChanged();
    }
    m_u = 0.0;
    refresh();
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
        refresh();
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

void TImageForm::refresh()
{
    if (m_glView)
        m_glView->setFrame(m_start, m_target, progress());
    else
        m_composer->request(m_start, m_target, progress(), size());
}

int TImageForm::framesPresented() const
{
    return m_glView ? m_glView->framesPresented() : m_framesPresented;
}

QImage TImageForm::presentedFrame()
{
    return m_glView ? m_glView->grabFramebuffer() : m_front;
}

void TImageForm::presentPendingFrame()
{
    if (m_glView) {
        m_glView->grabFramebuffer(); // renders the frame asked for
        return;
    }
    m_composer->waitUntilIdle();
    repaint();
}

void TImageForm::paintEvent(QPaintEvent*)
{
    if (m_glView) return;
    if (m_composer->take(m_front)) ++m_framesPresented;
    QPainter p(this);
    if (m_front.size() == size()) {
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, m_front); // one copy: the frame was composed elsewhere
    } else {
        p.fillRect(rect(), Qt::black); // resized: its frame is on the way
    }
}

void TImageForm::showEvent(QShowEvent*)
{
    emit stageChanged();
}

void TImageForm::hideEvent(QHideEvent*)
{
    emit stageChanged();
}

void TImageForm::resizeEvent(QResizeEvent*)
{
    if (m_glView) m_glView->setGeometry(rect());
    refresh();
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
