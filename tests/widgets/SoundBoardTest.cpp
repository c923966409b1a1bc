// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
// The sound board: buttons and hot-keys, stored volumes, playback with fades, the volume reset.

#include "SoundBoard.h"
#include "MediaPlayer.h"
#include "SettingsSaver.h"
#include "WidgetFixture.h"

#include <QApplication>
#include <QLabel>
#include <filesystem>
#include <unistd.h>

using namespace ozv;
using namespace ozv::test;
using State = audio::TMediaPlayer::TMediaState;

namespace {
QString S(const char* t)
{
    return QString::fromUtf8(t);
}
QString badgeOf(TSoundButton* b)
{
    return b->badge() ? b->badge()->indicator()->text() : QString();
}
} // namespace

class SoundBoard : public WidgetTest
{
protected:
    TSoundBoard& board() { return form->sounds(); }
    TSoundButton* button(int i) { return board().buttons().value(i); }
    /// One tick of the Playback timer.
    void tick() { board().PlaybackTimer(); }
};

TEST_F(SoundBoard, FirstThirtySixButtonsGetHotKeys)
{
    for (int i = 0; i < 40; ++i)
        show.tone(QStringLiteral("%1 s.wav").arg(i, 2, 10, QLatin1Char('0')), 0.05);
    open();
    const auto buttons = board().buttons();
    ASSERT_EQ(buttons.size(), 40);
    for (int i = 0; i < 40; ++i) {
        TSoundButton* b = buttons[i];
        EXPECT_EQ(b->size(), QSize(210, 72));
        EXPECT_EQ(b->TrackBar()->x(), b->x() + 210 + 6); // the slider stands 6 right of the button
        if (i < 36) {
            EXPECT_EQ(badgeOf(b), QString(S("QWERTZUIOPASDFGHJKLYXCVBNM1234567890").at(i)));
            EXPECT_EQ(b->CheckBox()->pos(), QPoint(30, -2));
            EXPECT_EQ(board().shortCut(i), b);
            EXPECT_EQ(b->badge()->pos(), b->pos() + QPoint(-4, -4));
            EXPECT_EQ(b->badge()->size(), QSize(28, 28));
            // Whole, in the first column too: nothing of it is cut by the board's edge.
            EXPECT_TRUE(b->parentWidget()->rect().contains(b->badge()->geometry())) << i;
        } else {
            EXPECT_EQ(b->badge(), nullptr);
            EXPECT_EQ(b->CheckBox()->pos(), QPoint(-2, -2));
        }
    }
    EXPECT_EQ(board().shortCut(36), nullptr);
}

TEST_F(SoundBoard, HotKeysRunOnAcrossGroupsAndSkipUnplayableFiles)
{
    show.tone(S("1 a.wav"));
    show.tone(S("2 b.wav"));
    fixtures::writeText(show.prepare(S("3 broken.mp3")), "not audio");
    show.tone(S("4 c.wav"));
    show.tone(S("Sub/1 d.wav"));
    show.tone(S("Sub/2 e.wav"));
    open();
    QStringList badges;
    for (TSoundButton* b : board().buttons())
        badges << b->text() + u'=' + badgeOf(b);
    EXPECT_EQ(badges, QStringList({S("a=Q"), S("b=W"), S("c=E"), S("d=R"), S("e=T")}));
}

TEST_F(SoundBoard, StoredValuesShownAndNothingWrittenWhileBuilding)
{
    const QString a = show.tone(S("a.wav")), b = show.tone(S("b.wav")), c = show.tone(S("c.wav"));
    const QString section = folderSectionOf(a).toUpper(); // a hand-written section in other case
    fixtures::writeText(
        settingsPath(),
        (S("[") + section + S("]\r\na.wav=250\r\nb.wav=-5\r\nb.wav.Fade=0\r\nc.wav=abc\r\n"))
            .toUtf8());
    open();
    EXPECT_EQ(button(0)->TrackBar()->value(), 100);
    EXPECT_EQ(button(1)->TrackBar()->value(), 0);
    EXPECT_EQ(button(2)->TrackBar()->value(), 100);
    EXPECT_TRUE(button(0)->CheckBox()->isChecked());
    EXPECT_FALSE(button(1)->CheckBox()->isChecked());
    EXPECT_EQ(form->settings().keyNames(section).size(), 4); // read, not rewritten
    EXPECT_EQ(form->settings().ReadString(section, S("a.wav"), S("")), S("250"));
}

TEST_F(SoundBoard, SliderAndFadeChangesAreStored)
{
    const QString path = show.tone(S("Zvuky [1]/Gong=.wav"));
    open();
    TSoundButton* b = button(0);
    b->TrackBar()->setValue(42);
    b->CheckBox()->setChecked(false);
    EXPECT_EQ(form->settings().ReadInteger(folderSectionOf(path), S("Gong%3D.wav"), -1), 42);
    EXPECT_EQ(form->settings().ReadString(folderSectionOf(path), S("Gong%3D.wav.Fade"), S("")),
              S("0"));
    EXPECT_TRUE(folderSectionOf(path).endsWith(S("Zvuky %5B1%5D")));
    EXPECT_TRUE(form->saver().timer()->isActive());
}

TEST_F(SoundBoard, PressPlaysReleaseWithFadeFallsInTwentyTicks)
{
    show.tone(S("long.wav"), 10);
    open();
    TSoundButton* b = button(0);
    audio::TMediaPlayer* player = b->MediaPlayer();
    b->TrackBar()->setValue(80);
    engine->waitUntilIdle();
    b->click(); // pressed
    EXPECT_TRUE(b->isChecked());
    EXPECT_EQ(b->Tag, 20);
    EXPECT_EQ(player->State(), State::Playing);
    EXPECT_FLOAT_EQ(player->Volume(), 0.8f);
    EXPECT_TRUE(b->ProgressBar()->isVisible());
    EXPECT_EQ(board().playing().size(), 1);
    EXPECT_TRUE(board().playbackTimer()->isActive());
    EXPECT_EQ(board().playbackTimer()->interval(), 200);

    render(48000);
    tick();
    EXPECT_EQ(b->ProgressBar()->value(), 10); // 1 s of 10

    b->click(); // released: the fade begins at the next tick
    EXPECT_FALSE(b->isChecked());
    EXPECT_FLOAT_EQ(player->Volume(), 0.8f);
    for (int step = 19; step >= 0; --step) {
        tick();
        EXPECT_NEAR(player->Volume(), 0.8f * step / 20, 1e-6) << step;
        EXPECT_EQ(player->State(), State::Playing);
        EXPECT_EQ(board().playing().size(), 1);
    }
    tick(); // the 21st tick stops it
    EXPECT_EQ(player->State(), State::Stopped);
    EXPECT_EQ(player->CurrentTime(), 0);
    EXPECT_FALSE(b->ProgressBar()->isVisible());
    EXPECT_TRUE(board().playing().isEmpty());
    EXPECT_FALSE(board().playbackTimer()->isActive());
}

TEST_F(SoundBoard, ReleaseWithoutFadeStopsAtTheNextTick)
{
    show.tone(S("long.wav"), 10);
    open();
    TSoundButton* b = button(0);
    b->CheckBox()->setChecked(false);
    b->click();
    b->click();
    EXPECT_EQ(b->MediaPlayer()->State(), State::Playing);
    tick();
    EXPECT_EQ(b->MediaPlayer()->State(), State::Stopped);
    EXPECT_TRUE(board().playing().isEmpty());
}

TEST_F(SoundBoard, UntickingFadeDuringAFadeEndsItAtTheNextTick)
{
    show.tone(S("long.wav"), 10);
    open();
    TSoundButton* b = button(0);
    b->click();
    b->click();
    tick();
    tick();
    EXPECT_EQ(b->Tag, 18);
    b->CheckBox()->setChecked(false);
    tick();
    EXPECT_EQ(b->MediaPlayer()->State(), State::Stopped);
}

TEST_F(SoundBoard, PressingAFadingButtonRestartsIt)
{
    show.tone(S("long.wav"), 10);
    open();
    TSoundButton* b = button(0);
    b->click();
    render(48000);
    b->click();
    for (int i = 0; i < 5; ++i)
        tick();
    EXPECT_EQ(b->Tag, 15);
    b->click(); // pressed again
    EXPECT_EQ(b->Tag, 20);
    EXPECT_FLOAT_EQ(b->MediaPlayer()->Volume(), 1.0f);
    EXPECT_LT(b->MediaPlayer()->CurrentTime(), 1'000'000); // from the beginning
    EXPECT_EQ(board().playing().size(), 1);
    b->click();
    for (int i = 0; i < 20; ++i)
        tick();
    EXPECT_EQ(b->MediaPlayer()->State(), State::Playing); // a full 20-tick fade again
    tick();
    EXPECT_EQ(b->MediaPlayer()->State(), State::Stopped);
}

TEST_F(SoundBoard, ASoundThatEndsReleasesItsButton)
{
    show.tone(S("short.wav"), 0.1);
    fixtures::writeConstant(show.prepare(S("zero.wav")), 48000, 0.0, 0.0f);
    open();
    TSoundButton* shortOne = button(0);
    TSoundButton* zero = button(1);
    ASSERT_EQ(zero->MediaPlayer()->Duration(), 0);
    shortOne->click();
    zero->click();
    render(48000 / 2);
    tick();
    EXPECT_FALSE(shortOne->isChecked());
    EXPECT_FALSE(zero->isChecked());
    EXPECT_FALSE(shortOne->ProgressBar()->isVisible());
    EXPECT_TRUE(board().playing().isEmpty());
    EXPECT_FALSE(board().playbackTimer()->isActive());
}

TEST_F(SoundBoard, VolumeChangesDuringAFadeScaleIt)
{
    show.tone(S("long.wav"), 10);
    open();
    TSoundButton* b = button(0);
    b->click();
    b->click();
    for (int i = 0; i < 10; ++i)
        tick(); // fade level 10
    b->TrackBar()->setValue(50);
    EXPECT_NEAR(b->MediaPlayer()->Volume(), 0.25f, 1e-6);
    b->TrackBar()->setValue(0);
    EXPECT_EQ(b->MediaPlayer()->Volume(), 0.0f);
    EXPECT_EQ(b->MediaPlayer()->State(), State::Playing); // silent, running until the fade ends
}

TEST_F(SoundBoard, ResetCancelledChangesNothing)
{
    const QString path = show.tone(S("a.wav"));
    fixtures::writeText(
        settingsPath(),
        (S("[") + folderSectionOf(path) + S("]\r\na.wav=30\r\na.wav.Fade=0\r\n")).toUtf8());
    open();
    const QByteArray before = form->settings().serialize();
    form->confirmReset = [] { return false; };
    form->VolumesResetBtnClick();
    EXPECT_EQ(button(0)->TrackBar()->value(), 30);
    EXPECT_EQ(form->settings().serialize(), before);
}

TEST_F(SoundBoard, ResetRestoresSlidersAndErasesTheFolderSections)
{
    const QString a = show.tone(S("a.wav")), b = show.tone(S("Sub/b.wav"));
    fixtures::writeText(settingsPath(),
                        (S("[") + folderSectionOf(a) + S("]\r\na.wav=30\r\n[") +
                         folderSectionOf(b) +
                         S("]\r\nb.wav=100\r\nb.wav.Fade=0\r\n[/elsewhere]\r\nx.wav=5\r\n"))
                            .toUtf8());
    open();
    button(0)->click(); // playing at 0.3
    EXPECT_FLOAT_EQ(button(0)->MediaPlayer()->Volume(), 0.3f);
    bool asked = false;
    form->confirmReset = [&] { return asked = true; };
    form->VolumesResetBtnClick();
    EXPECT_TRUE(asked);
    EXPECT_EQ(button(0)->TrackBar()->value(), 100);
    EXPECT_FLOAT_EQ(button(0)->MediaPlayer()->Volume(), 1.0f);
    EXPECT_FALSE(form->settings().SectionExists(folderSectionOf(a)));
    EXPECT_FALSE(form->settings().SectionExists(folderSectionOf(b)));
    EXPECT_TRUE(form->settings().SectionExists(S("/elsewhere")));
    EXPECT_FALSE(button(1)->CheckBox()->isChecked()); // the box keeps its state on screen
}

TEST_F(SoundBoard, ARebuildStopsEverySoundFirst)
{
    show.tone(S("a.wav"), 5);
    show.tone(S("b.wav"), 5);
    open();
    button(0)->click();
    button(1)->click();
    render(4800);
    EXPECT_EQ(engine->waitUntilIdle(), true);
    form->UpdateSoundButtons(show.path());
    EXPECT_TRUE(board().playing().isEmpty());
    EXPECT_FALSE(board().playbackTimer()->isActive());
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(board().shortCut(i), button(i)); // only the new buttons are registered
    std::vector<float> out(2 * 4800);
    engine->render(out.data(), 4800);
    float loudest = 0;
    for (std::size_t i = 2 * 480; i < out.size(); ++i)
        loudest = std::max(loudest, std::fabs(out[i]));
    EXPECT_EQ(loudest, 0.0f); // both faded out within the ramp
}

TEST_F(SoundBoard, NamesThatAreNotTextGetButtonsThatPlayAndKeepTheirVolume)
{
    const QString made = show.tone(S("made.wav"), 2);
    const QString sub = show.path(S("sub"));
    show.tone(S("sub/01 In.wav"), 2);
    const QByteArray base = QFile::encodeName(show.path());
    ASSERT_EQ(::rename(QFile::encodeName(made).constData(), base + "/15 Latin1 \xE9.wav"), 0);
    ASSERT_EQ(::rename(QFile::encodeName(sub).constData(), base + "/1 Group \xFF bad"), 0);
    open();
    ASSERT_EQ(board().buttons().size(), 2);
    EXPECT_EQ(button(0)->text(), S("Latin1 \uFFFD"));
    EXPECT_EQ(button(1)->text(), S("In"));
    QStringList headers;
    for (QLabel* l : form->SoundsFlowLayout->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        headers << l->text();
    EXPECT_TRUE(headers.contains(S("Group \uFFFD bad"))) << headers.join(u'|').toStdString();
    engine->waitUntilIdle();
    for (int i : {0, 1}) {
        button(i)->click();
        EXPECT_EQ(button(i)->MediaPlayer()->State(), State::Playing) << i;
    }
    render(24000);
    EXPECT_EQ(button(1)->MediaPlayer()->State(), State::Playing);
    button(0)->TrackBar()->setValue(33);
    closeWindow();
    const QByteArray written = readAll(settingsPath());
    EXPECT_TRUE(written.contains("15 Latin1 %E9.wav=33")) << written.constData();
    open();
    EXPECT_EQ(button(0)->TrackBar()->value(), 33);
    std::filesystem::remove_all(base.toStdString()); // Qt cannot name these for the removal
}
