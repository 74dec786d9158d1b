#include "CliCommand.h"

namespace tessaly::cli {

QList<CliCommand> allCommands() {
    return {
        probeCommand(),   loadCommand(),    readCommand(),      saveReadCommand(),
        listCommand(),    verifyCommand(),  timetableCommand(), portsCommand(),
        backupsCommand(), restoreCommand(), exportCommand(),    importCommand(),
    };
}

} // namespace tessaly::cli
