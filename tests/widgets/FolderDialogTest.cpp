// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
// The folder chooser: opening on a folder, choosing one, cancelling, making a new folder.

#include "FolderDialog.h"
#include "WidgetFixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTreeView>

using namespace ozv;
using namespace ozv::test;

TEST(FolderDialog, ChoosesASubFolder)
{
    TempFolder dir;
    QDir().mkpath(dir.path(QStringLiteral("Show/Act 1")));
    TFolderDialog dialog;
    EXPECT_EQ(dialog.Directory(), QDir::currentPath());
    EXPECT_EQ(dialog.Options(), optionBit(fdoNewDialogStyle));
    dialog.setCaption(QStringLiteral("Zvukové soubory"));
    dialog.setTitle(QStringLiteral("Vyberte složku"));
    dialog.setDirectory(dir.path(QStringLiteral("Show")));
    QString opened, title, instruction;
    dialog.onShown = [&](QDialog* d) {
        auto* chooser = static_cast<TFolderChooser*>(d);
        opened = chooser->selectedFolder();
        title = chooser->windowTitle();
        instruction = chooser->findChild<QLabel*>(QStringLiteral("Instruction"))->text();
        chooser->selectFolder(dir.path(QStringLiteral("Show/Act 1")));
        chooser->accept();
    };
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(opened, dir.path(QStringLiteral("Show")));
    EXPECT_EQ(title, QStringLiteral("Zvukové soubory"));
    EXPECT_EQ(instruction, QStringLiteral("Vyberte složku"));
    EXPECT_EQ(dialog.Directory(), dir.path(QStringLiteral("Show/Act 1")));

    // The next time it opens on the folder chosen last; a cancel changes nothing.
    dialog.onShown = [&](QDialog* d) {
        opened = static_cast<TFolderChooser*>(d)->selectedFolder();
        d->reject();
    };
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(opened, dir.path(QStringLiteral("Show/Act 1")));
    EXPECT_EQ(dialog.Directory(), dir.path(QStringLiteral("Show/Act 1")));
}

TEST(FolderDialog, AFileAsStartFolderFallsBackToTheWorkingDirectory)
{
    TempFolder dir;
    TFolderDialog dialog;
    dialog.setDirectory(dir.touch(QStringLiteral("file.txt")));
    dialog.setVersion(QStringLiteral("9.9"));
    dialog.onShown = [](QDialog* d) { d->reject(); };
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.Directory(), QDir::currentPath());
    EXPECT_EQ(dialog.Version(), QStringLiteral("1.1.4.0"));
}

TEST(FolderDialog, MakesANewFolder)
{
    TempFolder dir;
    TFolderDialog dialog;
    dialog.setDirectory(dir.path());
    QString made;
    dialog.onShown = [&](QDialog* d) {
        made = static_cast<TFolderChooser*>(d)->makeNewFolder();
        d->accept();
    };
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(made, dir.path(QStringLiteral("Nová složka")));
    EXPECT_TRUE(QFileInfo(made).isDir());
    EXPECT_EQ(dialog.Directory(), made);
}

TEST(FolderDialog, ChoosingRenamesNothing)
{
    TempFolder dir;
    QDir().mkpath(dir.path(QStringLiteral("Show")));
    TFolderDialog dialog;
    dialog.setDirectory(dir.path(QStringLiteral("Show")));
    bool editable = true, renamed = true;
    dialog.onShown = [&](QDialog* d) {
        auto* tree = d->findChild<QTreeView*>();
        const QModelIndex current = tree->currentIndex();
        editable = tree->model()->flags(current).testFlag(Qt::ItemIsEditable);
        QTest::keyClick(tree, Qt::Key_F2); // the platform's rename key
        QWidget* editor = QApplication::focusWidget() ? QApplication::focusWidget() : tree;
        QTest::keyClicks(editor, QStringLiteral("Renamed"));
        QTest::keyClick(editor, Qt::Key_Return);
        renamed = tree->model()->setData(current, QStringLiteral("Renamed"));
        d->reject();
    };
    dialog.Execute();
    EXPECT_FALSE(editable);
    EXPECT_FALSE(renamed);
    EXPECT_TRUE(QFileInfo(dir.path(QStringLiteral("Show"))).isDir());
    EXPECT_FALSE(QFileInfo::exists(dir.path(QStringLiteral("Renamed"))));
}

TEST(FolderDialog, Placement)
{
    TFolderDialog dialog;
    dialog.setDialogPosition(fdpXY);
    dialog.setDialogX(-50);
    dialog.setDialogY(30);
    EXPECT_EQ(dialog.placement(QSize(300, 200)), QPoint(0, 30));
    dialog.setDialogPosition(fdpDefault); // 20 right of and below the primary screen's centre
    EXPECT_EQ(dialog.placement(QSize(300, 200)), QPoint(640 + 20, 400 + 20));
}

using MainWindowFolder = WidgetTest;

TEST_F(MainWindowFolder, TheEllipsisButtonRebuildsFromTheChosenFolder)
{
    show.tone(QStringLiteral("Other show/1 Bell.wav"));
    TMainForm& f = open(show.path(QStringLiteral("Other show/..")));
    f.FolderDlg->setDirectory(show.path());
    f.FolderDlg->onShown = [&](QDialog* d) {
        static_cast<TFolderChooser*>(d)->selectFolder(show.path(QStringLiteral("Other show")));
        d->accept();
    };
    f.EllipsesEditButton->trigger();
    EXPECT_EQ(f.FolderEdit->text(), show.path(QStringLiteral("Other show/")));
    ASSERT_EQ(f.SoundsFlowLayout->childCount(), 3);
    EXPECT_EQ(qobject_cast<QAbstractButton*>(f.SoundsFlowLayout->childAt(2))->text(),
              QStringLiteral("Bell"));

    f.FolderDlg->onShown = [](QDialog* d) { d->reject(); }; // cancelling changes nothing
    f.EllipsesEditButton->trigger();
    EXPECT_EQ(f.FolderEdit->text(), show.path(QStringLiteral("Other show/")));
}
