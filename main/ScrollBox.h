// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// A framed vertical scroll box with an inner padding of 8 that holds one board. It keeps an
// exact (fractional) scroll offset for gliding, and it passes keys on to the window instead of
// scrolling with them. GUI thread only.

#include "FlowLayout.h"

#include <QScrollArea>

namespace ozv {

class TScrollBox : public QScrollArea
{
    Q_OBJECT
public:
    static constexpr int kPadding = 8;
    static constexpr int kBoardBottomMargin = 16;

    explicit TScrollBox(QWidget* parent = nullptr);
    TFlowLayout* board() const { return m_board; }

    /// Fits the board's height to its content (and the scrolled content to the board).
    void fitBoardHeight();
    /// Exact vertical offset of the view.
    double offset() const;
    void setOffset(double offset);
    double viewHeight() const;

signals:
    void resized();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void placeBoard();
    QWidget* m_content;
    TFlowLayout* m_board;
    double m_exactOffset = 0;
};

} // namespace ozv
