// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "PictureBoard.h"

#include "BoardGroup.h"
#include "ImageForm.h"
#include "MediaScan.h"
#include "MonitorList.h"
#include "ScrollRules.h"

#include <QScopedValueRollback>

namespace ozv {

TPictureBoard::TPictureBoard(TScrollBox* box, TMonitorList& monitors,
                             std::function<TImageForm*()> imageForm, KeyDownHandler keyDown,
                             QObject* parent)
    : QObject(parent), m_box(box), m_monitors(monitors), m_imageForm(std::move(imageForm)),
      m_keyDown(std::move(keyDown)), m_loader(FThreads)
{
    ImagesScroll.setObjectName(QStringLiteral("ImagesScroll"));
    ImagesScroll.setInterval(40);
    connect(&ImagesScroll, &QTimer::timeout, this, &TPictureBoard::ImagesScrollTimer);
    connect(&m_loader, &TThumbnailLoader::applied, this, [this] { m_box->fitBoardHeight(); });
}

void TPictureBoard::rebuild(const QString& folder)
{
    int counter = 0;
    TFlowLayout* flow = board();
    const TFlowLayout::Update update(flow);
    m_loader.cancelPending(); // the old folder's thumbnails are not waited for
    flow->clearChildren();
    // Stepping starts afresh in the new list (the monitor keeps what it shows until the
    // operator acts).
    FActiveImage = -1;
    for (const MediaGroup& group : scanBoard(folder, kPictureExtensions))
        createGroup(group.name, group.files, counter);
}

void TPictureBoard::createGroup(const QString& groupName, const QStringList& files, int& counter)
{
    TFlowLayout* flow = board();
    addGroupHeader(flow, captionOf(groupName));
    bool first = true;
    for (const QString& file : files) {
        auto* button = new TPictureButton(file, captionOf(baseNameOf(file)));
        button->setKeyDownHandler(m_keyDown);
        connect(button, &QPushButton::clicked, this, [this, button] { ImageButtonClick(button); });
        if (first && counter < kFKeyCount) {
            button->setFKey(counter);
            ++counter;
        }
        first = false;
        flow->addChild(button);
        m_loader.load(button);
    }
}

void TPictureBoard::ImageButtonClick(TPictureButton* button)
{
    try {
        ShowPicture(button, button->isChecked());
    } catch (const std::exception& e) {
        emit failed(QString::fromStdString(e.what()));
    }
}

void TPictureBoard::ShowPicture(TPictureButton* button, bool pressed)
{
    TImageForm* form = m_imageForm();
    if (FPictureShowing || !form) return;
    QScopedValueRollback<bool> showing(FPictureShowing, true);

    m_monitors.placePictureWindow();
    TFlowLayout* flow = board();
    if (button && pressed) {
        // Stepping goes on from the chosen picture at once; its button is pressed when the
        // picture is on the monitor (at once when it was prepared, else once it is decoded).
        FActiveImage = flow->indexOf(button);
        // A click has pressed the chosen button already: until its picture is there, the
        // pressed one is still what the monitor shows.
        QAbstractButton* onScreen = nullptr;
        for (int i = 0; i < flow->childCount() && !onScreen; ++i)
            if (auto* b = qobject_cast<QAbstractButton*>(flow->childAt(i));
                b && b != button && b->isChecked())
                onScreen = b;
        pressOnly(onScreen);
        prefetchNeighbours();
        form->LoadBitmapWhenReady(button->TagString, [this, shown = QPointer<TPictureButton>(
                                                                button)](const QString& error) {
            if (!error.isEmpty()) {
                // The previous picture stays on the monitor, and so does its pressed button.
                const int chosen = shown ? board()->indexOf(shown) : -1;
                if (FActiveImage == chosen) FActiveImage = pressedIndex();
                emit failed(error);
                return;
            }
            if (!shown) return; // the list was rebuilt meanwhile
            pressOnly(shown);
        });
    } else {
        pressOnly(nullptr);
        FActiveImage = -1;
        form->LoadBitmap(QString());
    }
    FPictureShowing = false;
    scrollIntoView();
}

void TPictureBoard::pressOnly(QAbstractButton* shown)
{
    TFlowLayout* flow = board();
    for (int i = 0; i < flow->childCount(); ++i)
        if (auto* b = qobject_cast<QAbstractButton*>(flow->childAt(i))) b->setChecked(b == shown);
}

int TPictureBoard::pressedIndex() const
{
    TFlowLayout* flow = const_cast<TPictureBoard*>(this)->board();
    for (int i = 0; i < flow->childCount(); ++i)
        if (auto* b = qobject_cast<QAbstractButton*>(flow->childAt(i)); b && b->isChecked())
            return i;
    return -1;
}

void TPictureBoard::prefetchNeighbours()
{
    TImageForm* form = m_imageForm();
    TFlowLayout* flow = board();
    QStringList paths;
    for (int i : {FActiveImage + 1, FActiveImage - 1})
        if (auto* b = qobject_cast<TPictureButton*>(flow->childAt(i))) paths << b->TagString;
    QString current;
    if (auto* b = qobject_cast<TPictureButton*>(flow->childAt(FActiveImage)))
        current = b->TagString;
    form->cache().prefetch(paths, form->pictureSize(), current);
}

void TPictureBoard::scrollIntoView()
{
    ImagesScroll.stop();
    TFlowLayout* flow = board();
    const double viewTop = m_box->offset();
    double top = 0, bottom = 0;
    if (QWidget* shown = flow->childAt(FActiveImage)) {
        QRect r = shown->geometry();
        if (FActiveImage > 1)
            if (auto* header = qobject_cast<QLabel*>(flow->childAt(FActiveImage - 2)))
                r = r.united(header->geometry());
        top = r.y();
        bottom = r.y() + r.height();
    }
    bottom += 16;
    const double newTop = scroll::targetTop(viewTop, m_box->viewHeight(), top, bottom);
    if (newTop != viewTop) {
        m_scrollTarget = newTop;
        ImagesScroll.start();
    }
}

void TPictureBoard::ImagesScrollTimer()
{
    bool arrived = false;
    const double before = m_box->offset();
    m_box->setOffset(scroll::glideStep(before, m_scrollTarget, &arrived));
    // A target outside the scrolling range is reached as far as the range allows.
    if (arrived || m_box->offset() == before) ImagesScroll.stop();
}

} // namespace ozv
