// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
// The picture side: the list with its thumbnails and F-key badges, the panel, the monitor list,
// the picture window with its cross-fade, showing pictures and gliding the list.

#include "CrossFade.h"
#include "ImageForm.h"
#include "MonitorList.h"
#include "PictureBoard.h"
#include "ScrollBox.h"
#include "WidgetFixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QTest>

using namespace ozv;
using namespace ozv::test;

namespace {
QString S(const char* t)
{
    return QString::fromUtf8(t);
}
QStringList comboItems(QComboBox* c)
{
    QStringList out;
    for (int i = 0; i < c->count(); ++i)
        out << c->itemText(i);
    return out;
}
} // namespace

class Pictures : public WidgetTest
{
protected:
    TPictureBoard& list() { return form->pictures(); }
    QList<TPictureButton*> buttons()
    {
        QList<TPictureButton*> out;
        for (int i = 0; i < form->ImagesFlowLayout->childCount(); ++i)
            if (auto* b = qobject_cast<TPictureButton*>(form->ImagesFlowLayout->childAt(i)))
                out << b;
        return out;
    }
    /// Clicks a picture button and lets its picture arrive (it is decoded in the background).
    void choose(QWidget* button)
    {
        QTest::mouseClick(button, Qt::LeftButton);
        waitForPicture();
    }
    QString fkey(TPictureButton* b)
    {
        return b->badge() ? b->badge()->indicator()->text() : QString();
    }
};

TEST_F(Pictures, ThumbnailsAndBadgesOverThirteenGroups)
{
    for (int g = 1; g <= 13; ++g) {
        show.picture(QStringLiteral("%1 G/1 a.png").arg(g, 2, 10, QLatin1Char('0')));
        show.picture(QStringLiteral("%1 G/2 b.png").arg(g, 2, 10, QLatin1Char('0')));
    }
    open();
    loadThumbnails();
    form->UpdateImageList(show.path()); // thumbnails arrive only through the event loop
    EXPECT_EQ(list().threads(), 26);
    for (TPictureButton* b : buttons())
        EXPECT_FALSE(b->isEnabled());
    loadThumbnails();
    const auto all = buttons();
    ASSERT_EQ(all.size(), 26);
    for (int i = 0; i < 26; ++i) {
        EXPECT_TRUE(all[i]->isEnabled());
        EXPECT_EQ(all[i]->size(), QSize(104, 78));
        EXPECT_EQ(all[i]->Image()->geometry(), QRect(4, 4, 96, 52));
        EXPECT_EQ(all[i]->Image()->image().size(), QSize(64, 48));
        const int group = i / 2;
        const bool badged = i % 2 == 0 && group < 12;
        EXPECT_EQ(fkey(all[i]), badged ? QStringLiteral("F%1").arg(group + 1) : QString()) << i;
        EXPECT_EQ(all[i]->Tag, badged ? 112 + group : 0);
        if (badged) {
            EXPECT_EQ(all[i]->badge()->size(), QSize(38, 28));
        }
    }
}

TEST_F(Pictures, UndecodablePicturesDropOutWithTheirBadge)
{
    fixtures::writeText(show.prepare(S("1 A/1 broken.jpg")), "not a picture");
    show.picture(S("1 A/2 fine.jpg"));
    show.picture(S("2 B/1 png-named.jpg"), QSize(400, 300), "PNG");
    show.picture(S("3 C/1 big.jpg"), QSize(4000, 3000));
    open();
    loadThumbnails();
    const auto all = buttons();
    ASSERT_EQ(all.size(), 3);
    EXPECT_EQ(all[0]->text(), S("fine"));
    EXPECT_EQ(fkey(all[0]), QString()); // the badge went with the broken picture
    EXPECT_EQ(fkey(all[1]), S("F2"));   // later groups keep their numbers
    EXPECT_EQ(all[1]->Image()->image().size(), QSize(69, 52));
    EXPECT_EQ(fkey(all[2]), S("F3"));
    EXPECT_EQ(all[2]->Image()->image().size(), QSize(69, 52));
}

TEST_F(Pictures, ACloseWhileThumbnailsLoadWaitsForThoseBeingDecodedOnly)
{
    for (int i = 0; i < 5; ++i)
        show.picture(QStringLiteral("%1.png").arg(i), QSize(800, 600));
    open();
    loadThumbnails();
    form->UpdateImageList(show.path());
    ASSERT_EQ(list().threads(), 5);
    // Refused only while a decode runs (those not begun are dropped), then done by itself.
    const bool closedAtOnce = form->close();
    EXPECT_EQ(closedAtOnce, list().threads() == 0);
    EXPECT_LE(list().threads(), list().loader().workerCount());
    loadThumbnails();
    QApplication::processEvents();
    EXPECT_EQ(list().threads(), 0);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(Pictures, ARebuildWhileLoadingNeverTouchesOldButtons)
{
    for (int i = 0; i < 30; ++i)
        show.picture(QStringLiteral("%1.png").arg(i), QSize(600, 400));
    open();
    form->UpdateImageList(show.path());
    form->UpdateImageList(show.path());
    loadThumbnails();
    EXPECT_EQ(list().threads(), 0);
    EXPECT_EQ(buttons().size(), 30);
    for (TPictureButton* b : buttons())
        EXPECT_TRUE(b->isEnabled());
}

TEST_F(Pictures, PanelOnlyWithPicturesAndASecondDisplay)
{
    show.picture(S("p.png"));
    displays.list = oneDisplay();
    open();
    EXPECT_FALSE(form->PanelImages->isVisible());
    EXPECT_FALSE(form->ImagesSplitter->isVisible());
    EXPECT_EQ(form->imageForm(), nullptr);
    loadThumbnails();
    EXPECT_EQ(buttons().size(), 1);         // decoded all the same
    list().ShowPicture(buttons()[0], true); // no picture window: nothing happens
    EXPECT_EQ(list().FActiveImage, -1);
    EXPECT_FALSE(buttons()[0]->isChecked());
    closeWindow();

    displays.list = twoDisplays();
    open();
    EXPECT_TRUE(form->PanelImages->isVisible());
    EXPECT_TRUE(form->ImagesSplitter->isVisible());
    ASSERT_NE(form->imageForm(), nullptr);
    // No monitor stored: the window goes to the first display, which holds the main window, so
    // it stays hidden until a picture is shown.
    EXPECT_EQ(form->imageForm()->geometry(), QRect(0, 0, 1280, 800));
    EXPECT_FALSE(form->imageForm()->isVisible());
}

TEST_F(Pictures, TheStoredPictureMonitorIsUsed)
{
    show.picture(S("p.png"));
    fixtures::writeText(settingsPath(), "[Images]\r\nMonitor=1\r\nEffect=15\r\n");
    open();
    ASSERT_NE(form->imageForm(), nullptr);
    EXPECT_EQ(form->imageForm()->geometry(), QRect(1280, 0, 1920, 1080));
    EXPECT_TRUE(form->imageForm()->isVisible()); // black on the second monitor
    EXPECT_EQ(form->imageForm()->effect(), 10);  // clamped
    EXPECT_EQ(comboItems(form->cbMonitor), QStringList{S("Monitor 1")});
    EXPECT_EQ(form->cbMonitor->currentIndex(), 0);
    for (QAction* a : form->EffectPopupMenu->actions())
        EXPECT_FALSE(a->isChecked()); // 15 names no curve
}

TEST_F(Pictures, MonitorListForEachArrangement)
{
    show.picture(S("p.png"));
    displays.list = threeDisplays();
    open();
    EXPECT_EQ(comboItems(form->cbMonitor), QStringList({S("Monitor 1"), S("Monitor 2")}));
    EXPECT_EQ(form->cbMonitor->currentIndex(), 0); // none chosen: the first listed, shown
    EXPECT_EQ(form->settings().ReadInteger(S("Images"), S("Monitor"), -7),
              -7);         // nothing stored yet
    form->move(1500, 100); // the main window on display 1
    form->monitors().UpdateMonitorList();
    EXPECT_EQ(comboItems(form->cbMonitor), QStringList({S("Monitor 0"), S("Monitor 2")}));
    EXPECT_EQ(form->cbMonitor->itemData(1).toInt(), 2);
}

TEST_F(Pictures, PickingAMonitorAndTheWatchMovingPicturesAway)
{
    show.picture(S("p.png"));
    displays.list = threeDisplays();
    open();
    form->cbMonitor->setCurrentIndex(0); // Monitor 1, shown already: the operator picks it
    emit form->cbMonitor->activated(0);
    EXPECT_EQ(form->settings().ReadInteger(S("Images"), S("Monitor"), -1), 1);
    EXPECT_EQ(form->imageForm()->geometry(), QRect(1280, 0, 1920, 1080));
    // The operator drags the main window onto the picture monitor.
    form->move(1500, 100);
    form->monitors().DisplayChangedTimer();
    EXPECT_EQ(form->monitors().FDisplay, 1);
    EXPECT_EQ(comboItems(form->cbMonitor), QStringList({S("Monitor 0"), S("Monitor 2")}));
    EXPECT_EQ(form->cbMonitor->currentIndex(), 0);
    EXPECT_EQ(form->settings().ReadInteger(S("Images"), S("Monitor"), -1), 0);
    EXPECT_EQ(form->imageForm()->geometry(), QRect(0, 0, 1280, 800));
    // Then onto display 2, which is not the picture monitor: the pictures stay.
    form->move(3300, 100);
    form->monitors().DisplayChangedTimer();
    EXPECT_EQ(comboItems(form->cbMonitor), QStringList({S("Monitor 0"), S("Monitor 1")}));
    EXPECT_EQ(form->settings().ReadInteger(S("Images"), S("Monitor"), -1), 0);
    EXPECT_EQ(form->imageForm()->geometry(), QRect(0, 0, 1280, 800));
}

TEST_F(Pictures, WithNoneChosenTheWatchStillMovesPicturesAway)
{
    show.picture(S("p.png"));
    displays.list = threeDisplays();
    open();
    loadThumbnails();
    choose(buttons()[0]);
    TImageForm* window = form->imageForm();
    ASSERT_EQ(window->geometry(), QRect(1280, 0, 1920, 1080)); // the first listed
    // The operator drags the main window onto the display that shows the pictures.
    form->move(1500, 100);
    form->monitors().DisplayChangedTimer();
    EXPECT_FALSE(window->geometry().contains(form->monitors().mainCentre()));
    EXPECT_EQ(window->geometry(), QRect(0, 0, 1280, 800));
    EXPECT_EQ(form->cbMonitor->currentText(), S("Monitor 0"));
}

TEST_F(Pictures, ThePicturesFollowDisplaysComingAndGoing)
{
    show.picture(S("1 A/1 a.png"), QSize(320, 200));
    displays.list = threeDisplays();
    fixtures::writeText(settingsPath(), "[Images]\r\nMonitor=1\r\n");
    open();
    loadThumbnails();
    choose(buttons()[0]);
    TImageForm* window = form->imageForm();
    ASSERT_EQ(window->geometry(), QRect(1280, 0, 1920, 1080));
    const QImage onStage = window->targetPicture();

    // The projector's cable is pulled: the pictures go to the display that is left.
    displays.list = {threeDisplays()[0], threeDisplays()[2]};
    form->DisplaysChanged();
    EXPECT_EQ(comboItems(form->cbMonitor), QStringList{S("Monitor 1")}); // the old display 2
    EXPECT_EQ(window->geometry(), QRect(3200, 0, 1024, 768));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->targetPicture().size(), onStage.size());

    // Then that one goes too: no display is free, the window hides rather than cover the
    // operator's window, and the panel goes with it.
    displays.list = oneDisplay();
    form->DisplaysChanged();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(form->PanelImages->isVisible());
    EXPECT_TRUE(comboItems(form->cbMonitor).isEmpty());
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &f1); // a cue meanwhile: chosen, not shown
    QApplication::sendEvent(form.get(), &f1);
    EXPECT_FALSE(window->isVisible());

    // Plugged in again: the panel, the list and the window come back.
    displays.list = twoDisplays();
    form->DisplaysChanged();
    EXPECT_TRUE(form->PanelImages->isVisible());
    EXPECT_EQ(comboItems(form->cbMonitor), QStringList{S("Monitor 1")});
    EXPECT_EQ(window->geometry(), QRect(1280, 0, 1920, 1080));
    EXPECT_TRUE(window->isVisible());
}

TEST_F(Pictures, ADisplayConnectedAfterTheStartGetsThePictures)
{
    show.picture(S("p.png"));
    displays.list = oneDisplay();
    open();
    EXPECT_FALSE(form->PanelImages->isVisible());
    EXPECT_EQ(form->imageForm(), nullptr);
    displays.list = twoDisplays();
    form->DisplaysChanged();
    EXPECT_TRUE(form->PanelImages->isVisible());
    ASSERT_NE(form->imageForm(), nullptr);
    loadThumbnails();
    choose(buttons()[0]);
    EXPECT_EQ(form->imageForm()->geometry(), QRect(1280, 0, 1920, 1080));
    EXPECT_TRUE(form->imageForm()->isVisible());
}

TEST_F(Pictures, ShowingAndBlanking)
{
    show.picture(S("1 A/1 red.png"), QSize(320, 200));
    show.picture(S("1 A/2 blue.png"), QSize(320, 200));
    open();
    loadThumbnails();
    const auto all = buttons();
    TImageForm* window = form->imageForm();
    choose(all[0]);
    EXPECT_TRUE(all[0]->isChecked());
    EXPECT_FALSE(all[1]->isChecked());
    EXPECT_EQ(list().FActiveImage, form->ImagesFlowLayout->indexOf(all[0]));
    EXPECT_EQ(window->geometry(), QRect(1280, 0, 1920, 1080)); // the first listed display
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->animating());
    EXPECT_EQ(window->targetPicture().size(), QSize(1920, 1080));
    EXPECT_EQ(form->settings().ReadInteger(S("Images"), S("Monitor"), -1), -1); // not stored
    // The chosen picture fits the screen: 320 x 200 becomes 1728 x 1080, centred.
    EXPECT_EQ(qAlpha(window->targetPicture().pixel(50, 540)), 0);
    EXPECT_EQ(qAlpha(window->targetPicture().pixel(960, 540)), 255);

    choose(all[1]);
    EXPECT_FALSE(all[0]->isChecked());
    EXPECT_TRUE(all[1]->isChecked());
    choose(all[1]); // the shown one: blank
    EXPECT_FALSE(all[1]->isChecked());
    EXPECT_EQ(list().FActiveImage, -1);
    EXPECT_EQ(qGray(window->targetPicture().pixel(960, 540)), 0);
}

TEST_F(Pictures, AnUndecodablePictureIsReportedAndTheScreenKeepsItsPicture)
{
    show.picture(S("1 A/1 a.png"), QSize(320, 200));
    const QString b = show.picture(S("1 A/2 b.png"), QSize(320, 200));
    open();
    loadThumbnails();
    const auto all = buttons();
    // Damaged before the first picture is shown: showing it prepares its neighbour in the
    // background, which must not find the intact file.
    fixtures::writeText(b, "damaged since the thumbnail was made");
    choose(all[0]);
    const QImage shown = form->imageForm()->targetPicture();
    choose(all[1]);
    EXPECT_TRUE(form->lastError().contains(b)) << form->lastError().toStdString();
    EXPECT_EQ(form->imageForm()->targetPicture(), shown);
    EXPECT_FALSE(list().FPictureShowing);
    // The pressed button is what is on the monitor: still the first picture.
    EXPECT_FALSE(all[1]->isChecked());
    EXPECT_TRUE(all[0]->isChecked());
    EXPECT_EQ(list().FActiveImage, form->ImagesFlowLayout->indexOf(all[0]));
    choose(all[0]); // the show goes on: the shown one blanks
    EXPECT_FALSE(all[0]->isChecked());
    EXPECT_EQ(list().FActiveImage, -1);
}

TEST_F(Pictures, AFolderChangeStartsSteppingAfresh)
{
    show.picture(S("1 A/1 a.png"), QSize(32, 20));
    show.picture(S("1 A/2 b.png"), QSize(32, 20));
    show.picture(S("1 A/3 c.png"), QSize(32, 20));
    open();
    loadThumbnails();
    choose(buttons()[2]);
    ASSERT_EQ(list().FActiveImage, form->ImagesFlowLayout->indexOf(buttons()[2]));
    const QImage onStage = form->imageForm()->targetPicture();
    form->UpdateImageList(show.path());
    loadThumbnails();
    EXPECT_EQ(list().FActiveImage, -1);
    QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &right); // nothing chosen in the new list: no step
    EXPECT_EQ(list().FActiveImage, -1);
    EXPECT_EQ(form->imageForm()->targetPicture(), onStage); // the monitor keeps its picture
}

TEST_F(Pictures, QuickChangesNeverJumpBack)
{
    show.picture(S("1 A/1 a.png"), QSize(32, 20));
    show.picture(S("1 A/2 b.png"), QSize(32, 20));
    show.picture(S("1 A/3 c.png"), QSize(32, 20));
    open();
    loadThumbnails();
    const auto all = buttons();
    TImageForm* window = form->imageForm();
    choose(all[0]);
    choose(all[1]);
    const QImage b = window->targetPicture();
    choose(all[2]);
    EXPECT_EQ(window->startPicture(), b); // the fade to C starts from B
    // and has just begun (C may have needed a moment to decode, while the clock ran on).
    EXPECT_LT(window->progress(), 0.5);
}

TEST_F(Pictures, CrossFadeFrameRule)
{
    QImage red(4, 4, QImage::Format_ARGB32_Premultiplied), blue(red);
    red.fill(QColor(255, 0, 0));
    blue.fill(QColor(0, 0, 255));
    QImage frame(4, 4, QImage::Format_ARGB32_Premultiplied);
    frame.fill(Qt::black);
    QPainter p(&frame);
    drawCrossFade(p, frame.rect(), red, blue, 0.5);
    p.end();
    const QColor c = frame.pixelColor(1, 1);
    EXPECT_NEAR(c.red(), 64, 2); // a quarter of the black shows half-way through
    EXPECT_NEAR(c.blue(), 128, 2);
    frame.fill(Qt::black);
    p.begin(&frame);
    drawCrossFade(p, frame.rect(), red, blue, -0.1); // Back's dip: clamped
    p.end();
    EXPECT_EQ(frame.pixelColor(1, 1), QColor(255, 0, 0));
}

TEST_F(Pictures, TheEffectMenu)
{
    show.tone(S("only-sound.wav"));
    open();
    ASSERT_EQ(form->imageForm(), nullptr);
    QAction* bounce = form->EffectPopupMenu->actions()[10];
    bounce->trigger(); // no picture window: not even stored
    EXPECT_FALSE(form->settings().ValueExists(S("Images"), S("Effect")));
    EXPECT_FALSE(bounce->isChecked());
    EXPECT_TRUE(form->EffectPopupMenu->actions()[0]->isChecked());
    closeWindow();

    show.picture(S("p.png"));
    open();
    form->EffectPopupMenu->actions()[6]->trigger();
    EXPECT_EQ(form->settings().ReadInteger(S("Images"), S("Effect"), -1), 6);
    EXPECT_EQ(form->imageForm()->effect(), 6);
    EXPECT_TRUE(form->EffectPopupMenu->actions()[6]->isChecked());
    EXPECT_FALSE(form->EffectPopupMenu->actions()[0]->isChecked());
}

TEST_F(Pictures, TheListGlidesTheShownButtonIntoView)
{
    for (int g = 1; g <= 6; ++g)
        for (int i = 1; i <= 4; ++i)
            show.picture(QStringLiteral("%1 G/%2.png").arg(g).arg(i));
    open();
    loadThumbnails();
    TScrollBox* box = form->ImagesScrollBox;
    const auto all = buttons();
    TPictureButton* last = all.back();
    list().ShowPicture(last, true);
    ASSERT_TRUE(list().scrollTimer()->isActive());
    EXPECT_EQ(list().scrollTimer()->interval(), 40);
    const double target = list().scrollTarget();
    EXPECT_DOUBLE_EQ(target + box->viewHeight(), last->y() + last->height() + 16.0);
    int steps = 0;
    while (list().scrollTimer()->isActive() && steps < 500) {
        list().ImagesScrollTimer();
        ++steps;
    }
    EXPECT_FALSE(list().scrollTimer()->isActive());
    EXPECT_DOUBLE_EQ(box->offset(), std::min(target, double(box->verticalScrollBar()->maximum())));
    // A group's first picture above the view: its header comes into view, 8 below the top.
    TPictureButton* firstOfGroup2 = all[4];
    list().ShowPicture(firstOfGroup2, true);
    QLabel* header = qobject_cast<QLabel*>(
        form->ImagesFlowLayout->childAt(form->ImagesFlowLayout->indexOf(firstOfGroup2) - 2));
    ASSERT_NE(header, nullptr);
    EXPECT_DOUBLE_EQ(list().scrollTarget(), header->y());
    // Blanking glides back to the top.
    list().ShowPicture(nullptr, false);
    EXPECT_DOUBLE_EQ(list().scrollTarget(), 0);
}

TEST_F(Pictures, ARebuildAndACloseWaitOnlyForThumbnailsBeingDecoded)
{
    for (int i = 0; i < 24; ++i)
        show.picture(QStringLiteral("%1 big.png").arg(i, 2, 10, QLatin1Char('0')),
                     QSize(1600, 1200));
    TempFolder other;
    other.picture(S("1 small.png"), QSize(64, 48));
    open();
    const int workers = list().loader().workerCount();
    ASSERT_GT(list().threads(), workers); // most are still waiting their turn
    form->UpdateImageList(other.path());
    // Only those already being decoded are still counted; the new one is queued behind them.
    EXPECT_LE(list().threads(), workers + 1);
    loadThumbnails();
    ASSERT_EQ(buttons().size(), 1);
    EXPECT_FALSE(buttons()[0]->Image()->image().isNull());

    form->UpdateImageList(show.path());
    ASSERT_GT(list().threads(), workers);
    form->close(); // refused while decodes run, then done by itself
    EXPECT_LE(list().threads(), workers);
    QElapsedTimer t;
    t.start();
    while (form->isVisible() && t.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(Pictures, AChoiceNeverWaitsForItsDecodeAndANewerOneSupersedesIt)
{
    auto solid = [&](const char* name, QSize size, QColor colour) {
        const QString path = show.prepare(S(name));
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        EXPECT_TRUE(image.save(path, "PNG", 0)); // uncompressed: slow to read, as a big slide
        return path;
    };
    solid("1 A/1 red.png", QSize(4000, 3000), Qt::red);
    solid("2 B/1 blue.png", QSize(400, 300), Qt::blue);
    solid("3 C/1 green.png", QSize(400, 300), Qt::green);
    open();
    loadThumbnails();
    TImageForm* window = form->imageForm();
    const QImage before = window->targetPicture();
    TPictureButton* red = buttons()[0];
    TPictureButton* blue = buttons()[1];

    // Chosen, not yet decoded: the choice returns at once and nothing shows it as chosen.
    QTest::mouseClick(red, Qt::LeftButton);
    EXPECT_TRUE(window->pending());
    EXPECT_FALSE(red->isChecked());
    EXPECT_EQ(window->targetPicture(), before);
    EXPECT_EQ(list().FActiveImage, form->ImagesFlowLayout->indexOf(red)); // stepping goes on
    // A newer choice while it decodes: only that one comes on stage.
    QTest::mouseClick(blue, Qt::LeftButton);
    waitForPicture();
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 1500) // long enough for the red one to finish decoding too
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(blue->isChecked());
    EXPECT_FALSE(red->isChecked());
    EXPECT_EQ(window->targetPicture().pixel(960, 540), qRgb(0, 0, 255));
    EXPECT_NE(window->startPicture().pixel(960, 540), qRgb(255, 0, 0)); // red never showed
}
