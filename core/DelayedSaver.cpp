// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "DelayedSaver.h"

namespace ozv {

bool DelayedSaver::request()
{
    m_countdown = kTicksBeforeWrite;
    if (m_writing) m_changedDuringWrite = true;
    const bool switchOn = !m_running;
    m_running = true;
    return switchOn;
}

DelayedSaver::Tick DelayedSaver::tick()
{
    if (!m_running) return Tick::Idle;
    if (m_countdown > 0) {
        --m_countdown;
        return Tick::Counting;
    }
    if (m_writing) return Tick::Counting; // the write under way ends first
    m_writing = true;
    m_changedDuringWrite = false;
    return Tick::Write;
}

bool DelayedSaver::writeFinished(bool ok)
{
    m_writing = false;
    if (ok && m_changedDuringWrite) {
        // What was written is already old: the countdown of the newer change goes on.
        m_failing = false;
        m_reported = false;
        return false;
    }
    if (ok) {
        m_running = false;
        m_failing = false;
        m_reported = false;
        return true;
    }
    m_failing = true;
    return false;
}

bool DelayedSaver::shouldReport(qint64 nowMs)
{
    if (m_reported && nowMs - m_lastReportMs < kReportIntervalMs) return false;
    m_reported = true;
    m_lastReportMs = nowMs;
    return true;
}

} // namespace ozv
