// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// A board: a widget that places its children left to right in lines, with gaps, per-child
// margins and explicit line breaks. Children keep their order; an index among them is an index
// among the board's items (header labels and line breaks count). GUI thread only.

#include <QMargins>
#include <QPointer>
#include <QWidget>
#include <vector>

namespace ozv {

/// An explicit line break on a board: the next item starts a new line.
class TLineBreak : public QWidget
{
    Q_OBJECT
public:
    explicit TLineBreak(QWidget* parent = nullptr);
};

class TFlowLayout : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kGap = 8;
    /// Room left of every line for the badges that overhang their buttons' left edge by 4
    /// pixels: without it the first column's badges would be cut.
    static constexpr int kOverhang = 4;

    explicit TFlowLayout(QWidget* parent = nullptr);

    /// Placing is held back between BeginUpdate and EndUpdate (nestable).
    void BeginUpdate() { ++m_updating; }
    void EndUpdate();

    /// One begin/end update around a scope; the update is ended also when the scope fails.
    class Update
    {
    public:
        explicit Update(TFlowLayout* board) : m_board(board) { m_board->BeginUpdate(); }
        ~Update() { m_board->EndUpdate(); }
        Update(const Update&) = delete;
        Update& operator=(const Update&) = delete;

    private:
        TFlowLayout* m_board;
    };

    /// Appends `child` (reparented to the board) with outer margins.
    void addChild(QWidget* child, QMargins margins = {});
    void setChildMargins(QWidget* child, QMargins margins);
    QMargins childMargins(int index) const;
    /// Deletes every child.
    void clearChildren();

    int childCount() const { return int(m_items.size()); }
    QWidget* childAt(int index) const;
    int indexOf(const QWidget* child) const;

    /// Places the children for the board's current width.
    void relayout();
    /// Height that fits the content: bottom of the last child + its bottom margin + 16; 16 when
    /// the board is empty. The current height when the last child is not a visible item.
    int fittedHeight() const;

signals:
    void childRemoved();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Item
    {
        QWidget* widget;
        QMargins margins;
    };
    void doLayout(int width);
    void forget(QObject* object);

    std::vector<Item> m_items;
    int m_updating = 0;
};

} // namespace ozv
