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
    // Every text follows --lang zh|en, else the system's language.
    const auto language = tessaly::chooseLanguage(QCoreApplication::arguments(), QLocale::system());
    const bool translated = tessaly::useLanguage(language.language);
    if (language.refused) {
        const QString text =
            QCoreApplication::translate("Cli", "tessaly-cli：%1（参见 tessaly-cli --help）")
                .arg(tessaly::refusalText(language));
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
        return 2;
    }
    if (!translated && language.language == tessaly::Language::English)
        std::fprintf(stderr, "tessaly-cli: %s\n",
                     QCoreApplication::translate("Language", "无法载入英文界面文本，界面保持中文")
                         .toUtf8()
                         .constData());
    return tessaly::cli::runCommandLine(QCoreApplication::arguments(), tessaly::cli::allCommands());
}
