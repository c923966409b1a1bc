// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "MonitorList.h"

#include "ImageForm.h"
#include "IniStore.h"
#include "SettingsKeys.h"

namespace ozv {

TMonitorList::TMonitorList(QComboBox* combo, IniStore& settings, const DisplaySource& displays,
                           std::function<QRect()> mainWindowBounds,
                           std::function<TImageForm*()> imageForm,
                           std::function<void()> saveSettings, QObject* parent)
    : QObject(parent), m_combo(combo), m_settings(settings), m_displays(displays),
      m_mainBounds(std::move(mainWindowBounds)), m_imageForm(std::move(imageForm)),
      m_saveSettings(std::move(saveSettings))
{
    DisplayChanged.setObjectName(QStringLiteral("DisplayChanged"));
    DisplayChanged.setInterval(200);
    connect(&DisplayChanged, &QTimer::timeout, this, &TMonitorList::DisplayChangedTimer);
    connect(m_combo, &QComboBox::currentIndexChanged, this, &TMonitorList::cbMonitorChange);
    // The list shows the first display when none is chosen: picking that one is a choice too.
    connect(m_combo, &QComboBox::activated, this, &TMonitorList::cbMonitorChange);
    FDisplay = GetFormDisplay();
}

QPoint TMonitorList::mainCentre() const
{
    return mainWindowCentre(m_mainBounds());
}

int TMonitorList::GetFormDisplay() const
{
    return displayContaining(m_displays.displays(), mainCentre());
}

QRect TMonitorList::displayBounds(int index) const
{
    const auto displays = m_displays.displays();
    return index >= 0 && index < int(displays.size()) ? displays[std::size_t(index)].bounds
                                                      : QRect();
}

int TMonitorList::selectedDisplay() const
{
    const int i = m_combo->currentIndex();
    return i < 0 ? -1 : m_combo->itemData(i).toInt();
}

int TMonitorList::targetDisplay() const
{
    if (m_combo->currentIndex() >= 0) return selectedDisplay();
    return m_combo->count() > 0 ? m_combo->itemData(0).toInt() : -1;
}

void TMonitorList::placePictureWindow()
{
    TImageForm* form = m_imageForm();
    if (!form) return;
    const QRect bounds = displayBounds(targetDisplay());
    const bool free = !bounds.isNull() && !bounds.contains(mainCentre());
    if (free) form->setBoundsRect(bounds);
    form->setParked(!free);
}

void TMonitorList::DisplaysChanged()
{
    FDisplay = GetFormDisplay();
    UpdateMonitorList();
    placePictureWindow();
}

void TMonitorList::UpdateMonitorList()
{
    const int before = m_combo->currentIndex();
    const QPoint centre = mainCentre();
    const int stored = m_settings.ReadInteger(keys::Images, keys::Monitor, keys::MonitorDefault);
    int select = -1;
    {
        const QSignalBlocker block(m_combo);
        m_combo->clear();
        for (int index : monitorChoices(m_displays.displays(), centre)) {
            m_combo->addItem(QStringLiteral("Monitor %1").arg(index), index);
            if (index == stored) select = m_combo->count() - 1;
        }
        // With none chosen (or the chosen one gone) the pictures go to the first listed
        // display, and the list shows it rather than nothing; nothing is stored for that.
        m_combo->setCurrentIndex(select >= 0 || m_combo->count() == 0 ? select : 0);
    }
    // The combo box reports a change of the selected position also when code makes it.
    if (m_combo->currentIndex() != before) {
        if (select >= 0)
            cbMonitorChange();
        else
            placePictureWindow();
    }
}

void TMonitorList::DisplayChangedTimer()
{
    const int display = GetFormDisplay();
    if (display == FDisplay) return;
    FDisplay = display;
    TImageForm* form = m_imageForm();
    if (!form) return;
    const int pictureMonitor = targetDisplay();
    UpdateMonitorList();
    if (pictureMonitor != FDisplay || m_combo->count() == 0) return;
    {
        const QSignalBlocker block(m_combo);
        m_combo->setCurrentIndex(0);
    }
    const int first = m_combo->itemData(0).toInt();
    const QRect bounds = displayBounds(first);
    if (bounds.isNull()) return;
    m_settings.WriteInteger(keys::Images, keys::Monitor, first);
    m_saveSettings();
    form->setBoundsRect(bounds);
}

void TMonitorList::cbMonitorChange()
{
    TImageForm* form = m_imageForm();
    if (!form || m_combo->currentIndex() < 0) return;
    const int display = selectedDisplay();
    const QRect bounds = displayBounds(display);
    if (bounds.isNull()) return;
    m_settings.WriteInteger(keys::Images, keys::Monitor, display);
    m_saveSettings();
    form->setBoundsRect(bounds);
}

} // namespace ozv
