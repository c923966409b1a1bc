// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// The toggle button shared by both boards: a tag string (the file's path), an integer tag,
// an optional badge overhanging its top-left corner, and the key delivery of a focused button
// (every key goes to the key handler; none clicks the button).
// GUI thread only.

#include "KeyMapping.h"

#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <functional>
#include <optional>
#include <vector>

namespace ozv {

/// A circle (sound hot-key) or pill (picture F-key) badge: orange-red fill, white outline, with
/// its text in a child label named "Indicator".
class TBadge : public QWidget
{
    Q_OBJECT
public:
    enum class Shape { Circle, Pill };
    TBadge(Shape shape, QSize size, const QString& text, QWidget* parent = nullptr);
    QLabel* indicator() const { return m_indicator; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    Shape m_shape;
    QLabel* m_indicator;
};

using KeyDownHandler = std::function<void(QObject* sender, KeyArgs& args)>;

class TBoardButton : public QPushButton
{
    Q_OBJECT
public:
    explicit TBoardButton(QWidget* parent = nullptr);
    ~TBoardButton() override;

    QString TagString;
    int Tag = 0;

    void setKeyDownHandler(KeyDownHandler handler) { m_keyDown = std::move(handler); }
    /// Runs the click handler without touching the pressed state.
    void runClickHandler() { emit clicked(isChecked()); }

    /// A widget that stands beside the button on the board at `offset` from the button's
    /// top-left corner (it may lie outside the button), moved, shown and freed with it.
    void addSatellite(QWidget* widget, QPoint offset);
    void setSatelliteOffset(QWidget* widget, QPoint offset);

    TBadge* badge() const { return m_badge; }

    /// The caption's lines as drawn: wrapped between words, or inside a word too long for a
    /// line (door_slam_heavy_wooden_interior_01); when it needs more lines than fit, its middle
    /// gives way to "…", so its start and the end that tells such names apart both stay.
    QStringList captionLines() const;
    void setBadge(TBadge* badge, QPoint offset);

    /// A face of its own: a solid fill and the caption's colour (else the style's button).
    struct Face
    {
        QColor fill, text;
    };
    virtual std::optional<Face> face() const { return std::nullopt; }

protected:
    /// Where and how the caption is drawn: inside `margins`, with Qt::Alignment flags, and
    /// Qt::TextSingleLine for a one-line caption (else as many lines as fit).
    void setCaptionLayout(QMargins margins, int flags);
    /// The button's face, a bright frame when pressed (so the operator sees at a glance what
    /// plays and what is shown), and the caption.
    void paintEvent(QPaintEvent*) override;
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void placeSatellites();

private:
    struct Satellite
    {
        QPointer<QWidget> widget;
        QPoint offset;
    };
    std::vector<Satellite> m_satellites;
    QPointer<TBadge> m_badge;
    QMargins m_captionMargins;
    int m_captionFlags = Qt::AlignCenter;
    KeyDownHandler m_keyDown;
};

} // namespace ozv
