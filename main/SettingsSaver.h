// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// Delayed saving of the settings file: SaveSettings() asks for a write, the SettingSaver timer
// (1 s) writes on its sixth tick after the last request. The write itself runs on a thread of
// its own, from a snapshot of the store taken on the GUI thread, so a slow or hung disk never
// holds up the show. A failed write is reported (at most once a minute while it keeps failing)
// and tried again on the next tick; nothing is lost from memory. GUI thread only.

#include "DelayedSaver.h"
#include "WorkerPool.h"

#include <QElapsedTimer>
#include <QTimer>
#include <functional>

namespace ozv {
class IniStore;

class TSettingsSaver : public QObject
{
    Q_OBJECT
public:
    using Reporter = std::function<void(const QString& message)>;

    TSettingsSaver(IniStore& store, Reporter report, QObject* parent = nullptr);
    /// Waits for a write under way.
    ~TSettingsSaver() override;

    void SaveSettings();
    void SettingSaverTimer();
    /// Writes the store now, on this thread, after a write under way (at exit: the file is
    /// whole before the process ends). False with `error` set when it fails.
    bool writeNow(QString* error);
    /// Returns once no write runs (tests).
    void waitForWrite();

    QTimer* timer() { return &SettingSaver; }
    const DelayedSaver& state() const { return m_state; }

private:
    void writeFinished(bool ok, const QString& error);

    IniStore& m_store;
    Reporter m_report;
    DelayedSaver m_state;
    QTimer SettingSaver;
    QElapsedTimer m_clock;
    WorkerPool m_writer{1}; // last member: ends (and waits) first
};

} // namespace ozv
