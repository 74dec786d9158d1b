// Start-up of the real program against a window of the same size that shows only the main
// window's static texts in its fonts (tessaly-minimal-window), so that both load the same fonts
// and catalogues: each is started as a process on the offscreen platform and timed from the
// start until it reports its first paint (TESSALY_EXIT_AFTER_FIRST_PAINT), once in Chinese and
// once in English. The two are started in turn, so that a busy machine slows both alike; the
// figures are medians, the RSS is the peak of the process.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

struct StartUp {
    double milliseconds = 0;
    double rssMegabytes = 0;
};

// Starts `program` (with `--lang language` when one is given) and waits for its "painted" line
// and its end.
StartUp startUntilFirstPaint(const char* program, const char* language = nullptr) {
    int pipe[2];
    if (pipe2(pipe, O_CLOEXEC) != 0)
        throw std::runtime_error("no pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> arguments{const_cast<char*>(program)};
    if (language) {
        arguments.push_back(const_cast<char*>("--lang"));
        arguments.push_back(const_cast<char*>(language));
    }
    arguments.push_back(nullptr);

    const auto started = std::chrono::steady_clock::now();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program, &actions, nullptr, arguments.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipe[1]);
    if (spawned != 0) {
        close(pipe[0]);
        throw std::runtime_error(std::string("cannot start ") + program);
    }
    std::string output;
    auto painted = started;
    char buffer[256];
    for (ssize_t got; (got = read(pipe[0], buffer, sizeof buffer)) > 0;) {
        const bool before = output.find("painted") != std::string::npos;
        output.append(buffer, std::size_t(got));
        if (!before && output.find("painted") != std::string::npos)
            painted = std::chrono::steady_clock::now();
    }
    close(pipe[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    if (output.find("painted") == std::string::npos || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        throw std::runtime_error(std::string(program) + " did not paint and end cleanly");
    return {std::chrono::duration<double, std::milli>(painted - started).count(),
            double(usage.ru_maxrss) / 1024.0};
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

void StartUpAgainstStaticTexts(benchmark::State& state, const char* language) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("TESSALY_EXIT_AFTER_FIRST_PAINT", "1", 1);
    std::vector<double> programMs, windowMs, programRss, windowRss;
    try {
        startUntilFirstPaint(TESSALY_PROGRAM, language); // the first start reads the files
        startUntilFirstPaint(TESSALY_MINIMAL_WINDOW, language);
        for (auto _ : state) {
            const StartUp window = startUntilFirstPaint(TESSALY_MINIMAL_WINDOW, language);
            const StartUp program = startUntilFirstPaint(TESSALY_PROGRAM, language);
            state.SetIterationTime(program.milliseconds / 1000.0);
            programMs.push_back(program.milliseconds);
            windowMs.push_back(window.milliseconds);
            programRss.push_back(program.rssMegabytes);
            windowRss.push_back(window.rssMegabytes);
        }
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
        return;
    }
    state.counters["program_ms"] = median(programMs);
    state.counters["window_ms"] = median(windowMs);
    state.counters["ratio"] = median(programMs) / median(windowMs);
    state.counters["program_MB"] = median(programRss);
    state.counters["window_MB"] = median(windowRss);
    state.counters["rss_ratio"] = median(programRss) / median(windowRss);
}
BENCHMARK_CAPTURE(StartUpAgainstStaticTexts, chinese, "zh")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(21);
BENCHMARK_CAPTURE(StartUpAgainstStaticTexts, english, "en")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(21);

} // namespace

BENCHMARK_MAIN();
