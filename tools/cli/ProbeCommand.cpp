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
        context.output.info(
            QCoreApplication::translate("Cli", "COM%1（%2）无法打开")
                .arg(com)
                .arg(device.isEmpty() ? QCoreApplication::translate("Cli", "无设备") : device));
    }
    const bool connected = result == ProbeResult::Accepted;
    context.output.message(connected ? QCoreApplication::translate("Cli", "连接成功")
                                     : QCoreApplication::translate("Cli", "连接失败"));
    co_return connected ? ExitSuccess : ExitFailed;
}

} // namespace

CliCommand probeCommand() {
    return {QStringLiteral("probe"), QStringLiteral("probe"),
            QCoreApplication::translate("Cli", "询问播放器是否在该端口上应答。"), takesNoOptions,
            runProbe};
}

} // namespace tessaly::cli
