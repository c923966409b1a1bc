// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// "Připraveno N/M" while the cues of a new board get ready (each sound's head decoded, each
// picture's thumbnail made), so the operator knows when every cue is instant; gone once all
// are. GUI thread only.

#include <QLabel>
#include <QTimer>
#include <functional>
#include <utility>

namespace ozv {

class TReadyCounter : public QLabel
{
    Q_OBJECT
public:
    /// `count` gives (ready, all).
    TReadyCounter(std::function<std::pair<int, int>()> count, QWidget* parent = nullptr);
    /// A new board: counts until everything is ready.
    void start();
    /// Counts once more (the timer's tick; tests).
    void refresh();

private:
    std::function<std::pair<int, int>()> m_count;
    QTimer m_tick;
};

} // namespace ozv
