// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
// The operator's overview: the stop-all (button and Space), the now-playing band and what is
// on stage.

#include "BoardColours.h"
#include "ImageForm.h"
#include "MainForm.h"
#include "MediaPlayer.h"
#include "NowPlayingBand.h"
#include "OutputSelector.h"
#include "ReadyCounter.h"
#include "SoundBoard.h"
#include "SoundButton.h"
#include "WidgetFixture.h"

#include "ScrollBox.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <cmath>

using namespace ozv;
using namespace ozv::test;

namespace {
QString S(const char* t)
{
    return QString::fromUtf8(t);
}
} // namespace

class Overview : public WidgetTest
{
protected:
    TSoundBoard& board() { return form->sounds(); }
    TSoundButton* button(int i) { return board().buttons().value(i); }
    void tick() { board().PlaybackTimer(); }
    /// The loudest sample of the next `frames` frames the engine plays.
    float peakOf(int frames)
    {
        std::vector<float> out(2 * std::size_t(audio::AudioEngine::kPeriodFrames));
        float peak = 0;
        for (int done = 0; done < frames; done += audio::AudioEngine::kPeriodFrames) {
            engine->waitUntilIdle();
            engine->render(out.data(), audio::AudioEngine::kPeriodFrames);
            for (float v : out)
                peak = std::max(peak, std::fabs(v));
        }
        return peak;
    }
    void space(QWidget* target)
    {
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, S(" "));
        QApplication::sendEvent(target, &down);
        QKeyEvent up(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, S(" "));
        QApplication::sendEvent(target, &up);
    }
};

TEST_F(Overview, StopAllFadesEverySoundOutOverASecond)
{
    show.tone(S("a.wav"), 5);
    show.tone(S("b.wav"), 5);
    open();
    engine->waitUntilIdle();
    button(0)->click();
    button(1)->click();
    const float full = peakOf(4800);
    ASSERT_GT(full, 0.1f);
    form->StopAllBtn->click();
    EXPECT_FALSE(button(0)->isChecked()); // up, as a fading sound's button is
    EXPECT_EQ(board().playing().size(), 2);
    // Ten windows of 0.1 s: each starts at the ramp's 1 - 0.1 i.
    for (int i = 0; i < 10; ++i) {
        const float level = peakOf(4800) / full;
        EXPECT_NEAR(level, 1.0 - 0.1 * i, 0.04) << "window " << i;
        if (i == 9) break; // the fade ends within this window
        tick();            // the board's timer lets the fading sounds go on
        ASSERT_EQ(board().playing().size(), 2) << "window " << i;
        EXPECT_TRUE(form->nowPlaying().entries().at(0).fading);
    }
    EXPECT_EQ(peakOf(4800), 0.0f);
    tick();
    EXPECT_TRUE(board().playing().isEmpty()); // ended as a sound ends by itself
    EXPECT_TRUE(form->nowPlaying().entries().empty());
    for (int i : {0, 1}) {
        EXPECT_FALSE(button(i)->isChecked());
        EXPECT_TRUE(button(i)->ProgressBar()->isHidden());
        EXPECT_EQ(button(i)->MediaPlayer()->State(), audio::TMediaPlayer::TMediaState::Stopped);
    }
    button(0)->click(); // and starts again from its beginning
    EXPECT_GT(peakOf(4800), 0.1f);
}

TEST_F(Overview, ASecondStopAllCutsWhatFadesAndSpaceDoesItFromAnyFocus)
{
    show.tone(S("a.wav"), 5);
    show.tone(S("b.wav"), 5);
    open();
    engine->waitUntilIdle();
    button(0)->click();
    const float full = peakOf(4800);
    // Space on the focused slider of the other sound: the stop-all, not a volume step.
    QWidget* slider = button(1)->TrackBar();
    slider->setFocus();
    const int volume = button(1)->TrackBar()->value();
    space(slider);
    EXPECT_EQ(button(1)->TrackBar()->value(), volume);
    EXPECT_TRUE(button(0)->MediaPlayer()->fadingOut());
    EXPECT_NEAR(peakOf(24000) / full, 1.0, 0.04); // fading: still near full at first
    // A focused sound button is not clicked by it either: the second press cuts.
    button(1)->setFocus();
    space(button(1));
    EXPECT_FALSE(button(1)->isChecked());
    EXPECT_TRUE(board().playing().isEmpty());
    peakOf(512); // the ramp of the cut
    EXPECT_EQ(peakOf(4800), 0.0f);
    // Stopping nothing is no fault.
    space(form.get());
    EXPECT_TRUE(board().playing().isEmpty());
}

TEST_F(Overview, TheBandListsEverySoundWithItsTimes)
{
    for (int i = 0; i < 40; ++i) // the last ones are scrolled out of view
        show.tone(QStringLiteral("%1 s.wav").arg(i, 2, 10, QLatin1Char('0')), i == 39 ? 20 : 3);
    open();
    engine->waitUntilIdle();
    TSoundButton* last = button(39);
    ASSERT_FALSE(form->SoundsScrollBox->viewport()->rect().intersects(
        QRect(last->mapTo(form->SoundsScrollBox->viewport(), QPoint(0, 0)), last->size())));
    last->click();
    button(0)->CheckBox()->setChecked(true); // fades when stopped
    button(0)->click();
    peakOf(48000 * 2 + 4800);
    tick();
    const auto& entries = form->nowPlaying().entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].caption, last->text());
    EXPECT_EQ(entries[0].key, QString()); // past the 36 hot-keys
    EXPECT_EQ(entries[0].elapsed, S("00:02"));
    EXPECT_EQ(entries[0].remaining, S("00:18"));
    EXPECT_FALSE(entries[0].ending);
    EXPECT_EQ(entries[1].key, S("Q")); // the first hot-key
    EXPECT_EQ(entries[1].remaining, S("00:01"));
    EXPECT_TRUE(entries[1].ending); // its last seconds: red
    EXPECT_FALSE(entries[1].fading);
    // Clicked, the entry does what the button does: this one fades ("dozní").
    const QPoint at = form->nowPlaying().entryRect(1).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, form->nowPlaying().mapToGlobal(at),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form->nowPlaying(), &press);
    EXPECT_FALSE(button(0)->isChecked());
    tick();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_TRUE(entries[1].fading);
    peakOf(48000 * 2);
    tick();
    ASSERT_EQ(entries.size(), 1u); // ended
    EXPECT_EQ(entries[0].caption, last->text());
}

TEST_F(Overview, TheStageShowsWhatThePictureMonitorShows)
{
    show.tone(S("a.wav"), 1);
    show.picture(S("1 Obrazy/01 Red.png"), QSize(64, 40));
    open();
    loadThumbnails();
    ASSERT_NE(form->imageForm(), nullptr);
    const TNowPlayingBand& band = form->nowPlaying();
    EXPECT_TRUE(band.stageBlack());
    EXPECT_EQ(band.stageText(), S("Monitor 1\n1920 × 1080"));
    EXPECT_EQ(form->cbMonitor->currentText(), S("Monitor 1")); // the display in use, even unstored
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &f1);
    waitForPicture();
    EXPECT_FALSE(band.stageBlack());
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &escape);
    EXPECT_TRUE(band.stageBlack());
}

namespace {
// The fill at `at` and, of the pixels in `area`, the one that stands out most from it.
std::pair<QRgb, QRgb> fillAndText(const QImage& image, QPoint at, QRect area)
{
    const QRgb fill = image.pixel(at);
    QRgb text = fill;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (colours::contrastRatio(fill, image.pixel(x, y)) >
                colours::contrastRatio(fill, text))
                text = image.pixel(x, y);
    return {fill, text};
}
} // namespace

TEST_F(Overview, EveryButtonStateIsReadable)
{
    show.tone(S("a.wav"), 5);
    open();
    engine->waitUntilIdle();
    TSoundButton* b = button(0);
    EXPECT_GE(b->font().pointSize(), 12);
    EXPECT_TRUE(b->font().bold());
    const QRect caption = b->rect().adjusted(40, 18, -40, -10);
    auto look = [&] {
        const QImage image = b->grab().toImage().convertToFormat(QImage::Format_RGB32);
        return fillAndText(image, QPoint(image.width() - 6, image.height() / 2), caption);
    };
    const auto idle = look();
    b->click();
    const auto playing = look();
    b->CheckBox()->setChecked(true);
    b->click(); // released: it fades
    ASSERT_TRUE(b->fading());
    const auto fading = look();
    const std::pair<const char*, std::pair<QRgb, QRgb>> states[] = {
        {"idle", idle}, {"playing", playing}, {"fading", fading}};
    for (const auto& [name, painted] : states)
        EXPECT_GE(colours::contrastRatio(painted.first, painted.second), colours::kMinimumContrast)
            << name;
    // Three fills an operator tells apart at a glance.
    EXPECT_GT(colours::contrastRatio(idle.first, playing.first), 1.2);
    EXPECT_GT(colours::contrastRatio(playing.first, fading.first), 2.0);
    EXPECT_GT(colours::contrastRatio(idle.first, fading.first), 2.0);
    // The hot-key badge's letter.
    const QImage badge = b->badge()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const auto [fill, letter] = fillAndText(badge, QPoint(5, 14), QRect(9, 7, 10, 12));
    EXPECT_EQ(fill, qRgb(0xFF, 0x45, 0x00));
    EXPECT_GE(colours::contrastRatio(fill, letter), colours::kMinimumContrast);
}

TEST_F(Overview, TheOutputListFollowsTheDevicesAndKeepsTheChoice)
{
    show.tone(S("a.wav"), 1);
    open();
    TOutputSelector& output = form->output();
    QStringList devices{S("Interní zvuk"), S("USB rozhraní")};
    bool open = true;
    output.devices = [&] { return devices; };
    output.deviceOpen = [&] { return open; };
    output.refresh();
    auto items = [&] {
        QStringList out;
        for (int i = 0; i < output.combo()->count(); ++i)
            out << output.combo()->itemText(i);
        return out;
    };
    EXPECT_EQ(items(), (QStringList{S("Výchozí"), S("Interní zvuk"), S("USB rozhraní")}));
    EXPECT_EQ(output.combo()->currentText(), S("Výchozí")); // nothing stored: the default
    EXPECT_EQ(output.light()->text(), S("● Výchozí"));
    // The operator picks the USB interface: used and stored.
    emit output.combo()->activated(2);
    EXPECT_EQ(engine->outputDevice(), "USB rozhraní");
    EXPECT_EQ(form->settings().ReadString(S("Application"), S("AudioDevice"), QString()),
              S("USB rozhraní"));
    // Unplugged: red, and the choice stays in the list, waiting for it to come back.
    devices.removeLast();
    open = false;
    output.refresh();
    EXPECT_EQ(items(), (QStringList{S("Výchozí"), S("Interní zvuk"), S("USB rozhraní")}));
    EXPECT_EQ(output.combo()->currentText(), S("USB rozhraní"));
    EXPECT_EQ(output.light()->text(), S("● Bez zvuku"));
    // A press that cannot be heard says so at once.
    engine->waitUntilIdle();
    button(0)->click();
    EXPECT_TRUE(output.banner()->isVisibleTo(form.get()));
    EXPECT_TRUE(output.banner()->text().startsWith(S("Bez zvuku")));
    devices << S("USB rozhraní") << S("Sluchátka"); // back, and another one
    open = true;
    output.refresh();
    EXPECT_EQ(items(),
              (QStringList{S("Výchozí"), S("Interní zvuk"), S("USB rozhraní"), S("Sluchátka")}));
    EXPECT_EQ(output.light()->text(), S("● USB rozhraní"));
    EXPECT_FALSE(output.banner()->isVisibleTo(form.get()));
    // Back to the default: the key goes.
    emit output.combo()->activated(0);
    EXPECT_EQ(engine->outputDevice(), "");
    EXPECT_FALSE(form->settings().ValueExists(S("Application"), S("AudioDevice")));
}

TEST_F(Overview, AStoredDeviceThatIsNotThereFallsBackToTheDefaultAndSaysSo)
{
    show.tone(S("a.wav"), 1);
    {
        QFile f(settingsPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Application]\r\nAudioDevice=Stará karta\r\n");
    }
    open();
    TOutputSelector& output = form->output();
    EXPECT_EQ(engine->outputDevice(), "Stará karta"); // asked for until the devices are known
    output.devices = [] { return QStringList{S("Interní zvuk")}; };
    output.deviceOpen = [] { return true; };
    output.refresh();
    EXPECT_EQ(engine->outputDevice(), "");
    EXPECT_EQ(output.combo()->currentText(), S("Výchozí"));
    EXPECT_TRUE(form->lastError().contains(S("Stará karta"))) << form->lastError().toStdString();
    // The stored name stays for a later run with the card plugged in.
    EXPECT_EQ(form->settings().ReadString(S("Application"), S("AudioDevice"), QString()),
              S("Stará karta"));
}

TEST_F(Overview, TheReadyCounterCountsTheCuesUntilAllAreInstant)
{
    for (int i = 0; i < 3; ++i)
        show.tone(QStringLiteral("%1 s.wav").arg(i), 1);
    for (int i = 0; i < 4; ++i)
        show.picture(QStringLiteral("1 Obrazy/%1 p.png").arg(i), QSize(640, 400));
    open();
    TReadyCounter& counter = form->readyCounter();
    // Right after the rebuild the heads and thumbnails are still being made.
    ASSERT_TRUE(counter.isVisibleTo(form.get()));
    EXPECT_TRUE(counter.text().startsWith(S("Připraveno "))) << counter.text().toStdString();
    EXPECT_TRUE(counter.text().endsWith(S("/7"))) << counter.text().toStdString();
    engine->waitUntilIdle();
    loadThumbnails();
    counter.refresh();
    EXPECT_FALSE(counter.isVisibleTo(form.get())); // every cue instant: gone
}

TEST_F(Overview, OnACzechKeyboardTheNumberKeysShowWhatTheyType)
{
    for (int i = 0; i < 30; ++i)
        show.tone(QStringLiteral("%1 s.wav").arg(i, 2, 10, QLatin1Char('0')), 0.05);
    open();
    board().czechKeys = true;
    form->UpdateSoundButtons(show.path());
    EXPECT_EQ(button(0)->typedKey(), QChar());                   // "Q" types q: nothing to add
    EXPECT_EQ(button(26)->typedKey(), QChar(u'+'));              // the key of "1"
    EXPECT_EQ(button(27)->typedKey(), QChar(u'\u011B'));         // "ě" beside "2"
    EXPECT_EQ(button(27)->badge()->indicator()->text(), S("2")); // the badge itself as before
    board().czechKeys = false;
    form->UpdateSoundButtons(show.path());
    EXPECT_EQ(button(27)->typedKey(), QChar());
}
