// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "OutputSelector.h"

#include "AudioEngine.h"
#include "IniStore.h"
#include "SettingsKeys.h"

#include <QHBoxLayout>
#include <QSignalBlocker>

namespace ozv {

TOutputSelector::TOutputSelector(audio::AudioEngine& engine, IniStore& settings,
                                 std::function<void()> saveSettings,
                                 std::function<void(const QString&)> reportError, QWidget* parent)
    : QWidget(parent), m_engine(engine), m_settings(settings),
      m_saveSettings(std::move(saveSettings)), m_reportError(std::move(reportError))
{
    setObjectName(QStringLiteral("OutputSelector"));
    setFixedHeight(kHeight);
    devices = [this] {
        QStringList names;
        for (const std::string& n : m_engine.outputDevices())
            names << QString::fromStdString(n);
        return names;
    };
    deviceOpen = [this] { return m_engine.deviceOpen(); };

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(8, 4, 8, 4);
    row->setSpacing(8);
    m_light = new QLabel(this);
    m_light->setObjectName(QStringLiteral("OutputLight"));
    m_light->setMinimumWidth(120);
    row->addWidget(m_light, 1);
    auto* caption = new QLabel(QStringLiteral("Výstup:"), this);
    row->addWidget(caption);
    m_combo = new QComboBox(this);
    m_combo->setObjectName(QStringLiteral("AudioDevice"));
    m_combo->setFocusPolicy(Qt::NoFocus);
    m_combo->setMinimumWidth(160);
    row->addWidget(m_combo, 1);
    connect(m_combo, &QComboBox::activated, this, &TOutputSelector::chosen);

    // The banner lies over the board's top edge, where the operator looks when a cue is
    // not heard; it goes by itself and takes no click or key.
    m_banner = new QLabel(parent);
    m_banner->setObjectName(QStringLiteral("NoSoundBanner"));
    m_banner->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_banner->setAlignment(Qt::AlignCenter);
    m_banner->setStyleSheet(QStringLiteral(
        "background: #B3261E; color: white; font-weight: bold; font-size: 12pt; padding: 6px;"));
    m_banner->hide();
    m_bannerTimer.setSingleShot(true);
    m_bannerTimer.setInterval(4000);
    connect(&m_bannerTimer, &QTimer::timeout, m_banner, &QWidget::hide);

    m_stored = m_settings.ReadString(keys::Application, keys::AudioDevice, QString());
    m_engine.setOutputDevice(m_stored.toStdString());
    m_poll.setInterval(1000);
    connect(&m_poll, &QTimer::timeout, this, &TOutputSelector::refresh);
    m_poll.start();
    refresh();
}

void TOutputSelector::addAtStart(QWidget* widget)
{
    static_cast<QHBoxLayout*>(layout())->insertWidget(0, widget);
}

void TOutputSelector::refresh()
{
    const QStringList names = devices();
    // The list: the default, every device reported, and the chosen one while it is away (so
    // the choice stays visible and is taken up again when the device is back).
    QStringList items{kDefault};
    items << names;
    const QString current = m_stored;
    if (!current.isEmpty() && !names.contains(current) && (m_checkedStored || names.isEmpty()))
        items << current;
    QStringList shown;
    for (int i = 0; i < m_combo->count(); ++i)
        shown << m_combo->itemText(i);
    if (shown != items) {
        const QSignalBlocker quiet(m_combo);
        m_combo->clear();
        m_combo->addItems(items);
    }
    m_combo->setCurrentIndex(current.isEmpty() ? 0 : std::max(0, int(items.indexOf(current))));
    if (!names.isEmpty() && !m_checkedStored) applyStored();

    const bool open = deviceOpen();
    const QString name = current.isEmpty() ? kDefault : current;
    m_light->setText(open ? QStringLiteral("● %1").arg(name) : QStringLiteral("● Bez zvuku"));
    // Restyled only when the state turns: this runs every second.
    if (m_light->property("open") != QVariant(open)) {
        m_light->setStyleSheet(open ? QStringLiteral("color: #3DDC5A; font-weight: bold;")
                                    : QStringLiteral("color: #FF6B5E; font-weight: bold;"));
        m_light->setProperty("open", open);
    }
    if (open) m_banner->hide();
}

void TOutputSelector::applyStored()
{
    // The first list of devices: a stored device that is not there falls back to the default,
    // and the operator is told (the stored name stays until another choice is made).
    m_checkedStored = true;
    if (m_stored.isEmpty() || devices().contains(m_stored)) return;
    const QString missing = m_stored;
    m_stored.clear();
    m_engine.setOutputDevice(std::string());
    refresh();
    m_reportError(QStringLiteral("Zvukové zařízení \"%1\" není k dispozici, hraje se na výchozím.")
                      .arg(missing));
}

void TOutputSelector::chosen(int index)
{
    const QString name = index <= 0 ? QString() : m_combo->itemText(index);
    m_checkedStored = true;
    if (name == m_stored) return;
    m_stored = name;
    if (name.isEmpty())
        m_settings.DeleteKey(keys::Application, keys::AudioDevice);
    else
        m_settings.WriteString(keys::Application, keys::AudioDevice, name);
    m_saveSettings();
    m_engine.setOutputDevice(name.toStdString());
    refresh();
}

void TOutputSelector::soundStarted()
{
    if (deviceOpen()) return;
    m_banner->setText(QStringLiteral("Bez zvuku: žádné výstupní zařízení nelze otevřít"));
    if (QWidget* over = m_banner->parentWidget()) {
        m_banner->setGeometry(8, 8, over->width() - 16, 36);
        m_banner->raise();
    }
    m_banner->show();
    m_bannerTimer.start();
}

} // namespace ozv
