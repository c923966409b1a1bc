// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
// The main window: its layout and texts, the split and size rules, rebuilding the boards, the
// settings it stores and writes.

#include "FolderDialog.h"
#include "ImageForm.h"
#include "MonitorList.h"
#include "PictureBoard.h"
#include "ScrollBox.h"
#include "SettingsSaver.h"
#include "SoundBoard.h"
#include "WidgetFixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace ozv;
using namespace ozv::test;

namespace {
QString S(const char* t)
{
    return QString::fromUtf8(t);
}

// What a board holds, as text: "|" for a line break, "[caption]" for a header, a button's text.
QStringList boardText(TFlowLayout* board)
{
    QStringList out;
    for (int i = 0; i < board->childCount(); ++i) {
        QWidget* w = board->childAt(i);
        if (qobject_cast<TLineBreak*>(w))
            out << S("|");
        else if (auto* l = qobject_cast<QLabel*>(w))
            out << u'[' + l->text() + u']';
        else if (auto* b = qobject_cast<QAbstractButton*>(w))
            out << b->text();
    }
    return out;
}
} // namespace

using MainWindow = WidgetTest;

TEST_F(MainWindow, LayoutAndTexts)
{
    TMainForm& f = open();
    EXPECT_EQ(f.windowTitle(), S("Ozvenka (1.0.3)"));
    EXPECT_EQ(f.FolderEdit->placeholderText(),
              S("Stiskněte tlačítko pro výběr složky zvukových souborů"));
    EXPECT_TRUE(f.FolderEdit->isReadOnly());
    EXPECT_EQ(f.FolderEdit->height(), 32);
    EXPECT_EQ(f.VolumesResetBtn->text(), S("Obnovit hlasitost"));
    EXPECT_EQ(f.VolumesResetBtn->size(), QSize(160, 32));
    EXPECT_EQ(f.VolumesResetBtn->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(f.PanelSoundControls->height(), 48);
    EXPECT_EQ(f.PanelImageControls->height(), 48);
    EXPECT_EQ(f.EffectImg->size(), QSize(32, 32));
    EXPECT_EQ(f.ImagesSplitter->width(), 8);
    QStringList effects;
    for (QAction* a : f.EffectPopupMenu->actions())
        effects << a->text();
    EXPECT_EQ(effects, QStringList({S("Linear"), S("Quadratic"), S("Cubic"), S("Quartic"),
                                    S("Quintic"), S("Sinusoidal"), S("Exponential"), S("Circular"),
                                    S("Elastic"), S("Back"), S("Bounce")}));
    EXPECT_TRUE(f.EffectPopupMenu->actions()[0]->isChecked());
    EXPECT_EQ(f.FolderDlg->Caption(), S("Zvukové soubory"));
    EXPECT_EQ(f.FolderDlg->Title(),
              S("Vyberte základní složku se zvukovými soubory. Podsložky vytvoří skupiny."));
    EXPECT_EQ(f.FolderDlg->flags(), 0x40u);
    EXPECT_EQ(f.FolderDlg->Version(), S("1.1.4.0"));
    EXPECT_EQ(f.monitors().DisplayChanged.interval(), 200);
    EXPECT_TRUE(f.monitors().DisplayChanged.isActive());
    EXPECT_FALSE(f.sounds().playbackTimer()->isActive());
    EXPECT_EQ(f.SoundsFlowLayout->height(), 16); // an empty board
}

TEST_F(MainWindow, BuildsBothBoardsFromTheFolder)
{
    show.tone(S("2 Entrance.wav"));
    show.tone(S("1. Overture.mp3"));
    show.tone(S("03 Act two/1 Storm.wav"));
    show.picture(S("03 Act two/1 Forest.jpg"));
    show.tone(S("1 Act one/Bell.wav"));
    show.touch(S("Empty/readme.txt"));
    TMainForm& f = open();
    EXPECT_EQ(f.FolderEdit->text(), show.path() + u'/');
    EXPECT_TRUE(f.ClearEditButton->isVisible());
    EXPECT_EQ(boardText(f.SoundsFlowLayout),
              QStringList({S("[(vybraná složka)]"), S("|"), S("Overture"), S("Entrance"), S("|"),
                           S("[Act one]"), S("|"), S("Bell"), S("|"), S("[Act two]"), S("|"),
                           S("Storm")}));
    EXPECT_EQ(boardText(f.ImagesFlowLayout), QStringList({S("[Act two]"), S("|"), S("Forest")}));
    // The board is fitted to its content: 16 below the last row.
    QWidget* last = f.SoundsFlowLayout->childAt(f.SoundsFlowLayout->childCount() - 1);
    EXPECT_EQ(f.SoundsFlowLayout->height(), last->y() + last->height() + 16);
    EXPECT_EQ(f.settings().ReadString(S("Application"), S("Folder"), S("")), show.path() + u'/');
}

TEST_F(MainWindow, ClearingAndAVanishedFolder)
{
    show.tone(S("a.wav"));
    show.picture(S("p.png"));
    TMainForm& f = open();
    ASSERT_EQ(f.sounds().buttons().size(), 1);
    f.ClearEditButtonClick();
    EXPECT_EQ(f.SoundsFlowLayout->childCount(), 0);
    EXPECT_EQ(f.ImagesFlowLayout->childCount(), 0);
    EXPECT_FALSE(f.ClearEditButton->isVisible());
    EXPECT_TRUE(f.FolderEdit->text().isEmpty());
    EXPECT_FALSE(f.settings().ValueExists(S("Application"), S("Folder")));
    EXPECT_FALSE(f.PanelImages->isVisible());

    f.UpdateSoundButtons(show.path(S("gone")));
    EXPECT_EQ(f.SoundsFlowLayout->childCount(), 0);
    EXPECT_FALSE(f.settings().ValueExists(S("Application"), S("Folder")));
}

TEST_F(MainWindow, SplitFollowsTheStoredRatio)
{
    show.picture(S("p.png"));
    fixtures::writeText(settingsPath(), "[Application]\r\nSplit=0.25\r\n");
    TMainForm& f = open();
    f.resize(1200, 700);
    QApplication::processEvents();
    EXPECT_EQ(f.PanelImages->width(), 352); // (1200 - 738) * 0.25 + 236 = 351.5
    EXPECT_EQ(f.PanelSounds->width(), 1200 - 8 - 352);
    f.resize(1600, 700); // widening keeps the share
    QApplication::processEvents();
    EXPECT_EQ(f.PanelImages->width(), int(std::lround((1600 - 738) * 0.25 + 236)));
    EXPECT_EQ(f.settings().ReadString(S("Application"), S("Split"), S("")),
              S("0.25")); // nothing stored
}

TEST_F(MainWindow, SplitterDragAndRelease)
{
    show.picture(S("p.png"));
    TMainForm& f = open();
    f.resize(1200, 700);
    QApplication::processEvents();
    ASSERT_TRUE(f.PanelImages->isVisible());
    // Dragged far to the left: the sound side stops at 494; released there the share is 1.
    emit f.ImagesSplitter->dragged(-5000);
    EXPECT_EQ(f.PanelImages->width(), 1200 - 8 - 494);
    f.ImagesSplitterMouseUp(Qt::RightButton);
    EXPECT_FALSE(f.settings().ValueExists(S("Application"), S("Split")));
    f.ImagesSplitterMouseUp(Qt::LeftButton);
    EXPECT_EQ(f.settings().ReadFloat(S("Application"), S("Split"), -1), 1.0);
    EXPECT_TRUE(f.saver().timer()->isActive());
    // Dragged far to the right: the picture panel stops at its minimum.
    emit f.ImagesSplitter->dragged(5000);
    EXPECT_EQ(f.PanelImages->width(), 236);
    f.ImagesSplitterMouseUp(Qt::LeftButton);
    EXPECT_EQ(f.settings().ReadFloat(S("Application"), S("Split"), -1), 0.0);
}

TEST_F(MainWindow, MinimumSizes)
{
    TMainForm& f = open();
    f.SetBounds(10, 10, 300, 150);
    QApplication::processEvents();
    EXPECT_EQ(f.width(), 738);
    EXPECT_EQ(f.height(), 200);
}

TEST_F(MainWindow, WritesTheSettingsAtTheEndEvenWithoutChanges)
{
    fixtures::writeText(settingsPath(), "\xEF\xBB\xBF[Images]\r\nEffect=4\r\n; a comment\r\n");
    open();
    closeWindow();
    const QByteArray written = readAll(settingsPath());
    EXPECT_TRUE(
        written.startsWith("\xEF\xBB\xBF[Images]\r\nEffect=4\r\n\r\n[Application]\r\nFolder="));
    EXPECT_FALSE(written.contains("comment"));
}

TEST_F(MainWindow, DelayedSaveIsScheduledAtStartUp)
{
    TMainForm& f = open();
    EXPECT_TRUE(f.saver().timer()->isActive()); // the rebuild stored the folder
    EXPECT_EQ(f.saver().timer()->interval(), 1000);
    EXPECT_EQ(f.saver().state().countdown(), 5);
    for (int i = 0; i < 5; ++i)
        f.saver().SettingSaverTimer();
    EXPECT_FALSE(QFileInfo::exists(settingsPath()));
    f.saver().SettingSaverTimer(); // the sixth tick writes, off the GUI thread
    f.saver().waitForWrite();
    EXPECT_TRUE(QFileInfo::exists(settingsPath()));
    EXPECT_FALSE(f.saver().timer()->isActive());
}

TEST_F(MainWindow, AFailingWriteIsReportedAndRetried)
{
    form = std::make_unique<TMainForm>(*engine, displays, config.path(S("no/such/dir/s.ini")),
                                       show.path());
    form->show();
    QApplication::processEvents();
    for (int i = 0; i < 6; ++i)
        form->saver().SettingSaverTimer();
    form->saver().waitForWrite();
    EXPECT_TRUE(form->lastError().startsWith(S("Soubor \"")));
    EXPECT_TRUE(form->saver().timer()->isActive()); // tried again on the next tick
    form.reset();
}

TEST_F(MainWindow, AnUnreadableSettingsFileStopsTheStart)
{
    fixtures::writeText(settingsPath(), "[Application]\r\nFolder=\xFF\xFE\r\n");
    EXPECT_THROW(TMainForm(*engine, displays, settingsPath()), IniLoadError);
    EXPECT_EQ(readAll(settingsPath()), QByteArray("[Application]\r\nFolder=\xFF\xFE\r\n"));
}

TEST_F(MainWindow, TheRealScreensAreRead)
{
    // The offscreen platform of this test run has two screens.
    const auto screens = ScreenDisplays().displays();
    ASSERT_EQ(screens.size(), 2u);
    EXPECT_EQ(screens[1].bounds, QRect(1280, 0, 1920, 1080));
}

TEST_F(MainWindow, AFolderFromTheCommandLineIsKeptAbsoluteAndAMissingOneChangesNothing)
{
    const QString stored = show.path() + u'/';
    show.tone(S("1 a.wav"));
    show.tone(S("Jinde/1 b.wav"));
    fixtures::writeText(settingsPath(),
                        (S("[Application]\r\nFolder=") + stored + S("\r\n")).toUtf8());

    // A mistyped folder: said, and the stored show opens as if none had been given.
    open(S("/no/such/show"));
    EXPECT_TRUE(form->lastError().contains(S("/no/such/show"))) << form->lastError().toStdString();
    EXPECT_EQ(form->FolderEdit->text(), stored);
    closeWindow();
    EXPECT_TRUE(readAll(settingsPath()).contains((S("Folder=") + stored).toUtf8()));

    // A relative folder is the folder it names from here, and is kept so.
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(show.path()));
    open(S("./Jinde/../Jinde"));
    QDir::setCurrent(before);
    EXPECT_EQ(form->FolderEdit->text(), show.path(S("Jinde/")));
    ASSERT_EQ(form->sounds().buttons().size(), 1);
    form->sounds().buttons()[0]->TrackBar()->setValue(20);
    closeWindow();
    const QByteArray written = readAll(settingsPath());
    EXPECT_TRUE(written.contains((S("Folder=") + show.path(S("Jinde/"))).toUtf8()))
        << written.data();
    EXPECT_TRUE(written.contains((u'[' + show.path(S("Jinde")) + u']').toUtf8())) << written.data();
}
