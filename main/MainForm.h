// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// TMainForm: the operator's window. It lays out the folder strip, the sound board, the splitter
// and the picture panel, keeps the split and size rules, opens and saves the settings, and wires
// the parts together: the sound board, the picture list, the monitor list, the picture window,
// the keyboard control and the folder chooser. GUI thread only.

#include "FlowLayout.h"
#include "IniStore.h"
#include "KeyMapping.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMessageBox;
class QTimer;
class QPushButton;

namespace ozv {
namespace audio {
class AudioEngine;
}
class DisplaySource;
class TFolderDialog;
class TImageForm;
class TKeyboardControl;
class TMonitorList;
class TNowPlayingBand;
class TOutputSelector;
class TReadyCounter;
class TPictureBoard;
class TScrollBox;
class TSettingsSaver;
class TSoundBoard;

/// The 8-pixel handle between the sound side and the picture panel.
class TSplitterHandle : public QWidget
{
    Q_OBJECT
public:
    explicit TSplitterHandle(QWidget* parent = nullptr);
signals:
    void dragged(int dx);
    void released(Qt::MouseButton button);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void paintEvent(QPaintEvent*) override;

private:
    int m_pressX = 0;
    bool m_dragging = false;
};

class TMainForm : public QWidget
{
    Q_OBJECT
public:
    static inline const QString kCaption = QStringLiteral("Ozvenka (1.0.3)");

    /// Opens the settings file at `settingsPath`; throws IniLoadError when it cannot be read.
    /// `startFolder`, when given, is opened instead of the stored folder.
    TMainForm(audio::AudioEngine& engine, const DisplaySource& displays,
              const QString& settingsPath, const QString& startFolder = QString(),
              QWidget* parent = nullptr);
    ~TMainForm() override;

    // Components of the layout.
    QWidget* PanelSounds;
    QWidget* PanelSoundControls;
    QLineEdit* FolderEdit;
    QAction* ClearEditButton;
    QAction* EllipsesEditButton;
    QPushButton* VolumesResetBtn;
    QPushButton* StopAllBtn;
    TScrollBox* SoundsScrollBox;
    TFlowLayout* SoundsFlowLayout;
    TSplitterHandle* ImagesSplitter;
    QWidget* PanelImages;
    QWidget* PanelImageControls;
    QComboBox* cbMonitor;
    QLabel* EffectImg;
    QMenu* EffectPopupMenu;
    TScrollBox* ImagesScrollBox;
    TFlowLayout* ImagesFlowLayout;
    TFolderDialog* FolderDlg;

    IniStore& settings() { return *FSettings; }
    TSoundBoard& sounds() { return *m_sounds; }
    TPictureBoard& pictures() { return *m_pictures; }
    TMonitorList& monitors() { return *m_monitors; }
    TSettingsSaver& saver() { return *m_saver; }
    TImageForm* imageForm() const { return m_imageForm.get(); }
    TNowPlayingBand& nowPlaying() { return *m_nowPlaying; }
    TOutputSelector& output() { return *m_output; }
    TReadyCounter& readyCounter() { return *m_ready; }
    bool initialized() const { return FInitialized; }
    float splitRatio() const { return m_splitRatio; }

    void SaveSettings();
    /// Writes the settings file at once, after a write under way; false with `error` set when
    /// it fails.
    bool writeSettingsNow(QString* error);
    void UpdateSoundButtons(const QString& AFolder);
    void UpdateImageList(const QString& AFolder);
    /// Follows displays being connected, disconnected, moved or resized.
    void DisplaysChanged();
    void UpdateSoundsHeight();
    void UpdateImagesHeight();
    void ClearEditButtonClick();
    void EllipsesEditButtonClick();
    void VolumesResetBtnClick();
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    void FormResize();
    void PanelImagesResize();
    void ImagesSplitterMouseUp(Qt::MouseButton button);
    void EffectMenuItemClick(QAction* item);
    void EffectImgMouseDown(Qt::MouseButton button);
    void FormKeyDown(QObject* sender, KeyArgs& args);
    /// Whether the window may close now (no thumbnail is being loaded).
    bool FormCloseQuery() const;

    /// Asks the operator before the volume reset; replaceable (tests answer it themselves).
    std::function<bool()> confirmReset;
    /// Called when the write of the settings as the window is destroyed fails (the error is
    /// on stderr then).
    std::function<void()> finalWriteFailed;
    /// Shows an error to the operator without stopping the show.
    void reportError(const QString& message);
    /// The same for a settings file that cannot be written: one box, its text kept current.
    void reportSettingsError(const QString& message);
    QString lastError() const { return m_lastError; }

signals:
    /// The window has closed: the program ends.
    void closed();

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void buildLayout();
    void CreateEffectMenu();
    void FormShow();
    void setPanelImagesWidth(double width);
    void syncEffectMenu();
    void updatePicturePanel();
    /// Shows in the band what the picture monitor shows now.
    void updateStage();
    void watchDisplays();
    void showErrorBox(const QString& message, QPointer<QMessageBox>* reuse);

    audio::AudioEngine& m_engine;
    const DisplaySource& m_displays;
    std::unique_ptr<IniStore> FSettings;
    std::unique_ptr<TSettingsSaver> m_saver;
    TSoundBoard* m_sounds = nullptr;
    TMonitorList* m_monitors = nullptr;
    TPictureBoard* m_pictures = nullptr;
    TNowPlayingBand* m_nowPlaying = nullptr;
    TOutputSelector* m_output = nullptr;
    TReadyCounter* m_ready = nullptr;
    std::unique_ptr<TKeyboardControl> m_keys;
    std::unique_ptr<TImageForm> m_imageForm;
    QString m_startFolder;
    float m_splitRatio = 0; // the picture panel's share of the free width
    int m_checkedEffect = -1;
    bool FInitialized = false;
    bool FResizing = false;
    bool m_shown = false;
    bool m_closeWhenIdle = false;
    QString m_lastError;
    QPointer<QMessageBox> m_settingsErrorBox;
    QTimer* m_displaysSettle = nullptr; // one refresh for a burst of display events
};

} // namespace ozv
