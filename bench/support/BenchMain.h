#pragma once

#include <benchmark/benchmark.h>

namespace tessaly::bench {

// Runs the benchmarks the command line asks for. The caller has made the Qt application its
// benchmarks need (core, or widgets on the offscreen platform).
inline int runBenchmarks(int& argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace tessaly::bench
