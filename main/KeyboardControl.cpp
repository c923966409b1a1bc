// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "KeyboardControl.h"

#include "HotKeys.h"
#include "PictureBoard.h"
#include "SoundBoard.h"

namespace ozv {

TKeyboardControl::TKeyboardControl(TSoundBoard& sounds, TPictureBoard& pictures,
                                   std::function<void(const QString&)> reportError)
    : m_sounds(sounds), m_pictures(pictures), m_reportError(std::move(reportError))
{}

void TKeyboardControl::showPicture(TPictureButton* button, bool pressed)
{
    try {
        m_pictures.ShowPicture(button, pressed);
    } catch (const std::exception& e) {
        m_reportError(QString::fromStdString(e.what()));
    }
}

void TKeyboardControl::FormKeyDown(QObject*, KeyArgs& args)
{
    if (args.consumed()) return;

    // Sound hot-keys.
    if (!args.keyChar.isNull()) {
        const int index = hotKeyIndex(args.keyChar);
        TSoundButton* button = index >= 0 ? m_sounds.shortCut(index) : nullptr;
        if (button && m_sounds.board()->indexOf(button) >= 0) {
            args.keyChar = QChar();
            button->setChecked(!button->isChecked());
            button->runClickHandler();
        }
    }

    // Escape blanks the picture monitor, whatever is shown.
    if (args.key == vk::Escape) {
        args.key = 0;
        showPicture(nullptr, false);
        return;
    }

    TFlowLayout* flow = m_pictures.board();
    int& active = m_pictures.FActiveImage;
    const int key = args.key;

    // Stepping through the shown picture's group.
    if (active >= 0 && (key == vk::Return || key == vk::Prior || key == vk::Next ||
                        key == vk::Left || key == vk::Right)) {
        const bool forward =
            (key == vk::Return && !args.shift) || key == vk::Next || key == vk::Right;
        args.key = 0;
        active += forward ? 1 : -1;
        auto* button = active >= 0 && active < flow->childCount()
                           ? qobject_cast<TPictureButton*>(flow->childAt(active))
                           : nullptr;
        showPicture(button, button != nullptr);
        return;
    }

    // F1..F12: the picture that carries the key's badge, the first of group 1..12 (or blank
    // when it is shown, or missing because it could not be decoded).
    if (key >= vk::F1 && key <= vk::F12) {
        const int tag = TPictureButton::kFirstFKeyTag + (key - vk::F1);
        args.key = 0;
        active = 0;
        for (; active < flow->childCount(); ++active) {
            auto* b = qobject_cast<TBoardButton*>(flow->childAt(active));
            if (b && b->Tag == tag) break;
        }
        if (active >= flow->childCount()) active = -1;
        if (active < 0) {
            showPicture(nullptr, false);
        } else {
            auto* button = qobject_cast<TPictureButton*>(flow->childAt(active));
            showPicture(button, !button->isChecked());
        }
    }
}

} // namespace ozv
