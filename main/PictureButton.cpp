// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "PictureButton.h"

#include "Thumbnail.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace ozv {

TImageView::TImageView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Image"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void TImageView::setImage(const QImage& image)
{
    m_image = image;
    update();
}

void TImageView::paintEvent(QPaintEvent*)
{
    if (m_image.isNull()) return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSize fitted = m_image.size().scaled(size(), Qt::KeepAspectRatio);
    const QRect r(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
    p.drawImage(r, m_image);
}

TPictureButton::TPictureButton(const QString& path, const QString& caption, QWidget* parent)
    : TBoardButton(parent)
{
    setText(caption);
    TagString = path;
    Tag = 0;
    setFixedSize(kWidth, kHeight);
    setCaptionLayout(QMargins(4, 4, 4, 4), Qt::AlignHCenter | Qt::AlignBottom | Qt::TextSingleLine);
    m_image = new TImageView(this);
    m_image->setGeometry(QRect(QPoint(4, 4), kThumbnailBox)); // padding 4, 4, 4, 22
}

void TPictureButton::setFKey(int n)
{
    auto* badge = new TBadge(TBadge::Shape::Pill, QSize(38, 28), QStringLiteral("F%1").arg(n + 1));
    badge->setObjectName(QStringLiteral("RoundRect"));
    setBadge(badge, QPoint(-4, -4));
    Tag = kFirstFKeyTag + n;
}

} // namespace ozv
