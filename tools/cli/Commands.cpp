#include "CliCommand.h"

namespace tessaly::cli {

QList<CliCommand> allCommands() {
    return {
        probeCommand(),
    };
}

} // namespace tessaly::cli
