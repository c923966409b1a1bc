// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "BoardButton.h"

#include "BoardColours.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextLayout>

namespace ozv {

TBadge::TBadge(Shape shape, QSize size, const QString& text, QWidget* parent)
    : QWidget(parent), m_shape(shape)
{
    setFixedSize(size);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    m_indicator = new QLabel(text, this);
    m_indicator->setObjectName(QStringLiteral("Indicator"));
    m_indicator->setAlignment(Qt::AlignCenter);
    m_indicator->setGeometry(0, 0, size.width(), size.height() - 3); // bottom padding 3
    // Black on the orange-red fill: 6:1, where white would be 3.4:1.
    QPalette pal = m_indicator->palette();
    pal.setColor(QPalette::WindowText, QColor::fromRgba(colours::kBadgeText));
    m_indicator->setPalette(pal);
    QFont f = m_indicator->font();
    f.setBold(true);
    f.setPointSize(shape == Shape::Circle ? 13 : 11);
    m_indicator->setFont(f);
}

void TBadge::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0xFF, 0xFF, 0xFF), 1));
    p.setBrush(QColor(0xFF, 0x45, 0x00));
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (m_shape == Shape::Circle) {
        p.drawEllipse(r);
    } else {
        const double radius = std::min(r.width(), r.height()) / 2;
        p.drawRoundedRect(r, radius, radius);
    }
}

TBoardButton::TBoardButton(QWidget* parent) : QPushButton(parent)
{
    setCheckable(true); // stays pressed
    setAutoDefault(false);
    setFocusPolicy(Qt::StrongFocus);
}

TBoardButton::~TBoardButton()
{
    for (Satellite& s : m_satellites)
        delete s.widget.data();
}

void TBoardButton::setCaptionLayout(QMargins margins, int flags)
{
    m_captionMargins = margins;
    m_captionFlags = flags;
}

void TBoardButton::paintEvent(QPaintEvent*)
{
    QStylePainter p(this);
    const std::optional<Face> own = face();
    if (own) {
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(own->fill);
        p.drawRoundedRect(QRectF(rect()), 3, 3);
        if (hasFocus()) {
            p.setPen(QPen(own->text, 1, Qt::DotLine));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(QRectF(rect()).adjusted(4.5, 4.5, -4.5, -4.5), 2, 2);
        }
        p.restore();
    } else {
        QStyleOptionButton option;
        initStyleOption(&option);
        option.text.clear();
        p.drawControl(QStyle::CE_PushButton, option);
    }
    if (isChecked()) {
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(palette().color(QPalette::Highlight), 3));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5), 3, 3);
        p.restore();
    }
    const QRect area = rect().marginsRemoved(m_captionMargins);
    p.setPen(own ? own->text
                 : palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                   QPalette::ButtonText));
    p.drawText(area, m_captionFlags & ~(Qt::TextWordWrap | Qt::TextSingleLine),
               captionLines().join(u'\n'));
}

namespace {

// `text` broken into lines of at most `width` pixels: between words where it can, inside a
// word where it must.
QStringList wrapped(const QString& text, const QFont& font, int width)
{
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines;
}

} // namespace

QStringList TBoardButton::captionLines() const
{
    const QRect area = rect().marginsRemoved(m_captionMargins);
    const QFontMetrics metrics = fontMetrics();
    const int width = std::max(1, area.width());
    const int fit = (m_captionFlags & Qt::TextSingleLine)
                        ? 1
                        : std::max(1, (area.height() + metrics.leading()) / metrics.lineSpacing());
    QStringList lines = wrapped(text(), font(), width);
    // Too long: give way in the middle, a little more each round, until what is left fits.
    for (int budget = width * fit; lines.size() > fit && budget > 0; budget -= width / 4 + 1)
        lines = wrapped(metrics.elidedText(text(), Qt::ElideMiddle, budget), font(), width);
    return lines;
}

void TBoardButton::addSatellite(QWidget* widget, QPoint offset)
{
    m_satellites.push_back(Satellite{widget, offset});
    if (parentWidget() && widget->parentWidget() != parentWidget())
        widget->setParent(parentWidget());
    placeSatellites();
}

void TBoardButton::setSatelliteOffset(QWidget* widget, QPoint offset)
{
    for (Satellite& s : m_satellites)
        if (s.widget == widget) s.offset = offset;
    placeSatellites();
}

void TBoardButton::setBadge(TBadge* badge, QPoint offset)
{
    m_badge = badge;
    addSatellite(badge, offset);
}

void TBoardButton::placeSatellites()
{
    for (Satellite& s : m_satellites) {
        if (!s.widget) continue;
        if (s.widget->parentWidget() != parentWidget()) {
            s.widget->setParent(parentWidget());
        }
        s.widget->move(pos() + s.offset);
        s.widget->setVisible(!isHidden());
        s.widget->raise();
    }
}

bool TBoardButton::event(QEvent* e)
{
    switch (e->type()) {
    case QEvent::ParentChange:
    case QEvent::Show:
    case QEvent::Hide:
        placeSatellites();
        break;
    default:
        break;
    }
    return QPushButton::event(e);
}

void TBoardButton::moveEvent(QMoveEvent* e)
{
    QPushButton::moveEvent(e);
    placeSatellites();
}

void TBoardButton::keyPressEvent(QKeyEvent* e)
{
    // Every key goes to the show's key handler, never to the button itself: Enter or Space on
    // a button that has the focus after a click must not restart its sound. (Repeats of a held
    // key never get here: TKeyRepeatFilter.)
    e->accept();
    KeyArgs args = keyArgsFrom(*e);
    if (args.consumed() || !m_keyDown) return;
    QPointer<TBoardButton> self(this);
    m_keyDown(this, args);
    if (self && !args.consumed()) m_keyDown(window(), args);
}

void TBoardButton::keyReleaseEvent(QKeyEvent* e)
{
    e->accept();
}

} // namespace ozv
