// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "SoundButton.h"

#include "BoardColours.h"
#include "MediaPlayer.h"

#include <QApplication>
#include <QKeyEvent>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QWheelEvent>

namespace ozv {

TVolumeSlider::TVolumeSlider(QWidget* parent) : QSlider(Qt::Vertical, parent)
{
    setObjectName(QStringLiteral("TrackBar"));
    setRange(0, 100);
    setTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

void TVolumeSlider::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_PageUp || e->key() == Qt::Key_PageDown || e->key() == Qt::Key_Return ||
        e->key() == Qt::Key_Enter || !e->text().isEmpty()) {
        e->ignore();
        return;
    }
    QSlider::keyPressEvent(e);
}

void TVolumeSlider::wheelEvent(QWheelEvent* e)
{
    if (!hasFocus()) {
        e->ignore();
        return;
    }
    QSlider::wheelEvent(e);
}

TSoundButton::TSoundButton(audio::AudioEngine& engine, const QString& path, const QString& caption,
                           int volume, bool fade, QWidget* parent)
    : TBoardButton(parent)
{
    setText(caption);
    TagString = path;
    Tag = 0;
    setFixedSize(kWidth, kHeight);
    setCaptionLayout(QMargins(6, 16, 6, 8), Qt::AlignCenter | Qt::TextWordWrap);
    QFont captionFont = font(); // readable from the back of a dark booth
    captionFont.setPointSize(std::max(12, captionFont.pointSize()));
    captionFont.setBold(true);
    setFont(captionFont);

    m_checkBox = new QCheckBox(QStringLiteral("Fade"), this);
    m_checkBox->setObjectName(QStringLiteral("CheckBox"));
    m_checkBox->setFocusPolicy(Qt::NoFocus);
    m_checkBox->move(-2, -2);
    m_checkBox->setChecked(fade);
    m_checkBox->setFont(QApplication::font()); // not the caption's

    m_trackBar = new TVolumeSlider;
    m_sliderThickness = m_trackBar->sizeHint().width();
    m_trackBar->setFixedSize(m_sliderThickness, kHeight - 8);
    m_trackBar->setValue(std::clamp(volume, m_trackBar->minimum(), m_trackBar->maximum()));
    addSatellite(m_trackBar, QPoint(kWidth + 6, 4));

    m_player = new audio::TMediaPlayer(engine, this);
    try {
        m_player->setFileName(path);
    } catch (...) {
        delete m_trackBar;
        throw;
    }

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("ProgressBar"));
    m_progress->setRange(0, 100);
    m_progress->setTextVisible(false);
    m_progress->setGeometry(0, kHeight - 6, kWidth, 6);
    m_progress->hide();
    connect(this, &QPushButton::toggled, this, &TSoundButton::updateFace);
    updateFace();
}

bool TSoundButton::fading() const
{
    return !isChecked() && m_player->State() == audio::TMediaPlayer::TMediaState::Playing;
}

std::optional<TBoardButton::Face> TSoundButton::face() const
{
    using namespace colours;
    if (isChecked()) return Face{QColor::fromRgba(kPlayingFill), QColor::fromRgba(kPlayingText)};
    if (fading()) return Face{QColor::fromRgba(kFadingFill), QColor::fromRgba(kFadingText)};
    return Face{QColor::fromRgba(kIdleFill), QColor::fromRgba(kIdleText)};
}

void TSoundButton::updateFace()
{
    QPalette pal = m_checkBox->palette();
    pal.setColor(QPalette::WindowText, face()->text);
    m_checkBox->setPalette(pal);
    if (m_typed) m_typed->setPalette(pal);
    update();
}

void TSoundButton::setHotKey(QChar key, QChar typed)
{
    auto* badge = new TBadge(TBadge::Shape::Circle, QSize(28, 28), QString(key));
    badge->setObjectName(QStringLiteral("Ellipse"));
    setBadge(badge, QPoint(-4, -4));
    m_checkBox->move(30, -2);
    if (!typed.isNull() && typed.toUpper() != key) {
        m_typed = new QLabel(QString(typed), this);
        m_typed->setObjectName(QStringLiteral("TypedKey"));
        QFont f = QApplication::font();
        f.setPointSize(13);
        f.setBold(true);
        m_typed->setFont(f);
        m_typed->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_typed->setAlignment(Qt::AlignRight | Qt::AlignTop);
        m_typed->setGeometry(kWidth - 30, 0, 26, 22); // the top-right corner, clear of the caption
        updateFace();
    }
}

} // namespace ozv
