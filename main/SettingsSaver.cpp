// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "SettingsSaver.h"

#include "IniStore.h"

#include <QCoreApplication>

namespace ozv {

TSettingsSaver::TSettingsSaver(IniStore& store, Reporter report, QObject* parent)
    : QObject(parent), m_store(store), m_report(std::move(report))
{
    SettingSaver.setObjectName(QStringLiteral("SettingSaver"));
    SettingSaver.setInterval(1000);
    connect(&SettingSaver, &QTimer::timeout, this, &TSettingsSaver::SettingSaverTimer);
    m_clock.start();
}

TSettingsSaver::~TSettingsSaver()
{
    m_writer.waitForDone();
}

void TSettingsSaver::SaveSettings()
{
    if (m_state.request()) SettingSaver.start();
}

void TSettingsSaver::SettingSaverTimer()
{
    if (m_state.tick() != DelayedSaver::Tick::Write) return;
    m_writer.submit([this, path = m_store.fileName(), bytes = m_store.serialize()] {
        QString error;
        const bool ok = IniStore::writeSnapshot(path, bytes, &error);
        // The result goes back to the GUI thread; the saver outlives its writer thread.
        QMetaObject::invokeMethod(
            this, [this, ok, error] { writeFinished(ok, error); }, Qt::QueuedConnection);
    });
}

void TSettingsSaver::writeFinished(bool ok, const QString& error)
{
    if (m_state.writeFinished(ok))
        SettingSaver.stop();
    else if (!ok && m_report && m_state.shouldReport(m_clock.elapsed()))
        m_report(error);
}

bool TSettingsSaver::writeNow(QString* error)
{
    m_writer.waitForDone();
    return m_store.UpdateFile(error);
}

void TSettingsSaver::waitForWrite()
{
    m_writer.waitForDone();
    QCoreApplication::sendPostedEvents(this);
}

} // namespace ozv
