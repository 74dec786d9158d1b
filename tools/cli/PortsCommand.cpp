#include "CliCommand.h"
#include "PortInventory.h"

#include <QCoreApplication>

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
                       QCoreApplication::translate("Cli", "列出 COM1 到 COM20 及其设备与适配器。"),
                       takesNoOptions, runPorts};
    command.usesPort = false;
    command.usesDatabase = false;
    return command;
}

} // namespace tessaly::cli
