#include "CliCommand.h"
#include "PortInventory.h"

namespace tessaly::cli {

namespace {

// The list of the settings panel: each COM number, its device and the adapter behind it.
QCoro::Task<int> runPorts(CliContext& context) {
    for (const QString& line : alignedPortLines(listPorts(context.portMap, systemAdapters())))
        context.output.message(line);
    co_return ExitSuccess;
}

} // namespace

CliCommand portsCommand() {
    CliCommand command{QStringLiteral("ports"), QStringLiteral("ports"),
                       QStringLiteral("Lists COM1 to COM20 with their devices and adapters."),
                       takesNoOptions, runPorts};
    command.usesPort = false;
    command.usesDatabase = false;
    return command;
}

} // namespace tessaly::cli
