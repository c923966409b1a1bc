// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// TFolderDialog: a non-visual component that shows a modal folder chooser and hands back the
// chosen folder. It knows nothing of sounds or pictures. GUI thread only.

#include "FolderDialogRules.h"

#include <QDialog>
#include <QObject>
#include <QPointer>
#include <functional>

class QTreeView;
class QFileSystemModel;

namespace ozv {

class TFolderDialog : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(QString Title READ Title WRITE setTitle)
    Q_PROPERTY(QString Directory READ Directory WRITE setDirectory)
    Q_PROPERTY(int ImageIndex READ ImageIndex)
    Q_PROPERTY(QString Version READ Version WRITE setVersion)
public:
    explicit TFolderDialog(QObject* owner = nullptr);

    QString Caption() const { return FCaption; }
    void setCaption(const QString& v) { FCaption = v; }
    QString Title() const { return FTitle; }
    void setTitle(const QString& v) { FTitle = v; }
    QString Directory() const { return FDirectory; }
    void setDirectory(const QString& v) { FDirectory = v; }
    int ImageIndex() const { return FImageIndex; }
    TFolderOptions Options() const { return FOptions; }
    void setOptions(TFolderOptions v) { FOptions = v; }
    TDialogPosition DialogPosition() const { return FDialogPosition; }
    void setDialogPosition(TDialogPosition v) { FDialogPosition = v; }
    int DialogX() const { return FDialogX; }
    void setDialogX(int v) { FDialogX = v; }
    int DialogY() const { return FDialogY; }
    void setDialogY(int v) { FDialogY = v; }
    QString Version() const { return folderDialogVersion(); }
    void setVersion(const QString&) {}

    /// Shows the chooser modally; true when a folder was accepted (it is then in Directory).
    bool Execute();

    /// The flags the chooser is shown with.
    std::uint32_t flags() const { return browseFlags(FOptions); }
    /// Where the chooser of `size` opens, for the current placement settings.
    QPoint placement(QSize size) const;

    /// Called with the open chooser before it runs (tests drive it from here).
    std::function<void(QDialog*)> onShown;

private:
    QString FTitle;
    QString FDirectory;
    TFolderOptions FOptions = optionBit(fdoNewDialogStyle);
    int FImageIndex = 0;
    int FDialogX = 0;
    int FDialogY = 0;
    TDialogPosition FDialogPosition = fdpDefault;
    QString FCaption;
};

/// The chooser shown by TFolderDialog: a tree of folders, the instruction text, a button that
/// makes a new folder, OK and Cancel.
class TFolderChooser : public QDialog
{
    Q_OBJECT
public:
    TFolderChooser(const QString& title, const QString& start, bool newFolderButton,
                   QWidget* parent = nullptr);
    QString selectedFolder() const;
    void selectFolder(const QString& path);
    QTreeView* tree() const { return m_tree; }
    /// Makes a new folder inside the selected one and selects it; returns its path.
    QString makeNewFolder();

private:
    QTreeView* m_tree;
    QFileSystemModel* m_model;
};

} // namespace ozv
