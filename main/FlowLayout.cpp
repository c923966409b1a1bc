// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "FlowLayout.h"

#include <QResizeEvent>

namespace ozv {

TLineBreak::TLineBreak(QWidget* parent) : QWidget(parent)
{
    setFixedSize(0, 0);
    setFocusPolicy(Qt::NoFocus);
}

TFlowLayout::TFlowLayout(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

void TFlowLayout::EndUpdate()
{
    if (m_updating > 0 && --m_updating == 0) relayout();
}

void TFlowLayout::addChild(QWidget* child, QMargins margins)
{
    child->setParent(this);
    m_items.push_back(Item{child, margins});
    connect(child, &QObject::destroyed, this, &TFlowLayout::forget);
    child->show();
    if (!m_updating) relayout();
}

void TFlowLayout::setChildMargins(QWidget* child, QMargins margins)
{
    for (Item& item : m_items)
        if (item.widget == child) item.margins = margins;
    if (!m_updating) relayout();
}

QMargins TFlowLayout::childMargins(int index) const
{
    return index >= 0 && index < childCount() ? m_items[std::size_t(index)].margins : QMargins();
}

void TFlowLayout::clearChildren()
{
    std::vector<Item> items;
    items.swap(m_items);
    for (Item& item : items) {
        disconnect(item.widget, &QObject::destroyed, this, &TFlowLayout::forget);
        delete item.widget;
    }
    if (!m_updating) relayout();
}

QWidget* TFlowLayout::childAt(int index) const
{
    return index >= 0 && index < childCount() ? m_items[std::size_t(index)].widget : nullptr;
}

int TFlowLayout::indexOf(const QWidget* child) const
{
    for (int i = 0; i < childCount(); ++i)
        if (m_items[std::size_t(i)].widget == child) return i;
    return -1;
}

void TFlowLayout::forget(QObject* object)
{
    std::erase_if(m_items, [object](const Item& item) { return item.widget == object; });
    if (!m_updating) relayout();
    emit childRemoved();
}

void TFlowLayout::relayout()
{
    doLayout(width());
}

void TFlowLayout::doLayout(int width)
{
    int x = kOverhang, y = 0, lineHeight = 0;
    bool lineEmpty = true;
    for (Item& item : m_items) {
        QWidget* w = item.widget;
        const QMargins& m = item.margins;
        if (qobject_cast<TLineBreak*>(w)) {
            if (!lineEmpty) y += lineHeight + kGap;
            x = kOverhang;
            lineHeight = 0;
            lineEmpty = true;
            w->move(0, y);
            continue;
        }
        const int outerWidth = m.left() + w->width() + m.right();
        if (!lineEmpty && x + outerWidth > width) {
            y += lineHeight + kGap;
            x = kOverhang;
            lineHeight = 0;
        }
        w->move(x + m.left(), y + m.top());
        x += outerWidth + kGap;
        lineHeight = std::max(lineHeight, m.top() + w->height() + m.bottom());
        lineEmpty = false;
    }
}

int TFlowLayout::fittedHeight() const
{
    if (m_items.empty()) return 16;
    const Item& last = m_items.back();
    if (qobject_cast<TLineBreak*>(last.widget)) return height();
    return last.widget->y() + last.widget->height() + last.margins.bottom() + 16;
}

void TFlowLayout::resizeEvent(QResizeEvent* event)
{
    if (event->size().width() != event->oldSize().width() && !m_updating) relayout();
}

} // namespace ozv
