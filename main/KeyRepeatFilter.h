// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// Held keys count once. The X server repeats a held key as release-press pairs with one time
// stamp; Qt recognises them only when the press is already waiting behind the release, which
// on a busy machine it often is not, and then a held hot-key toggles its sound over and over.
// This filter sees every key event of the application and swallows a press that repeats a
// held key (Qt's own mark, or the same time stamp as the release before it) on the main window,
// except for a slider, where a held arrow moves on as usual. GUI thread only.

#include <QHash>
#include <QObject>
#include <QWidget>

namespace ozv {

class TKeyRepeatFilter : public QObject
{
    Q_OBJECT
public:
    /// Filters the keys of `window` (its parent).
    explicit TKeyRepeatFilter(QWidget* window) : QObject(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    bool showsKeys(QObject* watched) const;
    QHash<int, quint64> m_releasedAt; // key -> time stamp of its last release
};

} // namespace ozv
