// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
// Running the show from the keyboard: real key events sent to the window and to focused buttons.

#include "ImageForm.h"
#include "MediaPlayer.h"
#include "PictureBoard.h"
#include "SoundBoard.h"
#include "WidgetFixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTest>

using namespace ozv;
using namespace ozv::test;

namespace {

QString S(const char* t)
{
    return QString::fromUtf8(t);
}

/// Lets a chosen picture arrive on the picture monitor (it is decoded in the background).
void waitForPictures()
{
    QElapsedTimer t;
    t.start();
    auto pending = [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* f = qobject_cast<TImageForm*>(w); f && f->pending()) return true;
        return false;
    };
    while (pending() && t.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
}

/// Sends one key-down as the platform would deliver it to `target`, and lets what it chose
/// arrive.
void press(QWidget* target, int key, const QString& text = QString(),
           Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QKeyEvent down(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(target, &down);
    QKeyEvent up(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(target, &up);
    waitForPictures();
}

} // namespace

class Keyboard : public WidgetTest
{
protected:
    void soundFiles(int count)
    {
        for (int i = 0; i < count; ++i)
            show.tone(QStringLiteral("%1 s.wav").arg(i, 2, 10, QLatin1Char('0')), 2);
    }
    /// Picture groups of `sizes` pictures each.
    void pictureGroups(std::initializer_list<int> sizes)
    {
        int g = 0;
        for (int n : sizes) {
            ++g;
            for (int i = 1; i <= n; ++i)
                show.picture(QStringLiteral("%1 G/%2.png").arg(g).arg(i));
        }
    }
    QList<int> pressedSounds()
    {
        QList<int> out;
        const auto buttons = form->sounds().buttons();
        for (int i = 0; i < buttons.size(); ++i)
            if (buttons[i]->isChecked()) out << i;
        return out;
    }
    TPictureButton* picture(int group, int index)
    {
        int g = -1, k = 0;
        TFlowLayout* flow = form->ImagesFlowLayout;
        for (int i = 0; i < flow->childCount(); ++i) {
            if (qobject_cast<QLabel*>(flow->childAt(i))) {
                ++g;
                k = 0;
            } else if (auto* b = qobject_cast<TPictureButton*>(flow->childAt(i))) {
                if (g == group && k == index) return b;
                ++k;
            }
        }
        return nullptr;
    }
    int shown() { return form->pictures().FActiveImage; }
    int indexOf(QWidget* w) { return form->ImagesFlowLayout->indexOf(w); }
};

TEST_F(Keyboard, HotKeysInBothAlphabets)
{
    soundFiles(36);
    open();
    struct Case
    {
        int key;
        const char* text;
        Qt::KeyboardModifiers mods;
        int expected; // the button toggled, -1 none
    } cases[] = {
        {Qt::Key_Q, "q", Qt::NoModifier, 0},
        {Qt::Key_Q, "Q", Qt::ShiftModifier, 0}, // Shift or Caps Lock
        {Qt::Key_Y, "y", Qt::NoModifier, 19},   // the typed character counts, not the key
        {Qt::Key_1, "1", Qt::ShiftModifier, 26},
        {Qt::Key_1, "+", Qt::NoModifier, 26}, // Czech number row
        {Qt::Key_2, "\u011B", Qt::NoModifier, 27},
        {Qt::Key_2, "\u011A", Qt::ShiftModifier, 27}, // capital Ě
        {Qt::Key_0, "0", Qt::ShiftModifier, 35},
        {Qt::Key_0, "\u00E9", Qt::NoModifier, 35},
        {Qt::Key_Q, "\x11", Qt::ControlModifier, -1},
        {Qt::Key_Q, "q", Qt::AltModifier, -1},
        {Qt::Key_Semicolon, "\u016F", Qt::NoModifier, -1},   // ů
        {Qt::Key_BracketLeft, "\u00FA", Qt::NoModifier, -1}, // ú
        {Qt::Key_Space, " ", Qt::NoModifier, -1},
        {Qt::Key_F13, "", Qt::NoModifier, -1},
    };
    for (const Case& c : cases) {
        press(form.get(), c.key, S(c.text), c.mods);
        const QList<int> expected = c.expected < 0 ? QList<int>{} : QList<int>{c.expected};
        EXPECT_EQ(pressedSounds(), expected) << c.text;
        if (c.expected >= 0) {
            EXPECT_EQ(form->sounds().buttons()[c.expected]->MediaPlayer()->State(),
                      audio::TMediaPlayer::TMediaState::Playing);
            press(form.get(), c.key, S(c.text), c.mods); // the same key again releases it
            EXPECT_TRUE(pressedSounds().isEmpty()) << c.text;
        }
    }
}

TEST_F(Keyboard, KeysBeyondTheBoardAndAutoRepeat)
{
    soundFiles(20);
    open();
    press(form.get(), Qt::Key_X, S("x")); // index 20: no such button
    EXPECT_TRUE(pressedSounds().isEmpty());
    // A held key counts once, on the window and on a focused button alike: its repeats
    // neither stop the sound again nor start it anew.
    TSoundButton* focused = form->sounds().buttons()[5];
    focused->setFocus();
    for (QWidget* target : {static_cast<QWidget*>(form.get()), static_cast<QWidget*>(focused)}) {
        for (int i = 0; i < 4; ++i) {
            QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier, S("q"), i > 0);
            QApplication::sendEvent(target, &repeat);
        }
    }
    EXPECT_TRUE(pressedSounds().isEmpty()); // pressed once on each: started, then stopped
    QKeyEvent held(QEvent::KeyPress, Qt::Key_W, Qt::NoModifier, S("w"));
    QApplication::sendEvent(form.get(), &held);
    for (int i = 0; i < 20; ++i) {
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_W, Qt::NoModifier, S("w"), true);
        QApplication::sendEvent(form.get(), &repeat);
    }
    EXPECT_EQ(pressedSounds(), QList<int>{1});
}

TEST_F(Keyboard, AHeldFKeyShowsItsPictureOnce)
{
    pictureGroups({2});
    open();
    loadThumbnails();
    QKeyEvent down(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &down);
    for (int i = 0; i < 5; ++i) {
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(form.get(), &repeat);
        EXPECT_EQ(shown(), indexOf(picture(0, 0))) << i;
    }
}

TEST_F(Keyboard, AFocusedSoundButtonIsToggledOnceByItsHotKey)
{
    soundFiles(3);
    open();
    TSoundButton* first = form->sounds().buttons()[0];
    first->setFocus();
    press(first, Qt::Key_Q, S("q"));
    EXPECT_EQ(pressedSounds(), QList<int>{0});
    press(first, Qt::Key_W, S("w")); // another button's key through the focused one
    EXPECT_EQ(pressedSounds(), (QList<int>{0, 1}));
    // Enter on the focused button does nothing to it: no start, and no restart of a sound
    // that plays. (Space is the stop-all, wherever the focus is.)
    TSoundButton* third = form->sounds().buttons()[2];
    third->setFocus();
    press(third, Qt::Key_Return, S("\r"));
    EXPECT_FALSE(third->isChecked());
    EXPECT_EQ(third->MediaPlayer()->State(), audio::TMediaPlayer::TMediaState::Stopped);
    render(24000);
    const qint64 played = first->MediaPlayer()->CurrentTime();
    ASSERT_GT(played, 4'000'000);
    first->setFocus();
    press(first, Qt::Key_Return, S("\r"));
    EXPECT_TRUE(first->isChecked());
    EXPECT_GE(first->MediaPlayer()->CurrentTime(), played); // not rewound
}

TEST_F(Keyboard, FKeysSteppingAndEscape)
{
    pictureGroups({3, 2});
    open();
    loadThumbnails();
    press(form.get(), Qt::Key_Return, S("\r")); // nothing shown: not handled
    EXPECT_EQ(shown(), -1);

    press(form.get(), Qt::Key_F1);
    EXPECT_EQ(shown(), indexOf(picture(0, 0)));
    EXPECT_TRUE(picture(0, 0)->isChecked());
    press(form.get(), Qt::Key_Right);
    EXPECT_EQ(shown(), indexOf(picture(0, 1)));
    press(form.get(), Qt::Key_Return, S("\r"));
    EXPECT_EQ(shown(), indexOf(picture(0, 2)));
    press(form.get(), Qt::Key_Return, S("\r"), Qt::ShiftModifier); // back
    EXPECT_EQ(shown(), indexOf(picture(0, 1)));
    press(form.get(), Qt::Key_PageDown);
    press(form.get(), Qt::Key_PageDown); // off the group's end: blank
    EXPECT_EQ(shown(), -1);
    EXPECT_FALSE(picture(0, 2)->isChecked());
    press(form.get(), Qt::Key_Return, S("\r")); // and then nothing
    EXPECT_EQ(shown(), -1);

    press(form.get(), Qt::Key_F2);
    EXPECT_EQ(shown(), indexOf(picture(1, 0)));
    press(form.get(), Qt::Key_Left); // before the first: blank
    EXPECT_EQ(shown(), -1);
    press(form.get(), Qt::Key_F2);
    press(form.get(), Qt::Key_F2); // the shown one: blank
    EXPECT_EQ(shown(), -1);
    press(form.get(), Qt::Key_F2);
    EXPECT_EQ(shown(), indexOf(picture(1, 0)));
    press(form.get(), Qt::Key_F3); // no third group
    EXPECT_EQ(shown(), -1);
    EXPECT_FALSE(picture(1, 0)->isChecked());

    press(form.get(), Qt::Key_F1);
    press(form.get(), Qt::Key_Escape);
    EXPECT_EQ(shown(), -1);
    EXPECT_FALSE(picture(0, 0)->isChecked());
    press(form.get(), Qt::Key_Escape); // nothing shown: still fine
    EXPECT_EQ(shown(), -1);
}

TEST_F(Keyboard, EnterOnAFocusedSoundButtonStepsPicturesWhileOneIsShown)
{
    soundFiles(2);
    pictureGroups({2});
    open();
    loadThumbnails();
    press(form.get(), Qt::Key_F1);
    TSoundButton* sound = form->sounds().buttons()[0];
    sound->setFocus();
    press(sound, Qt::Key_Return, S("\r"));
    EXPECT_EQ(shown(), indexOf(picture(0, 1)));
    EXPECT_FALSE(sound->isChecked());
    EXPECT_EQ(sound->MediaPlayer()->State(), audio::TMediaPlayer::TMediaState::Stopped);
}

TEST_F(Keyboard, AFocusedSliderKeepsTheArrowsButNotTheRest)
{
    soundFiles(2);
    pictureGroups({3});
    open();
    loadThumbnails();
    press(form.get(), Qt::Key_F1);
    QSlider* slider = form->sounds().buttons()[0]->TrackBar();
    slider->setFocus();
    slider->setValue(50);
    press(slider, Qt::Key_Left);
    EXPECT_EQ(shown(), indexOf(picture(0, 0))); // the slider took it
    EXPECT_NE(slider->value(), 50);
    press(slider, Qt::Key_PageDown);
    EXPECT_EQ(shown(), indexOf(picture(0, 1)));
    press(slider, Qt::Key_W, S("w"));
    EXPECT_EQ(pressedSounds(), QList<int>{1});
}

TEST_F(Keyboard, WithoutAPictureWindowTheFKeysStillMoveTheIndex)
{
    displays.list = oneDisplay();
    pictureGroups({2, 2});
    open();
    loadThumbnails();
    ASSERT_EQ(form->imageForm(), nullptr);
    press(form.get(), Qt::Key_F2);
    EXPECT_EQ(shown(), indexOf(picture(1, 0)));
    press(form.get(), Qt::Key_Right);
    EXPECT_EQ(shown(), indexOf(picture(1, 1)));
    EXPECT_FALSE(picture(1, 1)->isChecked());
}

TEST_F(Keyboard, TheFKeyOfAPictureIsTheOneOnItsBadge)
{
    pictureGroups({2, 2, 2, 2});
    fixtures::writeText(show.path(S("3 G/1.png")), "not a picture"); // drops out with its F3
    open();
    loadThumbnails();
    auto badged = [&](int key) -> TPictureButton* {
        for (int i = 0; i < form->ImagesFlowLayout->childCount(); ++i)
            if (auto* b = qobject_cast<TPictureButton*>(form->ImagesFlowLayout->childAt(i)))
                if (b->badge() && b->badge()->indicator()->text() == QStringLiteral("F%1").arg(key))
                    return b;
        return nullptr;
    };
    ASSERT_EQ(badged(3), nullptr);
    ASSERT_NE(badged(4), nullptr);
    press(form.get(), Qt::Key_F4);
    EXPECT_EQ(shown(), indexOf(badged(4)));
    EXPECT_TRUE(badged(4)->isChecked());
    press(form.get(), Qt::Key_F3); // its picture is gone: the monitor goes black
    EXPECT_EQ(shown(), -1);
    EXPECT_FALSE(badged(4)->isChecked());
    press(form.get(), Qt::Key_F2);
    EXPECT_EQ(shown(), indexOf(badged(2)));
}

TEST_F(Keyboard, RepeatsThatTheSystemSendsAsReleaseAndPressCountOnce)
{
    // X repeats a held key as a release and a press with one time stamp; Qt does not always
    // see that they belong together.
    soundFiles(2);
    open();
    auto send = [&](QEvent::Type type, quint64 time) {
        QKeyEvent e(type, Qt::Key_Q, Qt::NoModifier, S("q"));
        e.setTimestamp(time);
        QApplication::sendEvent(form.get(), &e);
    };
    send(QEvent::KeyPress, 1000);
    for (quint64 t = 1660; t < 2500; t += 40) {
        send(QEvent::KeyRelease, t);
        send(QEvent::KeyPress, t);
    }
    send(QEvent::KeyRelease, 2600);
    EXPECT_EQ(pressedSounds(), QList<int>{0}); // pressed once, held, let go
    send(QEvent::KeyPress, 2700);              // pressed again: a new press
    send(QEvent::KeyRelease, 2750);
    EXPECT_TRUE(pressedSounds().isEmpty());
}
