// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// A picture button: 104 x 78 toggle button with the picture's thumbnail in its "Image" child
// (96 x 52 at (4, 4)) and its caption on one line along the bottom; the first picture of each
// of the first 12 groups carries the F-key badge and Tag = 112 + n.

#include "BoardButton.h"

#include <QImage>

namespace ozv {

/// Shows a picture at the largest size that fits, aspect kept, centred (enlarged or reduced).
class TImageView : public QWidget
{
    Q_OBJECT
public:
    explicit TImageView(QWidget* parent = nullptr);
    void setImage(const QImage& image);
    const QImage& image() const { return m_image; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QImage m_image;
};

class TPictureButton : public TBoardButton
{
    Q_OBJECT
public:
    static constexpr int kWidth = 104, kHeight = 78;
    static constexpr int kFirstFKeyTag = 112;

    TPictureButton(const QString& path, const QString& caption, QWidget* parent = nullptr);

    TImageView* Image() const { return m_image; }
    /// Gives the button the badge "F<n + 1>" and Tag = 112 + n.
    void setFKey(int n);

private:
    TImageView* m_image;
};

} // namespace ozv
