// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "ReadyCounter.h"

namespace ozv {

TReadyCounter::TReadyCounter(std::function<std::pair<int, int>()> count, QWidget* parent)
    : QLabel(parent), m_count(std::move(count))
{
    setObjectName(QStringLiteral("ReadyCounter"));
    setStyleSheet(QStringLiteral("color: #FFD27A; font-weight: bold;"));
    m_tick.setInterval(250);
    connect(&m_tick, &QTimer::timeout, this, &TReadyCounter::refresh);
    hide();
}

void TReadyCounter::start()
{
    m_tick.start();
    refresh();
}

void TReadyCounter::refresh()
{
    const auto [ready, all] = m_count();
    if (ready >= all) {
        m_tick.stop();
        hide();
        return;
    }
    setText(QStringLiteral("Připraveno %1/%2").arg(ready).arg(all));
    show();
}

} // namespace ozv
