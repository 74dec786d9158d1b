#include "CliCommand.h"
#include "NetworkPortSettings.h"
#include "NetworkTarget.h"
#include "PortInventory.h"

#include <QCoreApplication>

namespace tessaly::cli {

namespace {

QString environmentVariableOf(int com) {
    return QStringLiteral("TESSALY_COM%1").arg(com);
}

// The COM number of --set or --clear; nothing, said, when it is none of COM1 .. COM20.
std::optional<int> comNumber(const QString& text, CliOutput& output) {
    bool ok = false;
    const int com = text.toInt(&ok);
    if (ok && com >= PortMap::FirstCom && com <= PortMap::LastCom)
        return com;
    output.info(
        QCoreApplication::translate("Cli", "tessaly-cli：“%1”不是 COM 号，应为 1 到 20").arg(text));
    return std::nullopt;
}

// TESSALY_COM<n> goes before the stored target: a target set or cleared under it changes
// nothing until the variable goes, which the operator should know.
void warnOfEnvironment(int com, CliOutput& output) {
    const QString variable = environmentVariableOf(com);
    const QString device = qEnvironmentVariable(qPrintable(variable));
    if (!device.isEmpty())
        output.info(QCoreApplication::translate(
                        "Cli", "tessaly-cli：%1=%2 已给出 COM%3 的设备，它优先于本机的网络串口设置")
                        .arg(variable, device)
                        .arg(com));
}

int setNetworkPort(const CliOptions& options, CliOutput& output) {
    const auto com = comNumber(options.comToSet, output);
    if (!com)
        return ExitFailed;
    const auto target = parseNetworkTarget(options.file);
    if (!target) {
        output.info(QCoreApplication::translate("Cli", "tessaly-cli：“%1”不是网络串口地址，应为 "
                                                       "socket://主机:端口 或 rfc2217://主机:端口")
                        .arg(options.file));
        return ExitFailed;
    }
    if (QString error; !storeNetworkTarget(*com, *target, &error)) {
        output.info(QCoreApplication::translate("Cli", "tessaly-cli：%1").arg(error));
        return ExitFailed;
    }
    output.message(
        QCoreApplication::translate("Cli", "COM%1 现指向网络串口 %2").arg(*com).arg(target->url()));
    warnOfEnvironment(*com, output);
    return ExitSuccess;
}

int clearNetworkPort(const CliOptions& options, CliOutput& output) {
    const auto com = comNumber(options.comToClear, output);
    if (!com)
        return ExitFailed;
    const bool hadTarget = !storedNetworkTarget(*com).isEmpty();
    if (QString error; !clearNetworkTarget(*com, &error)) {
        output.info(QCoreApplication::translate("Cli", "tessaly-cli：%1").arg(error));
        return ExitFailed;
    }
    output.message(hadTarget
                       ? QCoreApplication::translate("Cli", "COM%1 不再指向网络串口").arg(*com)
                       : QCoreApplication::translate("Cli", "COM%1 本未指向网络串口").arg(*com));
    warnOfEnvironment(*com, output);
    return ExitSuccess;
}

// The list of the settings panel: each COM number, its device or network target, and the
// adapter behind a device.
QCoro::Task<int> runPorts(CliContext& context) {
    if (!context.options.comToSet.isEmpty())
        co_return setNetworkPort(context.options, context.output);
    if (!context.options.comToClear.isEmpty())
        co_return clearNetworkPort(context.options, context.output);
    for (const QString& line : alignedPortLines(listPorts(context.portMap, systemAdapters())))
        context.output.message(line);
    co_return ExitSuccess;
}

QString takesPortTargetOptions(const CliOptions& options) {
    if (const QString wrong = takesNoOptions(options); !wrong.isEmpty())
        return wrong;
    if (!options.comToSet.isEmpty() && !options.comToClear.isEmpty())
        return QCoreApplication::translate("Cli", "--set 与 --clear 只能给一个");
    if (!options.comToSet.isEmpty() && options.file.isEmpty())
        return QCoreApplication::translate("Cli", "--set N 之后需要网络串口地址 URL");
    if (options.comToSet.isEmpty() && !options.file.isEmpty())
        return QCoreApplication::translate("Cli", "网络串口地址只跟在 --set N 之后");
    return {};
}

} // namespace

CliCommand portsCommand() {
    CliCommand command{
        QStringLiteral("ports"), QStringLiteral("ports | ports --set N URL | ports --clear N"),
        QCoreApplication::translate(
            "Cli", "列出 COM1 到 COM20 及其设备与适配器；--set 把 COM N "
                   "指向网络串口 URL（socket://主机:端口 或 rfc2217://主机:端口），--clear 取消。"),
        takesPortTargetOptions, runPorts};
    command.usesPort = false;
    command.usesDatabase = false;
    command.argument = QStringLiteral("URL");
    command.argumentOptional = true;
    command.setsNetworkPorts = true;
    return command;
}

} // namespace tessaly::cli
