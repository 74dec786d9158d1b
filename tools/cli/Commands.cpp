#include "CliCommand.h"

namespace tessaly::cli {

QList<CliCommand> allCommands() {
    return {
        probeCommand(),
        loadCommand(),
    };
}

} // namespace tessaly::cli
