#pragma once

#include <QApplication>

// The one QApplication of a widget test process, made on first use; offscreen unless the
// caller chose a display.
inline QApplication& testApplication() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tessaly-tests";
    static char* argv[] = {name, nullptr};
    static QApplication application(argc, argv);
    return application;
}
