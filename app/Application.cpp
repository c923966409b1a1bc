// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#include "Application.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>
#include <QTranslator>

namespace ozv {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Ozvenka"));
    setApplicationVersion(QStringLiteral(OZV_VERSION));
    setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QPalette pal = style()->standardPalette();
    const QColor blue(0x0C, 0x70, 0xC0);
    pal.setColor(QPalette::Window, blue);
    pal.setColor(QPalette::WindowText, Qt::white);
    pal.setColor(QPalette::Base, QColor(0x0A, 0x5A, 0x9C));
    pal.setColor(QPalette::AlternateBase, QColor(0x0B, 0x64, 0xAE));
    pal.setColor(QPalette::Text, Qt::white);
    pal.setColor(QPalette::Button, QColor(0x1A, 0x82, 0xD4));
    pal.setColor(QPalette::ButtonText, Qt::white);
    pal.setColor(QPalette::Highlight, QColor(0xFF, 0xB0, 0x20));
    pal.setColor(QPalette::HighlightedText, Qt::black);
    pal.setColor(QPalette::PlaceholderText, QColor(0xC8, 0xDC, 0xF0));
    pal.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0xA0, 0xC0, 0xE0));
    pal.setColor(QPalette::Disabled, QPalette::Text, QColor(0xA0, 0xC0, 0xE0));
    setPalette(pal);

    // The toolkit's own words (dialog buttons, file errors) in Czech, as the rest of the
    // interface, whatever the system's language.
    auto* translator = new QTranslator(this);
    if (translator->load(QLocale(QLocale::Czech, QLocale::CzechRepublic), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    QString message;
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        message = QString::fromLocal8Bit(e.what());
    } catch (...) {
        message = QStringLiteral("Nastala neočekávaná chyba.");
    }
    if (showError)
        showError(message);
    else
        QMessageBox::critical(nullptr, applicationName(), message);
    return false;
}

} // namespace ozv
