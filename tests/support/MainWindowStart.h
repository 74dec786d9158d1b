#pragma once

#include "MainWindow.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <optional>

namespace tessaly::testing {

// Lets the main window's start run: it follows the window's first paint. Its outcome (false:
// the database could not be opened); nothing when it did not end within five seconds.
inline std::optional<bool> waitForStart(MainWindow& window) {
    std::optional<bool> outcome;
    const auto connection = QObject::connect(&window, &MainWindow::startFinished,
                                             [&outcome](bool started) { outcome = started; });
    const QDeadlineTimer deadline(5000);
    while (!outcome && !window.started() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QObject::disconnect(connection);
    if (!outcome && window.started())
        outcome = true;
    return outcome;
}

inline std::optional<bool> showAndStart(MainWindow& window) {
    window.show();
    return waitForStart(window);
}

} // namespace tessaly::testing
