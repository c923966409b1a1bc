#include "SettingsSaver.h"

#include "IniStore.h"

namespace ozv {

TSettingsSaver::TSettingsSaver(IniStore& store, Reporter report, QObject* parent)
    : QObject(parent), m_store(store), m_report(std::move(report))
{
    SettingSaver.setObjectName(QStringLiteral("SettingSaver"));
    SettingSaver.setInterval(1000);
    connect(&SettingSaver, &QTimer::timeout, this, &TSettingsSaver::SettingSaverTimer);
    m_clock.start();
}

void TSettingsSaver::SaveSettings()
{
    if (m_state.request()) SettingSaver.start();
}

void TSettingsSaver::SettingSaverTimer()
{
    if (m_state.tick() != DelayedSaver::Tick::Write) return;
    QString error;
    const bool ok = m_store.UpdateFile(&error);
    if (m_state.writeFinished(ok))
        SettingSaver.stop();
    else if (m_report && m_state.shouldReport(m_clock.elapsed()))
        m_report(error);
}

} // namespace ozv
