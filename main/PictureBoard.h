// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// The picture list: one thumbnail button per picture file, grouped like the sounds, with F-key
// badges on the first picture of the first 12 groups; showing a picture on the picture monitor
// (ShowPicture), and the glide that brings the chosen button into view. GUI thread only.

#include "PictureButton.h"
#include "ScrollBox.h"
#include "ThumbnailLoader.h"

#include <QPointer>
#include <QTimer>
#include <atomic>
#include <functional>

namespace ozv {
class TImageForm;
class TMonitorList;

class TPictureBoard : public QObject
{
    Q_OBJECT
public:
    static constexpr int kFKeyCount = 12;

    TPictureBoard(TScrollBox* box, TMonitorList& monitors, std::function<TImageForm*()> imageForm,
                  KeyDownHandler keyDown, QObject* parent = nullptr);

    /// Rebuilds the list from `folder` (normalised; may be empty); stepping starts afresh.
    void rebuild(const QString& folder);

    /// Shows the picture of `button` (pressed) or blanks the picture monitor, without waiting
    /// for a decode: FActiveImage is the chosen picture at once, the pressed button is the one
    /// on the monitor. A picture that cannot be decoded is reported by `failed`.
    void ShowPicture(TPictureButton* button, bool pressed);
    void ImageButtonClick(TPictureButton* button);
    void ImagesScrollTimer();

    TFlowLayout* board() const { return m_box->board(); }
    TScrollBox* scrollBox() const { return m_box; }
    TThumbnailLoader& loader() { return m_loader; }
    int threads() const { return FThreads.load(); }
    double scrollTarget() const { return m_scrollTarget; }
    QTimer* scrollTimer() { return &ImagesScroll; }

    int FActiveImage = -1;
    bool FPictureShowing = false;

signals:
    /// A picture could not be shown; the message is for the operator.
    void failed(const QString& message);

private:
    void createGroup(const QString& groupName, const QStringList& files, int& counter);
    void scrollIntoView();
    void prefetchNeighbours();
    void pressOnly(QAbstractButton* shown);
    int pressedIndex() const;

    TScrollBox* m_box;
    TMonitorList& m_monitors;
    std::function<TImageForm*()> m_imageForm;
    KeyDownHandler m_keyDown;
    std::atomic<int> FThreads{0};
    TThumbnailLoader m_loader;
    QTimer ImagesScroll;
    double m_scrollTarget = 0;
};

} // namespace ozv
