// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "ScrollBox.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <cmath>

namespace ozv {

TScrollBox::TScrollBox(QWidget* parent) : QScrollArea(parent)
{
    setFrameShape(QFrame::StyledPanel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFocusPolicy(Qt::NoFocus);
    setWidgetResizable(false);
    m_content = new QWidget;
    m_content->setAutoFillBackground(false);
    m_board = new TFlowLayout(m_content);
    // The board reaches into the padding on the left by the badges' overhang, so the buttons
    // stand where the padding says and their badges are whole.
    m_board->move(kPadding - TFlowLayout::kOverhang, kPadding);
    setWidget(m_content);
    viewport()->setBackgroundRole(QPalette::Window);
    viewport()->setAutoFillBackground(true);
}

void TScrollBox::placeBoard()
{
    const int width = std::max(0, viewport()->width() - 2 * kPadding + TFlowLayout::kOverhang);
    m_board->resize(width, m_board->height());
    m_content->resize(viewport()->width(),
                      kPadding + m_board->height() + kBoardBottomMargin + kPadding);
}

void TScrollBox::fitBoardHeight()
{
    m_board->relayout();
    m_board->resize(m_board->width(), m_board->fittedHeight());
    placeBoard();
}

double TScrollBox::offset() const
{
    const int bar = verticalScrollBar()->value();
    return std::lround(m_exactOffset) == bar ? m_exactOffset : double(bar);
}

void TScrollBox::setOffset(double offset)
{
    const double maximum = verticalScrollBar()->maximum();
    m_exactOffset = std::clamp(offset, 0.0, std::max(0.0, maximum));
    verticalScrollBar()->setValue(int(std::lround(m_exactOffset)));
}

double TScrollBox::viewHeight() const
{
    return viewport()->height();
}

void TScrollBox::resizeEvent(QResizeEvent* event)
{
    QScrollArea::resizeEvent(event);
    placeBoard();
    emit resized();
}

void TScrollBox::keyPressEvent(QKeyEvent* event)
{
    event->ignore();
}

} // namespace ozv
