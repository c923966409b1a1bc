// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// The one key handler of the show: sound hot-keys, Escape, stepping through a group's pictures,
// and F1..F12. It receives keys from the main window and from focused board buttons.
// GUI thread only.

#include "KeyMapping.h"

#include <QObject>
#include <functional>

namespace ozv {
class TSoundBoard;
class TPictureBoard;

class TKeyboardControl
{
public:
    TKeyboardControl(TSoundBoard& sounds, TPictureBoard& pictures,
                     std::function<void(const QString&)> reportError);

    /// Acts on a key; clears in `args` what it used (KeyChar for a hot-key, Key otherwise).
    void FormKeyDown(QObject* sender, KeyArgs& args);

private:
    void showPicture(class TPictureButton* button, bool pressed);
    TSoundBoard& m_sounds;
    TPictureBoard& m_pictures;
    std::function<void(const QString&)> m_reportError;
};

} // namespace ozv
