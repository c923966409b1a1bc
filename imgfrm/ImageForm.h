// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// The picture window: what the audience sees. Borderless, always on top, black, without a mouse
// pointer; it never keeps the keyboard focus. Each new picture replaces the previous one by a
// one-second cross-fade along the chosen easing curve, drawn by the graphics card where there is
// one, else composed on a thread of its own: the GUI thread only presents finished frames.
// GUI thread only.

#include "Displays.h"
#include "PictureCache.h"

#include <QImage>
#include <QPointer>
#include <QVariantAnimation>
#include <QWidget>
#include <functional>
#include <memory>
#include <stdexcept>

namespace ozv {
class IniStore;
class TCrossFadeGlView;
class TFrameComposer;

/// A picture that exists and has a known format but cannot be decoded.
class PictureDecodeError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class TImageForm : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kFadeMs = 1000;

    /// Creates the window and places it: on the stored picture monitor, or the first display
    /// when none is stored or the stored one holds the main window (`mainDisplay`); hidden again
    /// when it covers `mainCentre`; unplaced and hidden when the stored display is gone.
    TImageForm(IniStore& settings, const DisplaySource& displays, int mainDisplay,
               QPoint mainCentre, QWidget* mainWindow);
    ~TImageForm() override;

    /// Makes the target picture black; shows the window if it is hidden.
    void ClearBitmap();
    /// Cross-fades to the picture in `name` (empty, missing or of an unknown type: to black).
    /// Throws PictureDecodeError when the file cannot be decoded; the screen keeps the
    /// previous picture.
    void LoadBitmap(const QString& name);
    /// Cross-fades to the picture in `name` once it is decoded, without waiting for it here:
    /// at once when it was prepared ahead, else when its background decode is done. A newer
    /// request (this or LoadBitmap) supersedes one still waiting. `done` is called on this
    /// thread when the picture is on screen (empty error) or cannot be decoded (the screen
    /// keeps what it shows); never for a superseded request.
    void LoadBitmapWhenReady(const QString& name, std::function<void(const QString& error)> done);
    /// A picture is chosen and still being decoded.
    bool pending() const { return m_waiting > 0; }

    int effect() const { return m_effect; }
    void setEffect(int index);
    void setBoundsRect(const QRect& bounds);
    /// While no display is free for pictures (the picture monitor is gone) the window is
    /// parked: hidden, whatever is chosen meanwhile. Unparked, it shows again what is chosen,
    /// if it was showing or something was chosen while it was parked.
    void setParked(bool parked);
    bool parked() const { return m_parked; }
    QSize pictureSize() const { return size(); }
    TPictureCache& cache() { return m_cache; }

    // The state of the transition, for the operator's tests.
    bool animating() const { return m_animation.state() == QAbstractAnimation::Running; }
    double progress() const; // p of the current frame
    const QImage& startPicture() const { return m_start; }
    const QImage& targetPicture() const { return m_target; }
    /// The target is black (a blackout, or nothing chosen yet).
    bool showsBlack() const { return m_black; }
    /// The frame of the current progress by the reference rule (black fill, start and target
    /// blended with a painter).
    QImage currentFrame() const;
    /// Whether the graphics card draws the frames (else the raster path does).
    bool onGpu() const { return m_glView != nullptr; }
    /// Frames put on screen so far.
    int framesPresented() const;
    /// The frame last put on screen (read back from the card on the GPU path).
    QImage presentedFrame();
    /// Waits until the frame asked for last is composed and presents it (tests, benchmarks).
    void presentPendingFrame();

signals:
    /// What the audience sees changes: a new target, black, shown, hidden or parked.
    void stageChanged();

protected:
    void showEvent(QShowEvent*) override;
    void hideEvent(QHideEvent*) override;
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    bool event(QEvent* e) override;

private:
    void FormActivate();
    void stopAnimation();
    /// Makes the target picture black; a hidden window is shown (or marked to be shown when
    /// unparked) only with `reveal`.
    void blackOut(bool reveal);
    static bool isPictureFile(const QString& name);
    void crossFadeTo(QImage picture);
    /// Asks for the frame of the current state, to be presented when it is done.
    void refresh();

    QPointer<QWidget> m_mainWindow;
    int m_effect = 0;
    QImage m_start, m_target;
    double m_u = 1.0;
    bool m_parked = false;
    bool m_black = true;
    std::uint64_t m_request = 0; // the latest picture asked for
    int m_waiting = 0;           // 1 while that one is being decoded
    bool m_showWhenUnparked = false;
    QVariantAnimation m_animation;
    TCrossFadeGlView* m_glView = nullptr;       // the GPU path
    std::unique_ptr<TFrameComposer> m_composer; // the raster path
    QImage m_front;                             // its frame on screen
    int m_framesPresented = 0;
    TPictureCache m_cache;
};

} // namespace ozv
