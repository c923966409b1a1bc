// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "FolderDialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

namespace ozv {

TFolderDialog::TFolderDialog(QObject* owner) : QObject(owner), FDirectory(QDir::currentPath()) {}

QPoint TFolderDialog::placement(QSize size) const
{
    // The owner rectangle is the centre point of the primary screen (a window of no size).
    QRect owner, workArea;
    if (const QScreen* primary = QGuiApplication::primaryScreen()) {
        const QRect g = primary->geometry();
        owner = QRect(g.x() + g.width() / 2, g.y() + g.height() / 2, 0, 0);
        workArea = primary->availableGeometry();
    }
    return dialogPlacement(FDialogPosition, owner, workArea, size, QPoint(FDialogX, FDialogY));
}

bool TFolderDialog::Execute()
{
    const QFileInfo start(FDirectory);
    if (!start.exists() || !start.isDir()) FDirectory = QDir::currentPath();
    bool result = false;
    try {
        TFolderChooser chooser(FTitle, FDirectory, !(FOptions & optionBit(fdoNoNewFolderButton)));
        if (!FCaption.isEmpty()) chooser.setWindowTitle(FCaption);
        chooser.adjustSize();
        if (FDialogPosition == fdpScreenCenter) {
            // The work area of the monitor nearest the chooser.
            const QScreen* screen = QGuiApplication::screenAt(chooser.geometry().center());
            if (!screen) screen = QGuiApplication::primaryScreen();
            if (screen)
                chooser.move(dialogPlacement(fdpScreenCenter, {}, screen->availableGeometry(),
                                             chooser.size(), {}));
        } else {
            chooser.move(placement(chooser.size()));
        }
        if (onShown) QTimer::singleShot(0, &chooser, [this, &chooser] { onShown(&chooser); });
        if (chooser.exec() == QDialog::Accepted) {
            const QString chosen = chooser.selectedFolder();
            if (!chosen.isEmpty() && QFileInfo(chosen).isDir()) {
                FDirectory = chosen;
                FImageIndex = 0;
                result = true;
            }
        }
    } catch (...) {
        result = false; // anything that goes wrong while the chooser runs counts as a cancel
    }
    return result;
}

TFolderChooser::TFolderChooser(const QString& title, const QString& start, bool newFolderButton,
                               QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FolderChooser"));
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    auto* instruction = new QLabel(title, this);
    instruction->setObjectName(QStringLiteral("Instruction"));
    instruction->setWordWrap(true);
    layout->addWidget(instruction);

    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::Drives);
    m_model->setRootPath(QDir::rootPath());
    // Choosing a folder changes nothing on the disk: no renaming (double-click, F2) and no
    // dragging; only "Nová složka" makes a folder.
    m_model->setReadOnly(true);
    m_tree = new QTreeView(this);
    m_tree->setModel(m_model);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setDragDropMode(QAbstractItemView::NoDragDrop);
    for (int c = 1; c < m_model->columnCount(); ++c)
        m_tree->hideColumn(c);
    m_tree->header()->hide();
    m_tree->setMinimumSize(380, 360);
    layout->addWidget(m_tree);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    if (newFolderButton) {
        QPushButton* make =
            buttons->addButton(QStringLiteral("Nová složka"), QDialogButtonBox::ActionRole);
        make->setObjectName(QStringLiteral("NewFolder"));
        connect(make, &QPushButton::clicked, this, [this] { makeNewFolder(); });
    }
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    // Keep the selection in view whenever it changes (also once the model has loaded it).
    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { m_tree->scrollTo(current); });
    connect(m_model, &QFileSystemModel::directoryLoaded, this,
            [this] { m_tree->scrollTo(m_tree->currentIndex()); });
    selectFolder(start);
}

void TFolderChooser::selectFolder(const QString& path)
{
    const QModelIndex index = m_model->index(QDir::cleanPath(path));
    if (!index.isValid()) return;
    m_tree->expand(index.parent());
    m_tree->setCurrentIndex(index);
    m_tree->scrollTo(index);
}

QString TFolderChooser::selectedFolder() const
{
    const QModelIndex index = m_tree->currentIndex();
    return index.isValid() ? m_model->filePath(index) : QString();
}

QString TFolderChooser::makeNewFolder()
{
    QModelIndex parent = m_tree->currentIndex();
    if (!parent.isValid()) return QString();
    QString name = QStringLiteral("Nová složka");
    const QDir dir(m_model->filePath(parent));
    for (int n = 2; dir.exists(name); ++n)
        name = QStringLiteral("Nová složka (%1)").arg(n);
    const QModelIndex made = m_model->mkdir(parent, name);
    if (!made.isValid()) return QString();
    m_tree->expand(parent);
    m_tree->setCurrentIndex(made);
    return m_model->filePath(made);
}

} // namespace ozv
