// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// The countdown behind delayed saving: every change asks for a write, and the file is written
// on the sixth tick (1 s apart) after the last request. A failing write keeps the countdown
// at 0, so the next tick tries again; failures are reported at most once a minute.
// GUI thread only.

#include <QtGlobal>

namespace ozv {

class DelayedSaver
{
public:
    static constexpr int kTicksBeforeWrite = 5;
    static constexpr qint64 kReportIntervalMs = 60'000;

    enum class Tick { Idle, Counting, Write };

    /// A change happened: restart the countdown. Returns true when the ticking timer must be
    /// switched on (it was off); a running timer keeps its rhythm.
    bool request();
    /// One tick of the timer. On Write the caller writes what the store holds now and calls
    /// writeFinished() when the write is over (it may take longer than a tick: no other write
    /// starts meanwhile).
    Tick tick();
    /// The result of a write. Returns true when the timer must be switched off: it succeeded
    /// and nothing changed since it began.
    bool writeFinished(bool ok);
    /// Whether a failed write at `nowMs` should be shown to the operator.
    bool shouldReport(qint64 nowMs);

    bool running() const { return m_running; }
    bool writing() const { return m_writing; }
    int countdown() const { return m_countdown; }
    bool failing() const { return m_failing; }

private:
    bool m_running = false;
    int m_countdown = 0;
    bool m_failing = false;
    bool m_writing = false;
    bool m_changedDuringWrite = false;
    qint64 m_lastReportMs = 0;
    bool m_reported = false;
};

} // namespace ozv
