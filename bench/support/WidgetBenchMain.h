#pragma once

#include "BenchMain.h"

#include <QApplication>

namespace tessaly::bench {

// Runs the benchmarks of windows: a widgets application, on the offscreen platform unless
// another is asked for.
inline int runWidgetBenchmarks(int& argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    return runBenchmarks(argc, argv);
}

} // namespace tessaly::bench
