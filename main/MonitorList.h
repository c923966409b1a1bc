// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// The choice of the picture monitor: the main window's display (FDisplay) watched every 200 ms,
// the list of the other displays in cbMonitor, the operator's pick, and moving the picture
// window away when the main window reaches the picture monitor. GUI thread only.

#include "Displays.h"

#include <QComboBox>
#include <QTimer>
#include <functional>

namespace ozv {
class IniStore;
class TImageForm;

class TMonitorList : public QObject
{
    Q_OBJECT
public:
    TMonitorList(QComboBox* combo, IniStore& settings, const DisplaySource& displays,
                 std::function<QRect()> mainWindowBounds, std::function<TImageForm*()> imageForm,
                 std::function<void()> saveSettings, QObject* parent = nullptr);

    int GetFormDisplay() const;
    void UpdateMonitorList();
    void DisplayChangedTimer();
    void cbMonitorChange();
    /// The displays changed (one connected, one gone, one moved or resized): the main window's
    /// display, the list and the picture window follow.
    void DisplaysChanged();
    /// Puts the picture window on the picture monitor, or parks it while no display but the
    /// main window's is there: it never covers the main window.
    void placePictureWindow();

    /// Where a picture goes: the selected display, else the first listed one, else -1.
    int targetDisplay() const;
    /// The bounds of display `index`, or an empty rectangle when it is not connected.
    QRect displayBounds(int index) const;
    QPoint mainCentre() const;

    int FDisplay = -1;
    QTimer DisplayChanged;

private:
    int selectedDisplay() const;
    QComboBox* m_combo;
    IniStore& m_settings;
    const DisplaySource& m_displays;
    std::function<QRect()> m_mainBounds;
    std::function<TImageForm*()> m_imageForm;
    std::function<void()> m_saveSettings;
};

} // namespace ozv
