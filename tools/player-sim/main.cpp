// tessaly-player-sim: a simulated player on a pseudo-terminal. Prints the device path as the
// first line, serves until SIGINT or SIGTERM.
#include "PlayerSimulator.h"
#include "PtyPlayer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/signalfd.h>
#include <unistd.h>

using namespace tessaly;

namespace {

struct Settings {
    PlayerOptions options;
    QString stateIn;
    QString stateOut;
    QString logPath;
};

struct IntOption {
    QCommandLineOption option;
    int PlayerOptions::*field;
    int minimum;
};

QList<IntOption> intOptions() {
    return {
        {{"probe-delay", "Answer the probe <ms> late.", "ms"}, &PlayerOptions::probeDelayMs, 0},
        {{"clear-delay", "Answer a clear after <ms> (default 1000).", "ms"},
         &PlayerOptions::clearDelayMs,
         0},
        {{"split", "Send every reply in pieces of <n> bytes.", "n"}, &PlayerOptions::splitBytes, 1},
        {{"gap", "Pause <ms> between reply pieces (default 20).", "ms"},
         &PlayerOptions::splitGapMs,
         0},
        {{"cut", "Cut every reply off after <n> bytes.", "n"}, &PlayerOptions::cutAfter, 1},
    };
}

struct FlagOption {
    QCommandLineOption option;
    bool PlayerOptions::*field;
};

QList<FlagOption> flagOptions() {
    return {
        {{"silent", "Answer nothing."}, &PlayerOptions::silent},
        {{"wrong-probe", "Answer the probe with FE 65 00 FF."}, &PlayerOptions::wrongProbe},
        {{"clear-other-set", "Answer a clear naming another set."}, &PlayerOptions::clearOtherSet},
        {{"clear-fails", "Answer every clear with FE 6B 05 FF."}, &PlayerOptions::clearFails},
        {{"stray-byte", "Send a 0x00 before every reply."}, &PlayerOptions::strayByte},
        {{"no-preheat-reply", "Leave the pre-heat/delay query unanswered."},
         &PlayerOptions::noPreheatReply},
        {{"read-other-set", "Answer a read of set s with the programs of set (s mod 4)+1."},
         &PlayerOptions::readOtherSet},
        {{"count-without-frames",
          "Answer every read with FE 68 n FF (n the programs held, at least 1) and no frame."},
         &PlayerOptions::countWithoutFrames},
    };
}

// Fills `settings` from the command line; exits with a message when it cannot.
Settings parseSettings(const QCoreApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription("Simulated audio player on a pseudo-terminal. Prints the "
                                     "device path first, serves until SIGINT/SIGTERM.");
    parser.addHelpOption();
    const auto ints = intOptions();
    const auto flags = flagOptions();
    for (const auto& entry : ints)
        parser.addOption(entry.option);
    for (const auto& entry : flags)
        parser.addOption(entry.option);
    const QCommandLineOption state(
        "state", "Load state from <file> if it exists, write it at stop.", "file");
    const QCommandLineOption stateOut("state-out", "Write state to <file> at stop.", "file");
    const QCommandLineOption log("log", "Write one line per received frame to <file>.", "file");
    const QCommandLineOption emptyAnswer(
        "empty-answer",
        "Answer a set without programs with <shape>: short (FE 68 00 FF, the default), padded "
        "(FE 68 00 00 FF), frame (32 bytes announcing 0 records) or noise (00 00 00).",
        "shape");
    parser.addOptions({state, stateOut, log, emptyAnswer});
    parser.process(app);
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "unexpected argument: %s\n",
                     qPrintable(parser.positionalArguments().first()));
        std::exit(2);
    }

    Settings settings;
    for (const auto& entry : ints) {
        if (!parser.isSet(entry.option))
            continue;
        bool ok = false;
        const QString text = parser.value(entry.option);
        const int value = text.toInt(&ok);
        if (!ok || value < entry.minimum) {
            std::fprintf(stderr, "--%s: expected a whole number of at least %d, got \"%s\"\n",
                         qPrintable(entry.option.names().first()), entry.minimum, qPrintable(text));
            std::exit(2);
        }
        settings.options.*entry.field = value;
    }
    for (const auto& entry : flags)
        settings.options.*entry.field = parser.isSet(entry.option);
    if (parser.isSet(emptyAnswer)) {
        const auto shape = emptyAnswerNamed(parser.value(emptyAnswer));
        if (!shape) {
            std::fprintf(stderr,
                         "--empty-answer: expected short, padded, frame or noise, got \"%s\"\n",
                         qPrintable(parser.value(emptyAnswer)));
            std::exit(2);
        }
        settings.options.emptyAnswer = *shape;
    }
    settings.stateIn = parser.value(state);
    settings.stateOut = parser.isSet(stateOut) ? parser.value(stateOut) : settings.stateIn;
    settings.logPath = parser.value(log);
    return settings;
}

// SIGINT and SIGTERM arrive as readable data on a descriptor, so stopping is an ordinary event.
int blockStopSignals() {
    sigset_t stopSet;
    sigemptyset(&stopSet);
    sigaddset(&stopSet, SIGINT);
    sigaddset(&stopSet, SIGTERM);
    sigprocmask(SIG_BLOCK, &stopSet, nullptr);
    return signalfd(-1, &stopSet, SFD_CLOEXEC | SFD_NONBLOCK);
}

[[noreturn]] void fail(const QString& message) {
    std::fprintf(stderr, "tessaly-player-sim: %s\n", qPrintable(message));
    std::exit(1);
}

} // namespace

int main(int argc, char* argv[]) {
    // Before any thread exists, so that none of them takes the signals.
    const UniqueFd stopSignals(blockStopSignals());
    QCoreApplication app(argc, argv);
    app.setApplicationName("tessaly-player-sim");
    const Settings settings = parseSettings(app);
    if (!stopSignals.isValid())
        fail("signalfd failed");

    PlayerSimulator player(settings.options);
    QString error;
    if (!settings.stateIn.isEmpty() && QFile::exists(settings.stateIn) &&
        !player.loadState(settings.stateIn, &error))
        fail(QStringLiteral("cannot load %1: %2").arg(settings.stateIn, error));

    QFile logFile(settings.logPath);
    if (!settings.logPath.isEmpty() && !logFile.open(QIODevice::WriteOnly | QIODevice::Text))
        fail(QStringLiteral("cannot write %1: %2").arg(settings.logPath, logFile.errorString()));

    PtyPlayer pty(player, settings.logPath.isEmpty() ? nullptr : &logFile);
    if (!pty.start(&error))
        fail(error);
    std::printf("%s\n", qPrintable(pty.slavePath()));
    std::fflush(stdout);

    QSocketNotifier stopNotifier(stopSignals.get(), QSocketNotifier::Read);
    QObject::connect(&stopNotifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    app.exec();

    if (!settings.stateOut.isEmpty() && !player.saveState(settings.stateOut, &error))
        fail(QStringLiteral("cannot write %1: %2").arg(settings.stateOut, error));
    return 0;
}
