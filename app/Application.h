// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Ozvenka developers
#pragma once
// The GUI application with the top-level error handler: a failure that escapes an event handler
// or a timer tick is shown to the operator in a message box, and the program goes on.

#include <QApplication>
#include <functional>

namespace ozv {

class TApplication : public QApplication
{
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
    /// Where errors are shown; a plain message box until set.
    std::function<void(const QString&)> showError;
};

} // namespace ozv
