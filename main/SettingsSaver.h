#pragma once
// Delayed saving of the settings file: SaveSettings() asks for a write, the SettingSaver timer
// (1 s) writes on its sixth tick after the last request. A failed write is reported (at most
// once a minute while it keeps failing) and tried again on the next tick; nothing is lost from
// memory. GUI thread only.

#include "DelayedSaver.h"

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

    void SaveSettings();
    void SettingSaverTimer();
    QTimer* timer() { return &SettingSaver; }
    const DelayedSaver& state() const { return m_state; }

private:
    IniStore& m_store;
    Reporter m_report;
    DelayedSaver m_state;
    QTimer SettingSaver;
    QElapsedTimer m_clock;
};

} // namespace ozv
