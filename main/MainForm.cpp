// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "MainForm.h"

#include "AudioEngine.h"
#include "Displays.h"
#include "Easing.h"
#include "EffectIcon.h"
#include "FileAccess.h"
#include "FolderDialog.h"
#include "ImageForm.h"
#include "KeyRepeatFilter.h"
#include "KeyboardControl.h"
#include "MediaPlayer.h"
#include "MediaScan.h"
#include "MonitorList.h"
#include "NowPlayingBand.h"
#include "OutputSelector.h"
#include "PictureBoard.h"
#include "PictureButton.h"
#include "ReadyCounter.h"
#include "ScrollBox.h"
#include "SettingsKeys.h"
#include "SettingsSaver.h"
#include "SoundBoard.h"
#include "SoundButton.h"
#include "SplitRules.h"
#include "StopAllKey.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>

namespace ozv {

TSplitterHandle::TSplitterHandle(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ImagesSplitter"));
    setFixedWidth(split::kSplitterWidth);
    setCursor(Qt::SplitHCursor);
}

void TSplitterHandle::mousePressEvent(QMouseEvent* e)
{
    m_pressX = int(e->globalPosition().x());
    m_dragging = e->button() == Qt::LeftButton;
}

void TSplitterHandle::mouseMoveEvent(QMouseEvent* e)
{
    if (!m_dragging) return;
    const int x = int(e->globalPosition().x());
    emit dragged(x - m_pressX);
    m_pressX = x;
}

void TSplitterHandle::mouseReleaseEvent(QMouseEvent* e)
{
    m_dragging = false;
    emit released(e->button());
}

void TSplitterHandle::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect().adjusted(3, 0, -3, 0), palette().color(QPalette::Mid));
}

namespace {

QPixmap ellipsisIcon()
{
    QPixmap pm(28, 28);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QApplication::palette().color(QPalette::Text));
    for (int i = 0; i < 3; ++i)
        p.drawEllipse(QPointF(8.0 + 6 * i, 14.0), 1.8, 1.8);
    return pm;
}

} // namespace

TMainForm::TMainForm(audio::AudioEngine& engine, const DisplaySource& displays,
                     const QString& settingsPath, const QString& startFolder, QWidget* parent)
    : QWidget(parent), m_engine(engine), m_displays(displays), m_startFolder(startFolder)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(kCaption);
    resize(816, 487);
    buildLayout();

    // Creation: the display under the window, the settings store, the effect menu.
    FSettings = std::make_unique<IniStore>(settingsPath);
    m_saver = std::make_unique<TSettingsSaver>(
        *FSettings, [this](const QString& m) { reportSettingsError(m); });
    auto keyDown = [this](QObject* sender, KeyArgs& args) { FormKeyDown(sender, args); };
    auto save = [this] { SaveSettings(); };
    m_sounds = new TSoundBoard(SoundsFlowLayout, *FSettings, m_engine, save, keyDown, this);
    m_monitors = new TMonitorList(
        cbMonitor, *FSettings, m_displays, [this] { return frameGeometry(); },
        [this] { return m_imageForm.get(); }, save, this);
    m_pictures = new TPictureBoard(
        ImagesScrollBox, *m_monitors, [this] { return m_imageForm.get(); }, keyDown, this);
    connect(m_pictures, &TPictureBoard::failed, this, &TMainForm::reportError);
    m_nowPlaying = new TNowPlayingBand(*m_sounds, PanelSounds);
    static_cast<QVBoxLayout*>(PanelSounds->layout())->insertWidget(1, m_nowPlaying);
    connect(StopAllBtn, &QPushButton::clicked, m_sounds, &TSoundBoard::StopAllPressed);
    m_output = new TOutputSelector(
        m_engine, *FSettings, save, [this](const QString& m) { reportError(m); }, SoundsScrollBox);
    PanelSounds->layout()->addWidget(m_output);
    connect(m_sounds, &TSoundBoard::started, m_output, &TOutputSelector::soundStarted);
    m_ready = new TReadyCounter([this] {
        int ready = 0, all = 0;
        for (TSoundButton* b : m_sounds->buttons()) {
            ++all;
            ready += b->MediaPlayer()->ready() ? 1 : 0;
        }
        int pictures = 0;
        for (int i = 0; i < ImagesFlowLayout->childCount(); ++i)
            pictures += qobject_cast<TPictureButton*>(ImagesFlowLayout->childAt(i)) ? 1 : 0;
        all += pictures;
        ready += std::max(0, pictures - m_pictures->threads());
        return std::pair{ready, all};
    });
    m_output->addAtStart(m_ready);
    connect(cbMonitor, &QComboBox::currentIndexChanged, this, &TMainForm::updateStage);
    m_keys = std::make_unique<TKeyboardControl>(*m_sounds, *m_pictures,
                                                [this](const QString& m) { reportError(m); });
    CreateEffectMenu();
    m_monitors->DisplayChanged.start();
    watchDisplays();
    // The repeat filter, installed last, sees every key first: a held Space stops once.
    qApp->installEventFilter(new TStopAllKey(this, [this] { m_sounds->StopAllPressed(); }));
    qApp->installEventFilter(new TKeyRepeatFilter(this)); // a held key counts once

    confirmReset = [this] {
        QMessageBox box(QMessageBox::Question, windowTitle(),
                        QStringLiteral("Obnovit hlasitost u všech souborů?"),
                        QMessageBox::Ok | QMessageBox::Cancel, this);
        // Enter must not erase every stored volume: an operator presses it for the next
        // picture. The answer that changes nothing is the default.
        box.setDefaultButton(QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
        const int answer = box.exec();
        return answer == QMessageBox::Ok || answer == QMessageBox::Yes ||
               answer == QMessageBox::YesToAll;
    };
}

TMainForm::~TMainForm()
{
    // Stop the show before anything is freed, then write the settings once more.
    m_sounds->StopAllSounds();
    SoundsFlowLayout->clearChildren();
    ImagesFlowLayout->clearChildren();
    m_imageForm.reset();
    QString error;
    if (!writeSettingsNow(&error)) {
        std::fprintf(stderr, "ozvenka: %s\n", qUtf8Printable(error));
        if (finalWriteFailed) finalWriteFailed();
    }
}

void TMainForm::buildLayout()
{
    auto* root = new QHBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    root->setSizeConstraint(QLayout::SetNoConstraint);
    setMinimumSize(split::kMinClientWidth, split::kMinWindowHeight);

    PanelSounds = new QWidget(this);
    PanelSounds->setObjectName(QStringLiteral("PanelSounds"));
    auto* soundsLayout = new QVBoxLayout(PanelSounds);
    soundsLayout->setContentsMargins(0, 0, 0, 0);
    soundsLayout->setSpacing(0);

    PanelSoundControls = new QWidget(PanelSounds);
    PanelSoundControls->setObjectName(QStringLiteral("PanelSoundControls"));
    PanelSoundControls->setFixedHeight(48);
    auto* strip = new QHBoxLayout(PanelSoundControls);
    strip->setContentsMargins(8, 8, 8, 8);
    strip->setSpacing(8);
    FolderEdit = new QLineEdit(PanelSoundControls);
    FolderEdit->setObjectName(QStringLiteral("FolderEdit"));
    FolderEdit->setReadOnly(true);
    FolderEdit->setFocusPolicy(Qt::NoFocus);
    FolderEdit->setFixedHeight(32);
    FolderEdit->setPlaceholderText(
        QStringLiteral("Stiskněte tlačítko pro výběr složky zvukových souborů"));
    // Trailing actions stand right to left in the order they are added: "…" at the right end,
    // the clear button before it.
    EllipsesEditButton = FolderEdit->addAction(QIcon(ellipsisIcon()), QLineEdit::TrailingPosition);
    EllipsesEditButton->setObjectName(QStringLiteral("EllipsesEditButton"));
    ClearEditButton = FolderEdit->addAction(style()->standardIcon(QStyle::SP_LineEditClearButton),
                                            QLineEdit::TrailingPosition);
    ClearEditButton->setObjectName(QStringLiteral("ClearEditButton"));
    ClearEditButton->setVisible(false);
    connect(ClearEditButton, &QAction::triggered, this, &TMainForm::ClearEditButtonClick);
    connect(EllipsesEditButton, &QAction::triggered, this, &TMainForm::EllipsesEditButtonClick);
    strip->addWidget(FolderEdit, 1);
    // Silences the show at once (Space does the same from anywhere in the window); the
    // folder and the board stay.
    StopAllBtn = new QPushButton(QStringLiteral("Zastavit vše"), PanelSoundControls);
    StopAllBtn->setObjectName(QStringLiteral("StopAllBtn"));
    StopAllBtn->setFocusPolicy(Qt::NoFocus);
    StopAllBtn->setFixedSize(160, FolderEdit->height());
    StopAllBtn->setStyleSheet(QStringLiteral(
        "QPushButton { background: #B3261E; color: white; font-weight: bold; font-size: 12pt;"
        " border: 1px solid white; border-radius: 3px; }"
        "QPushButton:pressed { background: #7A1A14; }"));
    strip->addWidget(StopAllBtn);
    VolumesResetBtn = new QPushButton(QStringLiteral("Obnovit hlasitost"), PanelSoundControls);
    VolumesResetBtn->setObjectName(QStringLiteral("VolumesResetBtn"));
    VolumesResetBtn->setFocusPolicy(Qt::NoFocus);
    VolumesResetBtn->setFixedSize(160, FolderEdit->height());
    connect(VolumesResetBtn, &QPushButton::clicked, this, &TMainForm::VolumesResetBtnClick);
    strip->addWidget(VolumesResetBtn);
    soundsLayout->addWidget(PanelSoundControls);

    SoundsScrollBox = new TScrollBox(PanelSounds);
    SoundsScrollBox->setObjectName(QStringLiteral("SoundsScrollBox"));
    SoundsFlowLayout = SoundsScrollBox->board();
    SoundsFlowLayout->setObjectName(QStringLiteral("SoundsFlowLayout"));
    connect(SoundsScrollBox, &TScrollBox::resized, this, &TMainForm::UpdateSoundsHeight);
    soundsLayout->addWidget(SoundsScrollBox, 1);
    root->addWidget(PanelSounds, 1);

    ImagesSplitter = new TSplitterHandle(this);
    connect(ImagesSplitter, &TSplitterHandle::dragged, this, [this](int dx) {
        if (!FInitialized || FResizing) return;
        setPanelImagesWidth(PanelImages->width() - dx);
        PanelImagesResize();
    });
    connect(ImagesSplitter, &TSplitterHandle::released, this, &TMainForm::ImagesSplitterMouseUp);
    root->addWidget(ImagesSplitter);

    PanelImages = new QWidget(this);
    PanelImages->setObjectName(QStringLiteral("PanelImages"));
    PanelImages->setFixedWidth(split::kSplitterMinSize);
    PanelImages->installEventFilter(this);
    auto* imagesLayout = new QVBoxLayout(PanelImages);
    imagesLayout->setContentsMargins(0, 0, 0, 0);
    imagesLayout->setSpacing(0);
    PanelImageControls = new QWidget(PanelImages);
    PanelImageControls->setObjectName(QStringLiteral("PanelImageControls"));
    PanelImageControls->setFixedHeight(48);
    auto* imageStrip = new QHBoxLayout(PanelImageControls);
    imageStrip->setContentsMargins(0, 8, 8, 8);
    imageStrip->setSpacing(8);
    cbMonitor = new QComboBox(PanelImageControls);
    cbMonitor->setObjectName(QStringLiteral("cbMonitor"));
    cbMonitor->setFixedHeight(32);
    cbMonitor->setFocusPolicy(Qt::NoFocus); // keys stay with the show
    cbMonitor->installEventFilter(this);    // and so does the wheel
    imageStrip->addWidget(cbMonitor, 1);
    EffectImg = new QLabel(PanelImageControls);
    EffectImg->setObjectName(QStringLiteral("EffectImg"));
    EffectImg->setFixedSize(32, 32);
    EffectImg->setPixmap(drawEffectIcon(32 * int(std::ceil(devicePixelRatioF())), Qt::white));
    EffectImg->setScaledContents(true);
    EffectImg->installEventFilter(this);
    imageStrip->addWidget(EffectImg);
    imagesLayout->addWidget(PanelImageControls);
    ImagesScrollBox = new TScrollBox(PanelImages);
    ImagesScrollBox->setObjectName(QStringLiteral("ImagesScrollBox"));
    ImagesFlowLayout = ImagesScrollBox->board();
    ImagesFlowLayout->setObjectName(QStringLiteral("ImagesFlowLayout"));
    connect(ImagesScrollBox, &TScrollBox::resized, this, &TMainForm::UpdateImagesHeight);
    imagesLayout->addWidget(ImagesScrollBox, 1);
    root->addWidget(PanelImages);
    PanelImages->hide();
    ImagesSplitter->hide();

    EffectPopupMenu = new QMenu(this);
    EffectPopupMenu->setObjectName(QStringLiteral("EffectPopupMenu"));

    FolderDlg = new TFolderDialog(this);
    FolderDlg->setObjectName(QStringLiteral("FolderDlg"));
    FolderDlg->setCaption(QStringLiteral("Zvukové soubory"));
    FolderDlg->setTitle(
        QStringLiteral("Vyberte základní složku se zvukovými soubory. Podsložky vytvoří skupiny."));
    FolderDlg->setOptions(optionBit(fdoNewDialogStyle));
    FolderDlg->setDialogX(0);
    FolderDlg->setDialogY(0);
}

void TMainForm::SaveSettings()
{
    m_saver->SaveSettings();
}

bool TMainForm::writeSettingsNow(QString* error)
{
    return m_saver->writeNow(error);
}

void TMainForm::reportError(const QString& message)
{
    showErrorBox(message, nullptr);
}

void TMainForm::reportSettingsError(const QString& message)
{
    // However long the file cannot be written, the operator has one box about it.
    showErrorBox(message, &m_settingsErrorBox);
}

void TMainForm::showErrorBox(const QString& message, QPointer<QMessageBox>* reuse)
{
    m_lastError = message;
    if (QApplication::platformName() == u"offscreen" &&
        qEnvironmentVariableIsSet("OZV_QUIET_ERRORS"))
        return;
    if (reuse && *reuse) {
        (*reuse)->setText(message);
        return;
    }
    auto* box =
        new QMessageBox(QMessageBox::Critical, windowTitle(), message, QMessageBox::Ok, this);
    box->setTextFormat(Qt::PlainText); // file names are shown as they are, never as markup
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setAttribute(Qt::WA_ShowWithoutActivating); // the keys stay with the show
    box->setWindowModality(Qt::NonModal);
    box->show();
    if (reuse) *reuse = box;
}

// ---- Start-up -----------------------------------------------------------------------------

void TMainForm::CreateEffectMenu()
{
    const int stored = FSettings->ReadInteger(keys::Images, keys::Effect, keys::EffectDefault);
    for (int i = 0; i < kEasingCount; ++i) {
        QAction* item = EffectPopupMenu->addAction(kEasingNames[std::size_t(i)]);
        item->setData(i);
        item->setCheckable(true);
        item->setChecked(i == stored);
        connect(item, &QAction::triggered, this, [this, item] { EffectMenuItemClick(item); });
    }
    m_checkedEffect = stored;
}

void TMainForm::syncEffectMenu()
{
    for (QAction* a : EffectPopupMenu->actions())
        a->setChecked(a->data().toInt() == m_checkedEffect);
}

void TMainForm::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TMainForm::FormShow()
{
    QString folder = FSettings->ReadString(keys::Application, keys::Folder, QDir::currentPath());
    if (!m_startFolder.isEmpty()) {
        if (fileKind(m_startFolder) == FileKind::Directory) {
            folder = m_startFolder;
        } else {
            // A mistyped folder must not replace the show that was stored.
            const QString message =
                QStringLiteral("Složka \"%1\" neexistuje. Otevírám naposledy použitou složku.")
                    .arg(readableName(m_startFolder));
            std::fprintf(stderr, "ozvenka: %s\n", qUtf8Printable(message));
            reportError(message);
        }
    }
    if (fileKind(folder) != FileKind::Directory) folder = QDir::currentPath();
    const double free = split::freeWidth(width());
    if (free > 0) {
        m_splitRatio = float(split::clampRatio(
            FSettings->ReadFloat(keys::Application, keys::Split, keys::SplitDefault)));
        setPanelImagesWidth(split::panelWidth(free, m_splitRatio));
    }
    UpdateSoundButtons(folder);
    UpdateImageList(folder);
    FInitialized = true;
}

// ---- Boards -------------------------------------------------------------------------------

void TMainForm::UpdateSoundButtons(const QString& AFolder)
{
    const QString folder = normalizeFolder(AFolder);
    if (folder.isEmpty())
        FSettings->DeleteKey(keys::Application, keys::Folder);
    else
        FSettings->WriteString(keys::Application, keys::Folder, folder);
    SaveSettings();
    FolderEdit->setText(folder);
    ClearEditButton->setVisible(!folder.isEmpty());
    m_sounds->rebuild(folder);
    UpdateSoundsHeight();
    m_ready->start();
}

void TMainForm::UpdateImageList(const QString& AFolder)
{
    const QString folder = normalizeFolder(AFolder);
    m_monitors->UpdateMonitorList();
    m_pictures->rebuild(folder);
    updatePicturePanel();
    m_ready->start();
}

void TMainForm::DisplaysChanged()
{
    // A display connected after the start gets the panel and the picture window; one that
    // goes takes the pictures with it to another display, or parks them.
    m_monitors->DisplaysChanged();
    updatePicturePanel();
    m_monitors->placePictureWindow();
}

void TMainForm::updatePicturePanel()
{
    const bool visible = ImagesFlowLayout->childCount() > 0 && m_displays.displays().size() > 1;
    PanelImages->setVisible(visible);
    ImagesSplitter->setVisible(visible);
    if (!visible) return;
    if (!m_imageForm) {
        m_imageForm = std::make_unique<TImageForm>(*FSettings, m_displays, m_monitors->FDisplay,
                                                   m_monitors->mainCentre(), this);
        connect(m_imageForm.get(), &TImageForm::stageChanged, this, &TMainForm::updateStage);
        updateStage();
    }
    UpdateImagesHeight();
}

void TMainForm::updateStage()
{
    if (!m_nowPlaying) return;
    TImageForm* form = m_imageForm.get();
    const int display = m_monitors->targetDisplay();
    if (!form || form->parked() || display < 0) {
        m_nowPlaying->setStage(QImage(), QString()); // no picture monitor
        return;
    }
    const QRect bounds = m_monitors->displayBounds(display);
    const bool black = form->isHidden() || form->showsBlack();
    m_nowPlaying->setStage(black ? QImage() : form->targetPicture(),
                           QStringLiteral("Monitor %1\n%2 × %3")
                               .arg(display)
                               .arg(bounds.width())
                               .arg(bounds.height()));
}

void TMainForm::watchDisplays()
{
    m_displaysSettle = new QTimer(this);
    m_displaysSettle->setSingleShot(true);
    m_displaysSettle->setInterval(100);
    connect(m_displaysSettle, &QTimer::timeout, this, [this] {
        if (FInitialized) DisplaysChanged();
    });
    auto watch = [this](QScreen* screen) {
        connect(screen, &QScreen::geometryChanged, m_displaysSettle, qOverload<>(&QTimer::start));
        connect(screen, &QScreen::availableGeometryChanged, m_displaysSettle,
                qOverload<>(&QTimer::start));
    };
    for (QScreen* screen : QGuiApplication::screens())
        watch(screen);
    connect(qApp, &QGuiApplication::screenAdded, this, [this, watch](QScreen* screen) {
        watch(screen);
        m_displaysSettle->start();
    });
    connect(qApp, &QGuiApplication::screenRemoved, m_displaysSettle, qOverload<>(&QTimer::start));
}

void TMainForm::UpdateSoundsHeight()
{
    SoundsScrollBox->fitBoardHeight();
}
void TMainForm::UpdateImagesHeight()
{
    ImagesScrollBox->fitBoardHeight();
}

void TMainForm::ClearEditButtonClick()
{
    UpdateSoundButtons(QString());
    UpdateImageList(QString());
}

void TMainForm::EllipsesEditButtonClick()
{
    if (!FolderDlg->Execute()) return;
    UpdateSoundButtons(FolderDlg->Directory());
    UpdateImageList(FolderDlg->Directory());
}

void TMainForm::VolumesResetBtnClick()
{
    m_sounds->VolumesResetBtnClick(confirmReset);
}

// ---- Size and split -----------------------------------------------------------------------

void TMainForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    setGeometry(ALeft, ATop, std::max(AWidth, split::kMinWindowWidth),
                std::max(AHeight, split::kMinWindowHeight));
}

void TMainForm::setPanelImagesWidth(double width)
{
    PanelImages->setFixedWidth(int(std::lround(width)));
    if (layout()) layout()->activate();
}

void TMainForm::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    FormResize();
}

void TMainForm::FormResize()
{
    if (FResizing) return;
    const QScopedValueRollback<bool> resizing(FResizing, true);
    double free = split::freeWidth(width());
    if (free < 0) {
        resize(split::kMinClientWidth, height());
        free = 0;
    }
    setPanelImagesWidth(split::panelWidth(free, m_splitRatio));
}

bool TMainForm::eventFilter(QObject* watched, QEvent* e)
{
    // The wheel over the monitor list must not move the show to another display while the
    // operator scrolls nearby: the list changes by a deliberate click only.
    if (watched == cbMonitor && e->type() == QEvent::Wheel) return true;
    if (watched == PanelImages && e->type() == QEvent::Resize) PanelImagesResize();
    if (watched == EffectImg && e->type() == QEvent::MouseButtonPress)
        EffectImgMouseDown(static_cast<QMouseEvent*>(e)->button());
    return QWidget::eventFilter(watched, e);
}

void TMainForm::PanelImagesResize()
{
    if (!FInitialized || FResizing) return;
    const QScopedValueRollback<bool> resizing(FResizing, true);
    const int widest = width() - split::kSplitterWidth - split::kSoundsMinWidth;
    if (PanelImages->width() < split::kSplitterMinSize)
        setPanelImagesWidth(split::kSplitterMinSize);
    else if (PanelImages->width() > widest)
        setPanelImagesWidth(widest);
}

void TMainForm::ImagesSplitterMouseUp(Qt::MouseButton button)
{
    if (!FInitialized || button != Qt::LeftButton) return;
    const double free = split::freeWidth(width());
    if (free <= 0) return;
    m_splitRatio = float(split::ratioFromPanel(PanelImages->width(), free));
    FSettings->WriteFloat(keys::Application, keys::Split, m_splitRatio);
    setPanelImagesWidth(split::panelWidth(free, m_splitRatio));
    SaveSettings();
}

// ---- Effect menu --------------------------------------------------------------------------

void TMainForm::EffectMenuItemClick(QAction* item)
{
    const int index = item ? item->data().toInt() : -1;
    if (!m_imageForm || !item || index < 0 || index >= kEasingCount) {
        syncEffectMenu(); // nothing changes, not even the check mark
        return;
    }
    m_checkedEffect = index;
    syncEffectMenu();
    m_imageForm->setEffect(index);
    FSettings->WriteInteger(keys::Images, keys::Effect, index);
    SaveSettings();
}

void TMainForm::EffectImgMouseDown(Qt::MouseButton button)
{
    if (button != Qt::LeftButton && button != Qt::RightButton) return;
    EffectPopupMenu->popup(EffectImg->mapToGlobal(QPoint(0, EffectImg->height())));
}

// ---- Keys and closing ---------------------------------------------------------------------

void TMainForm::FormKeyDown(QObject* sender, KeyArgs& args)
{
    m_keys->FormKeyDown(sender, args);
}

void TMainForm::keyPressEvent(QKeyEvent* e)
{
    KeyArgs args = keyArgsFrom(*e);
    FormKeyDown(this, args);
    if (args.consumed())
        e->accept();
    else
        QWidget::keyPressEvent(e);
}

bool TMainForm::FormCloseQuery() const
{
    return m_pictures->threads() == 0;
}

void TMainForm::closeEvent(QCloseEvent* e)
{
    // Thumbnails not yet begun are not waited for; one being decoded is (it takes a moment),
    // and then the window closes as asked, without being asked again.
    m_pictures->loader().cancelPending();
    if (!FormCloseQuery()) {
        if (!m_closeWhenIdle) {
            m_closeWhenIdle = true;
            connect(&m_pictures->loader(), &TThumbnailLoader::applied, this, [this] {
                if (FormCloseQuery()) close();
            });
        }
        e->ignore();
        return;
    }
    if (m_imageForm) m_imageForm->hide();
    e->accept();
    emit closed();
}

} // namespace ozv
