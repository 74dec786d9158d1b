#include "PortDiagnosis.h"

#include "NetworkTarget.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tessaly {

namespace {

const QString DialoutFix = QStringLiteral("sudo usermod -aG dialout $USER");

QString processName(const QString& processFolder) {
    QFile comm(processFolder + QStringLiteral("/comm"));
    if (!comm.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    return QString::fromLocal8Bit(comm.readAll()).trimmed();
}

bool refersTo(const QString& link, const QStringList& names) {
    const QString target = QFile::symLinkTarget(link);
    return !target.isEmpty() && names.contains(target);
}

// Short enough that one holder fits the settings panel on one line in Chinese; the ending
// follows the number of holders.
QString busyLine(const PortFacts& facts) {
    if (facts.holders.isEmpty())
        return QCoreApplication::translate("PortDiagnosis",
                                           "原因：%1 正被其他程序占用，请先关闭该程序。")
            .arg(facts.device);
    const QString holders = facts.holders.join(QCoreApplication::translate("PortDiagnosis", "、"));
    if (facts.holders.size() == 1)
        return QCoreApplication::translate("PortDiagnosis", "原因：%1 被 %2占用，请先关闭它。")
            .arg(facts.device, holders);
    return QCoreApplication::translate("PortDiagnosis", "原因：%1 被 %2占用，请先关闭这些程序。")
        .arg(facts.device, holders);
}

QString holderFormat() {
    return QCoreApplication::translate("PortDiagnosis", "%1（进程 %2）");
}

QString missingLine(const PortFacts& facts) {
    if (facts.brlttyInstalled)
        return QCoreApplication::translate(
                   "PortDiagnosis",
                   "原因：找不到串口设备%1。本机装有 brltty（盲文显示器服务），它常在 "
                   "USB 串口适配器插入后立即将其占走：请运行 sudo apt remove "
                   "brltty，再重新插入适配器。")
            .arg(facts.device.isEmpty() ? QString() : QStringLiteral(" ") + facts.device);
    if (facts.device.isEmpty())
        return QCoreApplication::translate(
            "PortDiagnosis", "原因：此端口没有对应的串口设备，请检查适配器是否插好。");
    return QCoreApplication::translate("PortDiagnosis",
                                       "原因：串口设备 %1 不存在，请检查适配器是否插好。")
        .arg(facts.device);
}

} // namespace

QStringList processesHolding(const QString& device, const QString& procRoot, qint64 ownPid) {
    QStringList names{QFileInfo(device).absoluteFilePath()};
    if (const QString canonical = QFileInfo(device).canonicalFilePath(); !canonical.isEmpty())
        names.append(canonical);

    QStringList holders;
    const QDir proc(procRoot);
    for (const QString& pid : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool numeric = false;
        const qint64 number = pid.toLongLong(&numeric);
        if (!numeric || number == ownPid)
            continue;
        const QDir fds(proc.filePath(pid + QStringLiteral("/fd")));
        const QStringList entries =
            fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
        for (const QString& fd : entries)
            if (refersTo(fds.filePath(fd), names)) {
                holders.append(holderFormat().arg(processName(proc.filePath(pid)), pid));
                break;
            }
    }
    return holders;
}

QRegularExpression holderPattern() {
    const QStringList around = holderFormat().split(QStringLiteral("%1"));
    const QString afterName = around.value(1).section(QStringLiteral("%2"), 0, 0);
    const QString afterPid = around.value(1).section(QStringLiteral("%2"), 1);
    return QRegularExpression(QRegularExpression::escape(around.value(0)) +
                              QStringLiteral("[^\\s、,，：:;；]+") +
                              QRegularExpression::escape(afterName) + QStringLiteral("\\d+") +
                              QRegularExpression::escape(afterPid));
}

bool packageInstalled(const QString& package, const QString& dpkgInfo) {
    return QFileInfo::exists(QDir(dpkgInfo).filePath(package + QStringLiteral(".list"))) ||
           QFileInfo::exists(QDir(dpkgInfo).filePath(package + QStringLiteral(":amd64.list")));
}

PortFacts gatherPortFacts(const QString& device, const SystemPlaces& places) {
    PortFacts facts;
    facts.device = device;
    facts.brlttyInstalled = packageInstalled(QStringLiteral("brltty"), places.dpkgInfo);
    facts.exists = !device.isEmpty() && QFileInfo::exists(device);
    if (!facts.exists)
        return facts;
    const int descriptor =
        ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        facts.openError = errno;
    } else {
        facts.notTerminal = !::isatty(descriptor);
        facts.lockHeld = ::flock(descriptor, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
        ::close(descriptor);
    }
    if (facts.openError == EBUSY || facts.lockHeld)
        facts.holders = processesHolding(device, places.proc, places.ownPid);
    return facts;
}

QString portCauseLine(const PortFacts& facts) {
    if (!facts.exists)
        return missingLine(facts);
    switch (facts.openError) {
    case 0:
        break;
    case EACCES:
    case EPERM:
        return QCoreApplication::translate("PortDiagnosis",
                                           "原因：没有权限打开 %1，当前用户不在 dialout 组。请运行 "
                                           "%2，然后注销并重新登录。")
            .arg(facts.device, DialoutFix);
    case EBUSY:
        return busyLine(facts);
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return missingLine(facts);
    default:
        return QCoreApplication::translate("PortDiagnosis", "原因：无法打开 %1：%2")
            .arg(facts.device, QString::fromLocal8Bit(std::strerror(facts.openError)));
    }
    if (facts.lockHeld)
        return busyLine(facts);
    if (facts.notTerminal)
        return QCoreApplication::translate("PortDiagnosis", "原因：%1 不是串口设备。")
            .arg(facts.device);
    return {};
}

QString diagnosePort(const QString& device) {
    SystemPlaces places;
    places.ownPid = QCoreApplication::applicationPid();
    return portCauseLine(gatherPortFacts(device, places));
}

QString explainProbeFailure(DeviceChannel& channel, const PortMap& portMap, int port, bool opened) {
    const QString device = portMap.deviceFor(port);
    if (looksLikeNetworkUrl(device))
        return channel.failureCause(port);
    return opened ? QString() : diagnosePort(device);
}

} // namespace tessaly
