// tessaly-cli: the headless face of Tessaly's engine. `tessaly-cli --help` lists the commands.
#include "CliCommand.h"

#include <QCoreApplication>

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tessaly-cli"));
    return tessaly::cli::runCommandLine(QCoreApplication::arguments(), tessaly::cli::allCommands());
}
