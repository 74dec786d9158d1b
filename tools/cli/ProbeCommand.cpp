#include "CliCommand.h"
#include "DeviceChannel.h"
#include "Probe.h"

#include <QCoreApplication>

namespace tessaly::cli {

namespace {

// The probe of the per-set windows: LinkUp follows the answer.
QCoro::Task<int> runProbe(CliContext& context) {
    const auto result =
        co_await ProbeAlone(context.channel, context.clock, probe::SetButton, context.cancel);
    const int com = context.session.link.PortNumber;
    if (result == ProbeResult::PortNotOpened) {
        const QString device = context.portMap.deviceFor(com);
        context.output.info(QStringLiteral("COM%1 (%2) cannot be opened")
                                .arg(com)
                                .arg(device.isEmpty() ? QStringLiteral("no device") : device));
    }
    const bool connected = result == ProbeResult::Accepted;
    context.output.message(connected ? QCoreApplication::translate("Cli", "连接成功")
                                     : QCoreApplication::translate("Cli", "连接失败"));
    co_return connected ? ExitSuccess : ExitFailed;
}

} // namespace

CliCommand probeCommand() {
    return {QStringLiteral("probe"), QStringLiteral("probe"),
            QStringLiteral("Asks whether the player answers on the port."), takesNoOptions,
            runProbe};
}

} // namespace tessaly::cli
