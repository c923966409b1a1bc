// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "NowPlayingBand.h"

#include "BoardColours.h"
#include "MediaPlayer.h"
#include "PlayingTimes.h"
#include "SoundBoard.h"
#include "SoundButton.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace ozv {

using audio::TMediaPlayer;

namespace {
const QColor kBandFill(0x06, 0x2E, 0x52);
const QColor kPlayingFill = QColor::fromRgba(colours::kPlayingFill); // as a playing button
const QColor kFadingFill = QColor::fromRgba(colours::kFadingFill);   // as a fading button
const QColor kEndingFill(0xB3, 0x26, 0x1E);
} // namespace

TNowPlayingBand::TNowPlayingBand(TSoundBoard& sounds, QWidget* parent)
    : QWidget(parent), m_sounds(sounds)
{
    setObjectName(QStringLiteral("NowPlayingBand"));
    setFixedHeight(kHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&sounds, &TSoundBoard::playingChanged, this, &TNowPlayingBand::refresh);
}

void TNowPlayingBand::refresh()
{
    m_entries.clear();
    for (const TMediaPlayer* player : m_sounds.playing()) {
        if (player->State() != TMediaPlayer::TMediaState::Playing) continue;
        auto* button = qobject_cast<TSoundButton*>(player->parent());
        if (!button) continue;
        const qint64 durationMs = player->Duration() / 10000,
                     elapsedMs = player->CurrentTime() / 10000;
        Entry e;
        e.button = button;
        e.key = button->badge() ? button->badge()->indicator()->text() : QString();
        e.caption = button->text();
        e.elapsed = clockText(elapsedSeconds(elapsedMs));
        e.remaining = clockText(remainingSeconds(durationMs, elapsedMs));
        e.fading = button->fading();
        e.ending = isEnding(durationMs, elapsedMs);
        m_entries.push_back(std::move(e));
    }
    update();
}

QRect TNowPlayingBand::entryRect(int i) const
{
    // Narrower as more play, down to a width that still shows the times; beyond that the
    // band shows as many as fit.
    const int n = std::max(1, int(m_entries.size()));
    const int room = width() - kStageWidth - 8;
    const int w = std::clamp(room / n - 8, kMinEntryWidth, kEntryWidth);
    return QRect(8 + i * (w + 8), 4, w, kHeight - 8);
}

void TNowPlayingBand::setStage(const QImage& picture, const QString& display)
{
    // Sampled, not filtered: a 4K picture becomes a thumbnail in a fraction of a millisecond,
    // and this runs on the GUI thread as a cue is taken.
    m_stageThumb = picture.isNull() ? QImage()
                                    : picture.scaled(QSize(80, kHeight - 12), Qt::KeepAspectRatio,
                                                     Qt::FastTransformation);
    m_stageText = display;
    update();
}

void TNowPlayingBand::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), kBandFill);
    p.setRenderHint(QPainter::Antialiasing);
    const int stageLeft = width() - kStageWidth;
    QFont small = font();
    small.setPointSize(10);
    QFont bold = font();
    bold.setPointSize(12);
    bold.setBold(true);
    QFont large = bold;
    large.setPointSize(18);

    if (m_entries.empty()) {
        p.setPen(QColor(0xC8, 0xDC, 0xF0));
        p.setFont(bold);
        p.drawText(QRect(12, 0, stageLeft - 12, height()), Qt::AlignVCenter | Qt::AlignLeft,
                   QStringLiteral("Nic nehraje"));
    }
    // As many entries as fit whole; the rest are counted ("+2") at the end.
    int shown = 0;
    while (shown < int(m_entries.size()) && entryRect(shown).right() < stageLeft - 4 - 40)
        ++shown;
    if (shown + 1 == int(m_entries.size()) && entryRect(shown).right() < stageLeft - 4) ++shown;
    if (shown < int(m_entries.size())) {
        p.setPen(Qt::white);
        p.setFont(bold);
        p.drawText(QRect(stageLeft - 44, 0, 40, height()), Qt::AlignCenter,
                   QStringLiteral("+%1").arg(int(m_entries.size()) - shown));
    }
    for (int i = 0; i < shown; ++i) {
        const Entry& e = m_entries[std::size_t(i)];
        const QRect r = entryRect(i);
        p.setPen(Qt::NoPen);
        p.setBrush(e.fading ? kFadingFill : kPlayingFill);
        p.drawRoundedRect(r, 4, 4);
        const QRect inner = r.adjusted(8, 4, -8, -4);
        int left = inner.left();
        if (!e.key.isEmpty()) {
            p.setBrush(QColor(0xFF, 0x45, 0x00));
            p.drawEllipse(QRect(left, inner.top(), 24, 24));
            p.setPen(QColor::fromRgba(colours::kBadgeText));
            p.setFont(bold);
            p.drawText(QRect(left, inner.top(), 24, 24), Qt::AlignCenter, e.key);
            left += 30;
        }
        const QColor text =
            QColor::fromRgba(e.fading ? colours::kFadingText : colours::kPlayingText);
        p.setPen(text);
        p.setFont(bold);
        // "dozní" at the top right while it fades, where the times leave it room.
        const int fadingWidth =
            e.fading ? QFontMetrics(small).horizontalAdvance(QStringLiteral("dozní")) + 6 : 0;
        if (e.fading) {
            p.setFont(small);
            p.drawText(QRect(inner.right() - fadingWidth, inner.top(), fadingWidth, 24),
                       Qt::AlignVCenter | Qt::AlignRight, QStringLiteral("dozní"));
            p.setFont(bold);
        }
        const QRect captionRect(left, inner.top(), inner.right() - left - fadingWidth, 24);
        p.drawText(captionRect, Qt::AlignVCenter | Qt::AlignLeft,
                   QFontMetrics(bold).elidedText(e.caption, Qt::ElideMiddle, captionRect.width()));
        p.setFont(small);
        p.drawText(QRect(inner.left(), inner.bottom() - 20, inner.width() - 80, 20),
                   Qt::AlignBottom | Qt::AlignLeft, e.elapsed);
        p.setFont(large);
        const QRect remaining(inner.right() - 90, inner.bottom() - 28, 91, 28);
        if (e.ending) { // the last seconds: white figures on red, readable on either fill
            const int w =
                QFontMetrics(large).horizontalAdvance(QStringLiteral("-") + e.remaining) + 8;
            p.setPen(Qt::NoPen);
            p.setBrush(kEndingFill);
            p.drawRoundedRect(
                QRect(remaining.right() - w + 4, remaining.top(), w, remaining.height()), 3, 3);
            p.setPen(Qt::white);
        } else {
            p.setPen(text);
        }
        p.drawText(remaining, Qt::AlignBottom | Qt::AlignRight, QStringLiteral("-") + e.remaining);
    }

    // On stage: the picture or "ČERNÁ", with the display.
    const QRect thumb(stageLeft + 4, 6, 80, kHeight - 12);
    p.setPen(QColor(0x60, 0x90, 0xC0));
    p.setBrush(Qt::black);
    p.drawRect(thumb.adjusted(0, 0, -1, -1));
    if (m_stageThumb.isNull()) {
        p.setPen(Qt::white);
        p.setFont(bold);
        p.drawText(thumb, Qt::AlignCenter, QStringLiteral("ČERNÁ"));
    } else {
        const QRect at(QPoint(0, 0), m_stageThumb.size());
        p.drawImage(at.translated(thumb.center() - at.center()), m_stageThumb);
    }
    p.setPen(Qt::white);
    p.setFont(small);
    p.drawText(QRect(thumb.right() + 6, 0, width() - thumb.right() - 8, height()),
               Qt::AlignVCenter | Qt::AlignLeft | Qt::TextWordWrap,
               m_stageText.isEmpty() ? QStringLiteral("Bez monitoru") : m_stageText);
}

void TNowPlayingBand::mousePressEvent(QMouseEvent* e)
{
    for (int i = 0; i < int(m_entries.size()); ++i)
        if (entryRect(i).contains(e->position().toPoint()) && e->button() == Qt::LeftButton) {
            if (TSoundButton* button = m_entries[std::size_t(i)].button) button->click();
            refresh();
            return;
        }
    QWidget::mousePressEvent(e);
}

} // namespace ozv
