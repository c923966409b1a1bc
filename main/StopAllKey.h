// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// The Space bar stops every sound, whatever on the main window has the focus: it never
// presses a focused button or ticks a "Fade" box there. Dialogs and menus keep their Space.
// GUI thread only.

#include <QObject>
#include <QWidget>
#include <functional>

namespace ozv {

class TStopAllKey : public QObject
{
    Q_OBJECT
public:
    /// Watches the keys of `window` (its parent); `stopAll` is called once per press.
    TStopAllKey(QWidget* window, std::function<void()> stopAll)
        : QObject(window), m_stopAll(std::move(stopAll))
    {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    std::function<void()> m_stopAll;
};

} // namespace ozv
