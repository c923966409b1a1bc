// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// The band above the sound board that never scrolls with it: every playing and fading sound
// with its key, caption, elapsed and remaining time ("dozní" while it fades, the remaining
// time red in its last seconds); a click on an entry does what a click on its button does.
// Beside it, what the picture monitor shows now. GUI thread only.

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <vector>

namespace ozv {
class TSoundBoard;
class TSoundButton;

class TNowPlayingBand : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kHeight = 64;
    static constexpr int kEntryWidth = 224, kMinEntryWidth = 168;
    static constexpr int kStageWidth = 200;

    TNowPlayingBand(TSoundBoard& sounds, QWidget* parent = nullptr);

    struct Entry
    {
        QPointer<TSoundButton> button;
        QString key; // the hot-key as the keyboard types it, or empty
        QString caption;
        QString elapsed, remaining; // "mm:ss"
        bool fading = false;
        bool ending = false; // in its last seconds
    };
    const std::vector<Entry>& entries() const { return m_entries; }
    /// Where entry `i` is drawn (for clicks, and tests).
    QRect entryRect(int i) const;

    /// What the picture monitor shows: `picture` (null: black), on `display` (its name and
    /// size; empty: no picture monitor).
    void setStage(const QImage& picture, const QString& display);
    QString stageText() const { return m_stageText; }
    bool stageBlack() const { return m_stageThumb.isNull(); }

    /// Reads the playing list again (the board's every change and tick).
    void refresh();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    TSoundBoard& m_sounds;
    std::vector<Entry> m_entries;
    QImage m_stageThumb;
    QString m_stageText;
};

} // namespace ozv
