// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
// Ozvenka: the program entry.

#include "Application.h"
#include "AudioEngine.h"
#include "AudioFile.h"
#include "CueSheet.h"
#include "Displays.h"
#include "FileAccess.h"
#include "IniStore.h"
#include "MainForm.h"
#include "SettingsLocation.h"
#include "Thumbnail.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_signalFd[2] = {-1, -1};
// Set once the settings have been written for the last time: from then on a signal ends the
// process at once, whatever is still shutting down (with this exit status).
volatile std::sig_atomic_t g_finalExitCode = -1;

extern "C" void onSignal(int)
{
    if (g_finalExitCode >= 0) ::_exit(g_finalExitCode);
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalFd[0], &c, 1);
}

void print(std::FILE* f, const QString& text)
{
    std::fputs(text.toUtf8().constData(), f);
}

} // namespace

int main(int argc, char** argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << ozv::decodeFileName(argv[i]); // a folder name need not be UTF-8
    const ozv::CommandLine cmd = ozv::parseCommandLine(args);
    if (!cmd.error.isEmpty()) {
        print(stderr, QStringLiteral("ozvenka: %1\n").arg(cmd.error));
        return 2;
    }
    if (cmd.help) {
        print(stdout, ozv::usageText());
        return 0;
    }
    if (cmd.version) {
        print(stdout, QStringLiteral("ozvenka %1\n").arg(QStringLiteral(OZV_VERSION)));
        return 0;
    }
    if (cmd.cueSheetFolder) {
        const QString folder = *cmd.cueSheetFolder;
        if (ozv::fileKind(folder) != ozv::FileKind::Directory) {
            print(stderr, QStringLiteral("ozvenka: složka \"%1\" neexistuje.\n")
                              .arg(ozv::readableName(folder)));
            return 2;
        }
        print(stdout,
              ozv::cueSheet(
                  folder,
                  [](const QString& path) { return ozv::audio::probeAudioFile(path).has_value(); },
                  [](const QString& path) {
                      return !ozv::decodeThumbnail(path, ozv::kThumbnailBox).isNull();
                  }));
        return 0;
    }

    ozv::TApplication app(argc, argv);
    ozv::audio::AudioEngine engine(ozv::audio::AudioEngine::Mode::Device);
    ozv::ScreenDisplays displays;

    std::unique_ptr<ozv::TMainForm> form;
    try {
        form = std::make_unique<ozv::TMainForm>(engine, displays, ozv::locateSettingsFile(cmd),
                                                cmd.folder);
    } catch (const ozv::IniLoadError& e) {
        print(stderr, QStringLiteral("ozvenka: %1\n").arg(e.message()));
        QMessageBox::critical(nullptr, QStringLiteral("Ozvenka"), e.message());
        return 1;
    }
    app.showError = [&form](const QString& m) { form->reportError(m); };
    QObject::connect(form.get(), &ozv::TMainForm::closed, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    app.setQuitOnLastWindowClosed(false);

    // SIGINT and SIGTERM close the window as the operator would (once no thumbnail is loading),
    // so the settings are written; a second signal writes them and ends the program at once.
    std::unique_ptr<QSocketNotifier> notifier;
    int signalCount = 0;
    QTimer retryClose;
    retryClose.setInterval(100);
    QObject::connect(&retryClose, &QTimer::timeout, form.get(), [&form] { form->close(); });
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalFd) == 0) {
        notifier = std::make_unique<QSocketNotifier>(g_signalFd[1], QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, [&] {
            char c;
            [[maybe_unused]] const ssize_t n = ::read(g_signalFd[1], &c, 1);
            if (++signalCount > 1) {
                QString error;
                const bool written = form->writeSettingsNow(&error);
                if (!written) print(stderr, QStringLiteral("ozvenka: %1\n").arg(error));
                std::fflush(nullptr);
                std::_Exit(written ? 0 : 1);
            }
            retryClose.start();
            form->close();
        });
        struct sigaction sa
        {};
        sa.sa_handler = onSignal;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = SA_RESTART;
        sigaction(SIGINT, &sa, nullptr);
        sigaction(SIGTERM, &sa, nullptr);
    }

    // A final write that fails is said on stderr (by the window) and in the exit status.
    bool finalWriteFailed = false;
    form->finalWriteFailed = [&finalWriteFailed] { finalWriteFailed = true; };
    form->showMaximized();
    int rc = app.exec();
    form.reset(); // writes the settings
    if (finalWriteFailed && rc == 0) rc = 1;
    g_finalExitCode = rc;
    return rc;
}
