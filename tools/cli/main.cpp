// tessaly-cli: the headless face of Tessaly's engine. `tessaly-cli --help` lists the commands.
#include "CliCommand.h"
#include "Language.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// Painting the timetable needs fonts, hence a QGuiApplication; offscreen, so that no display
// is needed. Every other command stays a plain core application.
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char* argv[]) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "timetable") == 0) {
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            return std::make_unique<QGuiApplication>(argc, argv);
        }
    return std::make_unique<QCoreApplication>(argc, argv);
}

} // namespace

int main(int argc, char* argv[]) {
    const auto application = makeApplication(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tessaly-cli"));
    // The messages follow --lang zh|en, else the system's language; help and diagnostics on
    // standard error are English either way.
    const auto language = tessaly::chooseLanguage(QCoreApplication::arguments(), QLocale::system());
    if (!language.error.isEmpty()) {
        std::fprintf(stderr, "tessaly-cli: %s (see tessaly-cli --help)\n",
                     qPrintable(language.error));
        return 2;
    }
    if (!tessaly::useLanguage(language.language))
        std::fprintf(stderr, "tessaly-cli: the English texts cannot be loaded\n");
    return tessaly::cli::runCommandLine(QCoreApplication::arguments(), tessaly::cli::allCommands());
}
